#include "logic/LoadedForm1.h"

#include <gmock/gmock.h>

namespace {

using contract::Variant;
using testing::_;
using testing::InSequence;
using testing::Return;
using testing::Throw;

const QString Highlight = QStringLiteral("#f1f1f1");

using ClickTracking = LoadedForm1;

TEST_F(ClickTracking, LeftClickReportsTheTagAndHighlightsUntilTheNextClickRestoresIt) {
    auto cell = element(QStringLiteral("TD"));
    cell->inlineStyle().colour = QStringLiteral("red");
    leftClick(cell);
    EXPECT_EQ(label("Label1"), QStringLiteral("TD"));
    EXPECT_EQ(label("Label2"), QStringLiteral("Last Click - LeftClick : "));
    EXPECT_EQ(cell->colour(), Highlight);

    auto item = element(QStringLiteral("LI"));
    {
        InSequence order;  // the old element gets its colour back before the new one is read
        EXPECT_CALL(cell->inlineStyle(), setBackgroundColor(_));
        EXPECT_CALL(item->inlineStyle(), backgroundColor());
        EXPECT_CALL(item->inlineStyle(), setBackgroundColor(_));
    }
    leftClick(item);
    EXPECT_EQ(cell->colour(), QStringLiteral("red"));
    EXPECT_EQ(item->colour(), Highlight);
    EXPECT_EQ(label("Label1"), QStringLiteral("LI"));
}

TEST_F(ClickTracking, RightClickHighlightsLinksButNeverTheBody) {
    auto body = element(QStringLiteral("BODY"));
    auto link = element(QStringLiteral("A"));
    rightClick(body);
    EXPECT_EQ(label("Label1"), QStringLiteral("BODY"));
    EXPECT_EQ(label("Label2"), QStringLiteral("Last Click - RightClick : "));
    EXPECT_EQ(body->colour(), QString());

    rightClick(link);
    EXPECT_EQ(link->colour(), Highlight);
    EXPECT_EQ(basGlobal::PageState, 0) << "a right click never navigates";

    auto lowerCaseBody = element(QStringLiteral("body"));  // only "BODY" exactly is spared
    leftClick(lowerCaseBody);
    EXPECT_EQ(lowerCaseBody->colour(), Highlight);
}

TEST_F(ClickTracking, SameElementTwiceKeepsTheColourItHadBeforeTheFirstClick) {
    auto cell = element(QStringLiteral("TD"));
    cell->inlineStyle().colour = QStringLiteral("yellow");
    leftClick(cell);
    leftClick(cell);
    EXPECT_EQ(cell->colour(), Highlight);
    restoreHighlight();
    EXPECT_EQ(cell->colour(), QStringLiteral("yellow"));
}

TEST_F(ClickTracking, RestoreHighlightRestoresAndKeepsTheElementRemembered) {
    restoreHighlight();  // nothing clicked yet: nothing happens
    EXPECT_TRUE(platform.messages.isEmpty());

    auto cell = element(QStringLiteral("TD"));
    leftClick(cell);
    restoreHighlight();
    restoreHighlight();
    EXPECT_EQ(cell->colour(), QString());
    EXPECT_EQ(label("Label1"), QStringLiteral("TD"));
    EXPECT_CALL(cell->inlineStyle(), setBackgroundColor(HoldsText(QString())))
        .Times(1);  // the next click restores the remembered element once more
    leftClick(element(QStringLiteral("P")));
}

TEST_F(ClickTracking, FormPageLeftClicksHighlightNothingButRightClicksDo) {
    basGlobal::PageState = 1;
    auto box = element(QStringLiteral("INPUT"));
    leftClick(box);
    EXPECT_EQ(box->colour(), QString());
    EXPECT_EQ(label("Label1"), QStringLiteral("INPUT"));
    EXPECT_EQ(label("Label2"), QStringLiteral("Last Click - LeftClick : "));
    rightClick(box);
    EXPECT_EQ(box->colour(), Highlight);
}

// What each failing step of a click leaves behind.
class ClickFailures : public LoadedForm1 {
protected:
    ClickFailures() {
        previous->inlineStyle().colour = QStringLiteral("navy");
        leftClick(previous);  // highlighted, remembered with "navy"
        platform.messages.clear();
    }
    Element previous = element(QStringLiteral("TD"));
    Element next = element(QStringLiteral("LI"));
};

TEST_F(ClickFailures, RestoreFailingChangesNothing) {
    EXPECT_CALL(previous->inlineStyle(), setBackgroundColor(_)).WillOnce(Throw(controlFailure()));
    rightClick(next);
    EXPECT_TRUE(reported(440));
    EXPECT_EQ(previous->colour(), Highlight);
    EXPECT_EQ(label("Label1"), QStringLiteral("TD"));
    EXPECT_EQ(label("Label2"), QStringLiteral("Last Click - LeftClick : "));
}

TEST_F(ClickFailures, ClickedElementThatIsNothingFailsAfterTheRestore) {
    EXPECT_CALL(page(), ClickedElement).WillOnce(Return(Variant::fromObject(nullptr)));
    page().sink()->RightClick();
    EXPECT_TRUE(reported(91));
    EXPECT_EQ(previous->colour(), QStringLiteral("navy"));
    EXPECT_EQ(label("Label1"), QStringLiteral("TD"));
    EXPECT_EQ(label("Label2"), QStringLiteral("Last Click - LeftClick : "));
}

TEST_F(ClickFailures, SecondReadFailingShowsTheNewTagButKeepsThePreviousElement) {
    EXPECT_CALL(page(), ClickedElement)
        .WillOnce(Return(Variant::fromObject(next)))
        .WillOnce(Throw(controlFailure()));
    page().sink()->LeftClick();
    EXPECT_EQ(label("Label1"), QStringLiteral("LI"));
    previous->inlineStyle().colour = QStringLiteral("changed");
    restoreHighlight();
    EXPECT_EQ(previous->colour(), QStringLiteral("navy")) << "LastElement is still the previous element";
}

TEST_F(ClickFailures, ThirdReadFailingKeepsThePreviousColourForTheNewElement) {
    EXPECT_CALL(page(), ClickedElement)
        .WillOnce(Return(Variant::fromObject(next)))
        .WillOnce(Return(Variant::fromObject(next)))
        .WillOnce(Throw(controlFailure()));
    page().sink()->LeftClick();
    restoreHighlight();
    EXPECT_EQ(next->colour(), QStringLiteral("navy")) << "the new element gets the previous element's colour";
}

TEST_F(ClickFailures, HighlightFailingRemembersTheElementUnhighlightedAndKeepsTheCaption) {
    EXPECT_CALL(next->inlineStyle(), setBackgroundColor(HoldsText(Highlight)))
        .WillOnce(Throw(controlFailure()));
    rightClick(next);
    EXPECT_TRUE(reported(440));
    EXPECT_EQ(next->colour(), QString());
    EXPECT_EQ(label("Label1"), QStringLiteral("LI"));
    EXPECT_EQ(label("Label2"), QStringLiteral("Last Click - LeftClick : "));
}

TEST_F(ClickFailures, ColourWithoutTextFormFailsTheTrackStep) {
    EXPECT_CALL(next->inlineStyle(), backgroundColor()).WillOnce(Return(Variant::null()));
    leftClick(next);
    EXPECT_TRUE(reported(94));
    EXPECT_EQ(next->colour(), QString()) << "not highlighted";
}

TEST_F(ClickFailures, UnloadDropsTheHighlightedElementWithoutRestoringIt) {
    form.close();
    EXPECT_EQ(previous->colour(), Highlight);
    EXPECT_CALL(previous->inlineStyle(), setBackgroundColor(_)).Times(0);
    restoreHighlight();  // the window no longer remembers it
}

}  // namespace
