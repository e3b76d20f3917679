#include "library/ViewHarness.h"

#include "driving/ScreenGrab.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <lumetto/HtmlDataMapper.h>

#include <functional>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStringEncoder>
#include <QStringList>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

using lumetto::HtmlElement;
using lumetto::HtmlView;

// The first element of the page with that tag; a null element when there is none.
HtmlElement firstWithTag(const ViewHarness& h, const QString& tag) {
    for (const HtmlElement& element : h.view().document().elements())
        if (element.tagName() == tag)
            return element;
    return {};
}

TEST(HtmlView, BodyIsShownAtOnceWithItsImageResolvedAgainstTheBase) {
    ViewHarness h;
    h.view().setBaseUrl(h.baseUrl());
    h.view().setBodyHtml(QStringLiteral("<p>before</p><img src='icon-logo.gif' width='32' height='32'>"));

    const HtmlElement image = firstWithTag(h, QStringLiteral("IMG"));
    ASSERT_FALSE(image.isNull()) << "the content is in the document as soon as the call returns";
    EXPECT_EQ(image.property(QStringLiteral("src")).toString(), QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("icon-logo.gif")).toString());
    EXPECT_TRUE(waitFor([&] { return image.property(QStringLiteral("naturalWidth")).toInt() == 32; }))
        << "the image loads from the base directory";
}

// A host sets a view up before its window shows: the page it then shows has all of it, the
// last body written included, and nothing of the way it got there.
TEST(HtmlView, WhatIsWrittenBeforeTheWindowShowsIsAllOnItsFirstPage) {
    ViewHarness h(ViewHarness::Window::Hidden);
    h.view().setBaseUrl(h.baseUrl());
    h.view().setCssText(QStringLiteral("BODY {background:#0000ff}"));
    h.view().setBodyHtml(QStringLiteral("<p>first</p>"));
    QCoreApplication::processEvents();  // the page starts loading with what it has been given
    h.view().setBodyHtml(QStringLiteral("<p>second</p><img src='icon-logo.gif' width='32' height='32'>"));
    h.show();

    const QString source = h.source();
    EXPECT_TRUE(source.contains(QStringLiteral("second")) && !source.contains(QStringLiteral("first"))) << source.toStdString();
    EXPECT_FALSE(source.contains(QStringLiteral("script"))) << source.toStdString();
    const HtmlElement image = firstWithTag(h, QStringLiteral("IMG"));
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(waitFor([&] { return image.property(QStringLiteral("naturalWidth")).toInt() == 32; }));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 0, 255); }));
}

// A write that reaches the page after its call returned, and fails there, is reported to the
// host, since no call can be. Here something the view knows nothing of moved a paragraph
// before the host wrote into it: the next page, which shows the body as the host set it, has no
// element at the place where the view keeps that write.
TEST(HtmlView, AWriteThatFailsWhereTheViewCarriesItToItsPageIsReportedToTheHost) {
    ViewHarness h;
    QSignalSpy failed(&h.view(), &HtmlView::errorOccurred);
    h.view().setBodyHtml(QStringLiteral("<p>set</p>"));
    h.inPage(QStringLiteral("document.body.prepend(document.createElement('div')); true"));
    firstWithTag(h, QStringLiteral("P")).setInnerHtml(QStringLiteral("written"));
    h.view().setBaseUrl(h.baseUrl());  // files to load need a new page, which carries the content

    ASSERT_TRUE(waitFor([&] { return !failed.isEmpty(); })) << "the failure was not reported";
    const auto error = failed[0][0].value<lumetto::HtmlError>();
    EXPECT_EQ(error.type(), lumetto::HtmlError::ElementGone) << error.description().toStdString();
    EXPECT_EQ(error.call(), QStringLiteral("HtmlElement::setInnerHtml"));
    EXPECT_TRUE(h.source().contains(QStringLiteral("<p>set</p>"))) << "the other steps were carried out";
    EXPECT_EQ(failed.size(), 1);
}

TEST(HtmlView, CssTextRestylesAtOnceAndReplacesThePreviousRules) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p>styled</p>"));
    h.view().setCssText(QStringLiteral("BODY { background-color : green; }"));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 128, 0); }));

    h.view().setCssText(QStringLiteral("BODY { background-color : white; }"));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(Qt::white); }));
    const QString source = h.source();
    EXPECT_FALSE(source.contains(QStringLiteral("green"))) << "rules are replaced, never appended";
    EXPECT_TRUE(source.contains(QStringLiteral("<p>styled</p>")));
}

// Style rules given as the location of a style sheet, then as text: the text takes over.
TEST(HtmlView, RulesTextTakesOverFromAStyleSheetLocation) {
    ViewHarness h;
    QFile sheet(h.baseDirectory() + QStringLiteral("blue.css"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write("body { background: #0000ff; }");
    sheet.close();
    h.view().setCssFromUrl(true);
    h.view().setBaseUrl(h.baseUrl());
    h.view().setBodyHtml(QStringLiteral("<p>styled</p>"));
    h.view().setCssText(QStringLiteral("blue.css"));
    ASSERT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 0, 255); }));

    h.view().setCssFromUrl(false);
    h.view().setCssText(QStringLiteral("BODY { background-color : green; }"));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 128, 0); }));
    EXPECT_FALSE(h.source().contains(QStringLiteral("blue.css")));
}

TEST(HtmlView, MarkupIsShownButItsScriptsNeverRun) {
    ViewHarness h;
    h.view().setBaseUrl(h.baseUrl());
    h.view().setBodyHtml(QStringLiteral(
        "<img id='probe' src='missing.gif' onerror=\"this.setAttribute('data-ran','yes')\">"
        "<script>document.body.setAttribute('data-ran','yes')</script>"));
    const HtmlElement image = firstWithTag(h, QStringLiteral("IMG"));
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(waitFor([&] { return image.property(QStringLiteral("complete")).toBool(); }));
    EXPECT_TRUE(image.attribute(QStringLiteral("data-ran")).isNull());
    EXPECT_TRUE(h.view().document().body().attribute(QStringLiteral("data-ran")).isNull());
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
bool imageRefused(ViewHarness& h, const QString& id) {
    return h.inPage(QStringLiteral("%1.complete && %1.naturalWidth === 0").arg(id)).toBool();
}

// A page as a file holds it, in a folder of its own beside an image it may not load, written in
// Latin-1 as its <meta> says. Its style element, its folder's style sheet, its image there and
// its body's colour each fill a square of the screen.
TEST(HtmlView, FileIsShownWithItsFolderOnlyAndComesBackAfterALostPageProcess) {
    ViewHarness h;
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
    lumetto::HtmlView& view = h.view();
    QSignalSpy sourceChanged(&view, &lumetto::HtmlView::sourceChanged);
    const QUrl url = QUrl::fromLocalFile(folder + QStringLiteral("index.html"));
    const lumetto::HtmlError error = failureOf(view, [&] { view.setSource(url); });
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
    // The images failed after any request they made: it would be waiting to be accepted.
    EXPECT_FALSE(remote.waitForNewConnection(0)) << "a request went to the network";
    EXPECT_TRUE(h.inPage(QStringLiteral("document.body.textContent")).toString().contains(QStringLiteral("caf\u00e9")));
    EXPECT_TRUE(h.inPage(QStringLiteral("document.documentElement.getAttribute('data-ran') || document.body.getAttribute('data-ran')")).isNull());

    const qint64 lost = h.pageProcess();
    ASSERT_TRUE(h.killPageProcess());
    ASSERT_TRUE(waitFor([&] { return h.pageProcess() != lost; }));
    // The screen may still show the lost page's last frame: the page is back once it answers.
    EXPECT_TRUE(waitFor([&] {
        lumetto::HtmlError error;
        return view.document().source(&error).contains(QStringLiteral("inside.png")) && !error.isValid();
    })) << "the file's page did not come back";
    EXPECT_TRUE(waitFor(shown)) << "the file's page is not shown again";

    view.setBodyHtml(QStringLiteral("<p>text</p>"));
    EXPECT_TRUE(view.source().isEmpty());
    ASSERT_EQ(sourceChanged.size(), 2);
    EXPECT_TRUE(sourceChanged[1][0].toUrl().isEmpty());
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 350)) == QColor(Qt::white); })) << "the file's body colour stayed";
}

// A file is decoded as a browser decodes it: a <meta> read in ASCII that names a UTF-16 or UTF-32
// encoding means UTF-8 unless a byte order mark says otherwise. Decoded wrongly, no markup is
// left, and the body's colour does not show.
TEST(HtmlView, FileIsDecodedAsABrowserDecodesIt) {
    ViewHarness h;
    const QString page = QStringLiteral("<html><head><meta charset='%1'></head><body bgcolor='#0000ff'><p id='text'>caf\u00e9</p></body></html>");
    const auto wide = [](const QString& text) {
        return QByteArray(QStringEncoder(QStringEncoder::Utf16LE, QStringConverter::Flag::WriteBom).encode(text));
    };
    const QList<std::pair<QString, QByteArray>> files{
        {QStringLiteral("utf-16"), page.arg(QStringLiteral("utf-16")).toUtf8()},
        {QStringLiteral("UTF-16BE"), page.arg(QStringLiteral("UTF-16BE")).toUtf8()},
        {QStringLiteral("utf-32"), page.arg(QStringLiteral("utf-32")).toUtf8()},
        {QStringLiteral("utf-16 with a byte order mark"), wide(page.arg(QStringLiteral("utf-16")))},
    };
    for (const auto& [name, data] : files) {
        SCOPED_TRACE(name.toStdString());
        const QString path = h.baseDirectory() + name + QStringLiteral(".html");
        writeFile(path, data);
        h.view().setBodyHtml(QStringLiteral("<p>between</p>"));
        ASSERT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(Qt::white); }));
        lumetto::HtmlError error = failureOf(h.view(), [&] { h.view().setSource(QUrl::fromLocalFile(path)); });
        ASSERT_FALSE(error.isValid()) << error.description().toStdString();
        EXPECT_TRUE(h.view().bodyHtml().contains(QStringLiteral("caf\u00e9")));
        EXPECT_EQ(h.inPage(QStringLiteral("document.getElementById('text').textContent")).toString(), QStringLiteral("caf\u00e9"));
        EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 0, 255); }));
    }
}

// The pages of the resources' twin folder, written into a folder of files in another colour:
// the page's own square, its folder's image and its folder's style sheet each show it.
void writeTwin(const QString& folder, const QColor& colour) {
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& name : QDir(QStringLiteral(":/pages/twin")).entryList()) {
        QFile file(QStringLiteral(":/pages/twin/") + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        writeFile(folder + name, QString::fromUtf8(file.readAll()).replace(QStringLiteral("#0000ff"), colour.name()).toUtf8());
    }
}

// The colours of the twin pages' three squares on the screen, in a row across the view.
QList<QColor> twinColours(ViewHarness& h) {
    const auto at = onScreen(h.engineView(), QPoint(0, 50));
    if (!at)
        return {};
    const QImage row = screenImage(QRect(*at, QSize(500, 1)));
    return {row.pixelColor(50, 0), row.pixelColor(250, 0), row.pixelColor(450, 0)};
}

// Shown from one folder after another, of files and of the application's resources, a page
// never shows with the files of the same names of the folder before or after it: in no frame on
// the screen do its own square and its folder's image and style sheet differ in colour.
TEST(HtmlView, FileOfAnotherFolderNeverShowsWithTheOtherFoldersFiles) {
    ViewHarness h;
    writeTwin(h.baseDirectory() + QStringLiteral("red/"), Qt::red);
    writeTwin(h.baseDirectory() + QStringLiteral("green/"), Qt::green);
    const QList<std::pair<QUrl, QColor>> pages{
        {QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("red/page.html")), Qt::red},
        {QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("green/page.html")), Qt::green},
        {QUrl(QStringLiteral("qrc:/pages/twin/page.html")), Qt::blue},
        {QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("red/page.html")), Qt::red},
    };
    const auto shows = [&](const QColor& colour) { return twinColours(h) == QList<QColor>(3, colour); };
    h.view().setSource(pages[0].first);
    ASSERT_TRUE(waitFor([&] { return shows(pages[0].second); }));

    QList<QList<QColor>> frames;
    QTimer grabs;
    grabs.setInterval(5);
    QObject::connect(&grabs, &QTimer::timeout, [&] { frames.append(twinColours(h)); });
    grabs.start();
    for (const auto& [url, colour] : pages.mid(1)) {
        SCOPED_TRACE(url.toString().toStdString());
        h.view().setSource(url);
        EXPECT_TRUE(waitFor([&] { return shows(colour); }));
    }
    grabs.stop();
    int mixed = 0;
    for (const QList<QColor>& frame : frames) {
        QList<QColor> shown;
        for (const QColor& colour : frame)
            if (colour != QColor(Qt::white) && !shown.contains(colour))
                shown.append(colour);
        mixed += shown.size() > 1;
    }
    EXPECT_EQ(mixed, 0) << "of " << frames.size() << " grabs showed one folder's page with another's files";
}

// New content starts at its top, however far the page before was scrolled: a body written, a
// file shown, a binding's template. A write into the content keeps the page where it is.
TEST(HtmlView, NewContentStartsAtItsTopAndAWriteIntoItKeepsItsPlace) {
    ViewHarness h;
    lumetto::HtmlView& view = h.view();
    view.setBaseUrl(QUrl::fromLocalFile(h.baseDirectory()));  // the file's folder: the page stays
    const QString tall = QStringLiteral("<div style='height:100px; background:#0000ff'></div><div id='rest' style='height:2000px'></div>%1");
    writeFile(h.baseDirectory() + QStringLiteral("tall.html"), tall.arg(QStringLiteral("<p>file</p>")).toUtf8());
    const auto scrollTop = [&] { return h.inPage(QStringLiteral("document.scrollingElement.scrollTop")).toInt(); };
    const auto topShown = [&] { return h.pixelAt(QPoint(300, 50)) == QColor(0, 0, 255); };
    const auto scrolledDown = [&] {
        view.setBodyHtml(tall.arg(QString()));
        h.inPage(QStringLiteral("document.scrollingElement.scrollTop = 1648"));
        return waitFor([&] { return scrollTop() == 1648 && !topShown(); });
    };

    QStandardItemModel model(1, 1);
    model.setHorizontalHeaderLabels({QStringLiteral("Name")});
    model.setItem(0, 0, new QStandardItem(QStringLiteral("bound")));
    const QList<std::pair<const char*, std::function<void()>>> shows{
        {"setBodyHtml", [&] { view.setBodyHtml(tall.arg(QStringLiteral("<p>written</p>"))); }},
        {"setSource", [&] { view.setSource(QUrl::fromLocalFile(h.baseDirectory() + QStringLiteral("tall.html"))); }},
        {"HtmlDataMapper::setTemplateHtml", [&] {
             auto* mapper = new lumetto::HtmlDataMapper(&view);
             mapper->setView(&view);
             mapper->setModel(&model);
             mapper->setTemplateHtml(tall.arg(QStringLiteral("<p data-column='Name'></p>")));
         }},
    };
    for (const auto& [call, show] : shows) {
        SCOPED_TRACE(call);
        ASSERT_TRUE(scrolledDown());
        show();
        EXPECT_EQ(scrollTop(), 0);
        EXPECT_TRUE(waitFor(topShown)) << "the new content's top is not on the screen";
    }

    ASSERT_TRUE(scrolledDown());
    const int place = scrollTop();
    for (lumetto::HtmlElement element : view.document().elements())
        if (element.id() == QLatin1String("rest"))
            element.setInnerHtml(QStringLiteral("written into"));
    EXPECT_EQ(scrollTop(), place);
    EXPECT_FALSE(topShown());
}

// The application's own resources serve the images of the resource's folder, and only those,
// from the first page on.
TEST(HtmlView, QtResourceIsShownWithTheImageOfItsFolderOnly) {
    ViewHarness h(ViewHarness::Window::Hidden);
    lumetto::HtmlError error = failureOf(h.view(), [&] { h.view().setSource(QUrl(QStringLiteral("qrc:/pages/help/page.html"))); });
    ASSERT_FALSE(error.isValid()) << error.description().toStdString();
    h.show();
    EXPECT_EQ(h.view().baseUrl(), QUrl(QStringLiteral("qrc:/pages/help/")));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(50, 50)) == QColor(Qt::magenta); }));
    EXPECT_TRUE(waitFor([&] { return imageRefused(h, QStringLiteral("outside")); }));
    EXPECT_NE(h.pixelAt(QPoint(50, 250)), QColor(Qt::magenta)) << "an image above the resource's folder";
}

}  // namespace
