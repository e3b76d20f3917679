#include "control/ControlHarness.h"
#include "contract/DocumentObjects.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QStringList>
#include <QUrl>

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

}  // namespace
