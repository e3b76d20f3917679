#include "library/ViewHarness.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using lumetto::HtmlElement;
using lumetto::HtmlError;

TEST(HtmlElement, ElementOfReplacedContentStaysUsableAndIsFreedWhenReleased) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p id='old'>old</p>"));
    int clicks = 0;
    QObject::connect(&h.view(), &lumetto::HtmlView::clicked, [&] { ++clicks; });
    h.click(h.centreOf(QStringLiteral("old")));
    ASSERT_TRUE(waitFor([&] { return clicks == 1; }));
    HtmlElement old = h.view().clickedElement();

    h.view().setBodyHtml(QStringLiteral("<p id='new'>new</p>"));
    old.setBackgroundColor(QColor(0xf1, 0xf1, 0xf1));
    EXPECT_EQ(old.styleProperty(QStringLiteral("background-color")), QStringLiteral("rgb(241, 241, 241)"));
    EXPECT_EQ(old.id(), QStringLiteral("old"));
    EXPECT_FALSE(h.source().contains(QStringLiteral("241"))) << "no visible effect";

    // Walk the document many times: every handle the walks took is given back.
    for (int i = 0; i < 50; ++i)
        h.view().document().elements();
    old = HtmlElement();
    h.click(h.centreOf(QStringLiteral("new")));  // the view now holds the new element only
    ASSERT_TRUE(waitFor([&] { return clicks == 2; }));
    EXPECT_TRUE(waitFor([&] { return h.inPage(QStringLiteral("window.__lumetto.call('handleCount', []).value")) == 1; }))
        << h.inPage(QStringLiteral("window.__lumetto.call('handleCount', []).value")).toInt();
}

TEST(HtmlElement, PropertyTheElementLacksFailsAsNoSuchProperty) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p>text</p>"));
    HtmlError error;
    EXPECT_FALSE(h.view().document().body().property(QStringLiteral("noSuchMember"), &error).isValid());
    EXPECT_EQ(error.type(), HtmlError::NoSuchProperty) << error.description().toStdString();
}

// In the new page after a page-process loss, the element of the lost page is null, and a call on
// it says so.
TEST(HtmlElement, ElementOfALostPageIsNullAndItsCallsFailAsGone) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p>content</p>"));
    const HtmlElement lostBody = h.view().document().body();
    ASSERT_FALSE(lostBody.isNull());
    ASSERT_TRUE(h.killPageProcess());
    ASSERT_TRUE(waitFor([&] { return h.source().contains(QStringLiteral("<p>content</p>")); }));

    EXPECT_TRUE(lostBody.isNull());
    HtmlError error;
    EXPECT_EQ(lostBody.id(&error), QString());
    EXPECT_EQ(error.type(), HtmlError::ElementGone);
    EXPECT_FALSE(h.view().document().body().isNull());
    EXPECT_NE(h.view().document().body(), lostBody);
}

// The page of a view that was destroyed is gone as well: its elements are null, and say so.
TEST(HtmlElement, ElementOfADestroyedViewIsNullAndItsCallsFailAsGone) {
    auto view = std::make_unique<lumetto::HtmlView>();
    view->setBodyHtml(QStringLiteral("<p>content</p>"));
    view->show();
    HtmlElement body = view->document().body();
    ASSERT_FALSE(body.isNull());
    view.reset();

    EXPECT_TRUE(body.isNull());
    HtmlError error;
    EXPECT_EQ(body.id(&error), QString());
    EXPECT_EQ(error.type(), HtmlError::ElementGone) << error.description().toStdString();
    body.setStyleProperty(QStringLiteral("color"), QStringLiteral("red"), &error);
    EXPECT_EQ(error.type(), HtmlError::ElementGone);
}

}  // namespace
