#include "control/ControlHarness.h"
#include "contract/DocumentObjects.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <csignal>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QStringList>
#include <QTcpServer>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

using contract::IHTMLDocument2;
using contract::IHTMLElement;
using contract::IHTMLElementCollection;

std::shared_ptr<IHTMLElement> firstWithTag(contract::HtmlViewControl& control, const QString& tag) {
    auto all = control.Document().as<IHTMLDocument2>()->all().as<IHTMLElementCollection>();
    for (int i = 0; i < all->length(); ++i) {
        auto element = all->item(i).as<IHTMLElement>();
        if (element->tagName() == tag)
            return element;
    }
    return nullptr;
}

TEST(Content, BodyIsShownAtOnceWithItsImageResolvedAgainstTheBase) {
    ControlHarness h;
    h.control().setBaseURL(h.baseDirectory());
    h.control().setBodyHTML(QStringLiteral("<p>before</p><img src='icon-logo.gif' width='32' height='32'>"));

    auto image = firstWithTag(h.control(), QStringLiteral("IMG"));
    ASSERT_NE(image, nullptr) << "the content is in the document as soon as the call returns";
    EXPECT_EQ(image->readMember(QStringLiteral("src")).toText(),
              QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("icon-logo.gif")).toString());
    EXPECT_TRUE(waitFor([&] { return image->readMember(QStringLiteral("naturalWidth")).toText() == "32"; }))
        << "the image loads from the base directory";
}

// A host sets a control up before its window shows: the page it then shows has all of it, the
// last body written included, and nothing of the way it got there.
TEST(Content, WhatIsWrittenBeforeTheWindowShowsIsAllOnItsFirstPage) {
    ControlHarness h({}, ControlHarness::Window::Hidden);
    h.control().setBaseURL(h.baseDirectory());
    h.control().setCSSText(QStringLiteral("BODY {background:#0000ff}"));
    h.control().setBodyHTML(QStringLiteral("<p>first</p>"));
    QCoreApplication::processEvents();  // the page starts loading with what it has been given
    h.control().setBodyHTML(QStringLiteral("<p>second</p><img src='icon-logo.gif' width='32' height='32'>"));
    h.show();

    const QString source = h.control().SourceHTML().toText();
    EXPECT_TRUE(source.contains(QStringLiteral("second")) && !source.contains(QStringLiteral("first"))) << source.toStdString();
    EXPECT_FALSE(source.contains(QStringLiteral("script"))) << source.toStdString();
    auto image = firstWithTag(h.control(), QStringLiteral("IMG"));
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(waitFor([&] { return image->readMember(QStringLiteral("naturalWidth")).toText() == "32"; }));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 0, 255); }));
}

// A write that reaches the page after its call returned, and fails there, is reported to the
// host, since no call can be. Here something the control knows nothing of moved a paragraph
// before the host wrote into it: the next page, which shows the body as the host set it, has no
// element at the place where the control keeps that write.
TEST(Content, AWriteThatFailsWhereTheControlCarriesItToItsPageIsReportedToTheHost) {
    ControlHarness h;
    QSignalSpy failed(&h.control().view(), &lumetto::HtmlView::failed);
    h.control().setBodyHTML(QStringLiteral("<p>set</p>"));
    h.inPage(QStringLiteral("document.body.prepend(document.createElement('div')); true"));
    firstWithTag(h.control(), QStringLiteral("P"))->setInnerHTML(QStringLiteral("written"));
    h.control().setBaseURL(h.baseDirectory());  // files to load need a new page, which carries the content

    ASSERT_TRUE(waitFor([&] { return !failed.isEmpty(); })) << "the failure was not reported";
    EXPECT_EQ(reportedFailure(failed[0]).code(), contract::ErrorCode::ObjectNotSet);
    EXPECT_TRUE(reportedFailure(failed[0]).description().contains(QStringLiteral("innerHTML"))) << reportedFailure(failed[0]).description().toStdString();
    EXPECT_TRUE(h.control().SourceHTML().toText().contains(QStringLiteral("<p>set</p>"))) << "the other steps were carried out";
    EXPECT_EQ(failed.size(), 1);
}

TEST(Content, CssTextRestylesAtOnceAndReplacesThePreviousRules) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>styled</p>"));
    h.control().setCSSFromURL(contract::Variant::fromBool(false));
    h.control().setCSSText(QStringLiteral("BODY { background-color : green; }"));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 128, 0); }));

    h.control().setCSSText(QStringLiteral("BODY { background-color : white; }"));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(Qt::white); }));
    const QString source = h.control().SourceHTML().toText();
    EXPECT_FALSE(source.contains(QStringLiteral("green"))) << "rules are replaced, never appended";
    EXPECT_TRUE(source.contains(QStringLiteral("<p>styled</p>")));
}

TEST(Content, AllGivesEveryElementOnceInDocumentOrder) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<div id='a'><p id='b'><span id='c'></span></p></div><i id='d'></i>"));
    auto all = h.control().Document().as<IHTMLDocument2>()->all().as<IHTMLElementCollection>();
    QStringList tags;
    for (int i = 0; i < all->length(); ++i)
        tags << all->item(i).as<IHTMLElement>()->tagName();
    EXPECT_EQ(tags.join(QLatin1Char(' ')), QStringLiteral("HTML HEAD BASE STYLE LINK BODY DIV P SPAN I"));
    EXPECT_EQ(all->item(8).as<IHTMLElement>()->id(), QStringLiteral("c"));
    EXPECT_EQ(all->item(6).as<IHTMLElement>(), all->item(6).as<IHTMLElement>()) << "one element, one handle";
}

TEST(Content, MarkupIsShownButItsScriptsNeverRun) {
    ControlHarness h;
    h.control().setBaseURL(h.baseDirectory());
    h.control().setBodyHTML(QStringLiteral(
        "<img id='probe' src='missing.gif' onerror=\"this.setAttribute('data-ran','yes')\">"
        "<script>document.body.setAttribute('data-ran','yes')</script>"));
    auto image = firstWithTag(h.control(), QStringLiteral("IMG"));
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(waitFor([&] { return image->readMember(QStringLiteral("complete")).toBool(); }));
    EXPECT_TRUE(image->getAttribute(QStringLiteral("data-ran")).isNull());
    auto body = h.control().Document().as<IHTMLDocument2>()->body().as<IHTMLElement>();
    EXPECT_TRUE(body->getAttribute(QStringLiteral("data-ran")).isNull());
}

TEST(Content, DesignSettingsApplyFromTheStart) {
    ControlHarness h({{QStringLiteral("csstext"), contract::Variant::fromString(QStringLiteral("BODY {background:#0000ff}"))},
                      {QStringLiteral("allowmouseselect"), contract::Variant::fromBool(false)}});
    h.control().setBodyHTML(QStringLiteral("<p>x</p>"));
    EXPECT_FALSE(h.control().AllowMouseSelect().toBool());
    EXPECT_TRUE(h.control().SourceHTML().toText().contains(QStringLiteral("BODY {background:#0000ff}")));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 0, 255); }));
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(data);
}

void writeSquare(const QString& path, const QColor& colour) {
    QImage square(10, 10, QImage::Format_RGB32);
    square.fill(colour);
    ASSERT_TRUE(square.save(path));
}

// The image with that id has failed to load.
bool imageRefused(ControlHarness& h, const QString& id) {
    return h.inPage(QStringLiteral("%1.complete && %1.naturalWidth === 0").arg(id)).toBool();
}

// A page as a file holds it, in a folder of its own beside an image it may not load, written in
// Latin-1 as its <meta> says. Its style element, its folder's style sheet, its image there and
// its body's colour each fill a square of the screen.
TEST(Content, FileIsShownWithItsFolderOnlyAndComesBackAfterALostPageProcess) {
    ControlHarness h;
    const QString folder = h.baseDirectory() + QStringLiteral("page/");
    ASSERT_TRUE(QDir().mkpath(folder));
    writeSquare(folder + QStringLiteral("inside.png"), Qt::red);
    writeSquare(h.baseDirectory() + QStringLiteral("outside.png"), Qt::green);
    writeFile(folder + QStringLiteral("style.css"), "#sheet { position:fixed; left:400px; top:0; width:100px; height:100px; background:#ff00ff }");
    QTcpServer remote;
    ASSERT_TRUE(remote.listen(QHostAddress::LocalHost));
    const QString at = QStringLiteral("position:fixed; top:%1px; left:%2px; width:100px; height:100px");
    writeFile(folder + QStringLiteral("index.html"),
              QStringLiteral("<!DOCTYPE html><html><head><meta charset='iso-8859-1'><title>Caf\u00e9</title>"
                             "<link rel='stylesheet' href='style.css'>"
                             "<style>#ruled { %1; background:#ffff00 }</style>"
                             "<script>document.documentElement.setAttribute('data-ran', 'yes')</script></head>"
                             "<body bgcolor='#0000ff' x\"y='z' onload=\"document.body.setAttribute('data-ran', 'yes')\">"
                             "<img id='inside' src='inside.png' style='%2'><div id='ruled'></div><div id='sheet'></div>"
                             "<img id='outside' src='../outside.png' style='%3'>"
                             "<img id='remote' src='http://127.0.0.1:%4/remote.png' style='%5'>"
                             "<p>caf\u00e9</p></body></html>")
                  .arg(at.arg(0).arg(200), at.arg(0).arg(0), at.arg(200).arg(0), QString::number(remote.serverPort()), at.arg(200).arg(200))
                  .toLatin1());
    lumetto::HtmlView& view = h.control().view();
    QSignalSpy sourceChanged(&view, &lumetto::HtmlView::sourceChanged);
    const QUrl url = QUrl::fromLocalFile(folder + QStringLiteral("index.html"));
    lumetto::HtmlError error;
    view.setSource(url, &error);
    ASSERT_FALSE(error.isValid()) << error.description().toStdString();
    EXPECT_EQ(view.source(), url);
    EXPECT_EQ(view.baseUrl(), QUrl::fromLocalFile(folder));
    ASSERT_EQ(sourceChanged.size(), 1);

    const auto shown = [&] {
        return h.pixelAt(QPoint(50, 50)) == QColor(Qt::red) && h.pixelAt(QPoint(250, 50)) == QColor(Qt::yellow) &&
               h.pixelAt(QPoint(450, 50)) == QColor(Qt::magenta) && h.pixelAt(QPoint(300, 350)) == QColor(Qt::blue);
    };
    EXPECT_TRUE(waitFor(shown)) << "the image, the style element, the style sheet and the body's colour";
    EXPECT_TRUE(waitFor([&] { return imageRefused(h, QStringLiteral("outside")) && imageRefused(h, QStringLiteral("remote")); }));
    EXPECT_NE(h.pixelAt(QPoint(50, 250)), QColor(Qt::green)) << "an image above the file's folder";
    QTest::qWait(100);
    EXPECT_FALSE(remote.hasPendingConnections()) << "a request went to the network";
    EXPECT_TRUE(h.inPage(QStringLiteral("document.body.textContent")).toString().contains(QStringLiteral("caf\u00e9")));
    EXPECT_TRUE(h.inPage(QStringLiteral("document.documentElement.getAttribute('data-ran') || document.body.getAttribute('data-ran')")).isNull());

    const qint64 lost = h.view()->page()->renderProcessPid();
    ASSERT_EQ(::kill(static_cast<pid_t>(lost), SIGKILL), 0);
    ASSERT_TRUE(waitFor([&] { return h.view()->page()->renderProcessPid() != lost; }));
    EXPECT_TRUE(waitFor(shown)) << "the file's page did not come back";

    view.setBodyHtml(QStringLiteral("<p>text</p>"));
    EXPECT_TRUE(view.source().isEmpty());
    ASSERT_EQ(sourceChanged.size(), 2);
    EXPECT_TRUE(sourceChanged[1][0].toUrl().isEmpty());
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 350)) == QColor(Qt::white); })) << "the file's body colour stayed";
}

// The application's own resources serve the images of the resource's folder, and only those,
// from the first page on.
TEST(Content, QtResourceIsShownWithTheImageOfItsFolderOnly) {
    ControlHarness h({}, ControlHarness::Window::Hidden);
    lumetto::HtmlError error;
    h.control().view().setSource(QUrl(QStringLiteral("qrc:/pages/help/page.html")), &error);
    ASSERT_FALSE(error.isValid()) << error.description().toStdString();
    h.show();
    EXPECT_EQ(h.control().view().baseUrl(), QUrl(QStringLiteral("qrc:/pages/help/")));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(50, 50)) == QColor(Qt::magenta); }));
    EXPECT_TRUE(waitFor([&] { return imageRefused(h, QStringLiteral("outside")); }));
    EXPECT_NE(h.pixelAt(QPoint(50, 250)), QColor(Qt::magenta)) << "an image above the resource's folder";
}

}  // namespace
