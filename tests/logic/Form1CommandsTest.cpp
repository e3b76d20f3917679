#include "logic/Fakes.h"
#include "main_window/Form1.h"

#include <gmock/gmock.h>

#include <QAction>
#include <QPushButton>

using contract::Variant;
using testing::_;
using testing::InSequence;
using testing::Return;
using testing::Throw;

namespace {

MATCHER_P(IsBool, expected, "") {
    return arg.type() == Variant::Type::Boolean && arg.toBool() == expected;
}

// A document whose selection gives the range a test chooses.
struct FakeTxtRange : contract::IHTMLTxtRange {
    explicit FakeTxtRange(QString t) : text_(std::move(t)) {}
    QString text() override { return text_; }
    QString text_;
};

struct FakeControlRange : contract::HostObject {};

struct FakeSelection : contract::IHTMLSelectionObject {
    explicit FakeSelection(Variant r) : range(std::move(r)) {}
    Variant createRange() override { return range; }
    Variant range;
};

struct FakeDocument : contract::IHTMLDocument2 {
    explicit FakeDocument(Variant s) : selected(std::move(s)) {}
    Variant all() override { return {}; }
    Variant body() override { return {}; }
    Variant selection() override { return selected; }
    Variant selected;
};

Variant documentSelecting(Variant range) {
    auto selection = std::make_shared<FakeSelection>(std::move(range));
    return Variant::fromObject(std::make_shared<FakeDocument>(Variant::fromObject(selection)));
}

Variant textRange(const QString& text) {
    return Variant::fromObject(std::make_shared<FakeTxtRange>(text));
}

class Form1Commands : public testing::Test {
protected:
    MockBrowser& page() { return controls.vekBrowser1(); }
    QAction* action(const char* name) { return form.findChild<QAction*>(QLatin1String(name)); }
    void choose(const char* name) { action(name)->trigger(); }
    void click(const char* name) { form.findChild<QPushButton*>(QLatin1String(name))->click(); }
    bool checkMark() { return action("mnuOptSelect")->isChecked(); }

    FakeControls controls;
    FakePlatform platform;
    Form1 form{controls, platform};
};

TEST_F(Form1Commands, CssItemsSwitchToTheRulesStringThenReplaceTheRules) {
    {
        InSequence order;
        EXPECT_CALL(page(), setCSSFromURL(IsBool(false)));
        EXPECT_CALL(page(), setCSSText(QStringLiteral("BODY { background-color : green; font-family: Arial;}")));
        EXPECT_CALL(page(), setCSSFromURL(IsBool(false)));
        EXPECT_CALL(page(), setCSSText(QStringLiteral("BODY { background-color : white; font-family: Verdana;}")));
    }
    EXPECT_CALL(page(), setBodyHTML(_)).Times(0);
    EXPECT_CALL(controls.brClip(), setCSSText(_)).Times(0);

    choose("mnuCSSGreen");
    choose("mnuCSSWhite");
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(Form1Commands, RefusedCssWriteIsReportedAndTheNextCommandStillRuns) {
    {
        InSequence order;
        EXPECT_CALL(page(), setCSSFromURL(IsBool(false))).WillOnce(Throw(controlFailure()));
        EXPECT_CALL(page(), setCSSFromURL(IsBool(false)));
        EXPECT_CALL(page(), setCSSText(_)).WillOnce(Throw(controlFailure()));
        EXPECT_CALL(page(), setCSSFromURL(IsBool(false)));
        EXPECT_CALL(page(), setCSSText(QStringLiteral("BODY { background-color : white; font-family: Verdana;}")));
    }
    choose("mnuCSSGreen");  // the rules are never written when the source switch fails
    choose("mnuCSSGreen");
    choose("mnuCSSWhite");
    EXPECT_EQ(platform.messages,
              QStringList(2, QStringLiteral("Run-time error '440':\n\nAutomation error")));
}

TEST_F(Form1Commands, AllowSelectionAlternatesAndTheMarkFollowsTheControl) {
    Variant allowed = Variant::fromBool(true);
    ON_CALL(page(), AllowMouseSelect()).WillByDefault([&] { return allowed; });
    ON_CALL(page(), setAllowMouseSelect(_)).WillByDefault([&](const Variant& v) { allowed = v; });
    EXPECT_CALL(page(), setAllowMouseSelect(IsBool(false))).Times(2);
    EXPECT_CALL(page(), setAllowMouseSelect(IsBool(true))).Times(1);

    choose("mnuOptSelect");
    EXPECT_FALSE(checkMark());
    choose("mnuOptSelect");
    EXPECT_TRUE(checkMark());

    allowed = Variant::fromLong(5);  // any non-zero number reads as True
    choose("mnuOptSelect");
    EXPECT_FALSE(checkMark());
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(Form1Commands, MarkShowsWhatTheControlReportsNotWhatWasWritten) {
    ON_CALL(page(), AllowMouseSelect()).WillByDefault(Return(Variant::fromBool(true)));
    EXPECT_CALL(page(), setAllowMouseSelect(IsBool(false))).Times(2);  // silently kept

    choose("mnuOptSelect");
    EXPECT_TRUE(checkMark());
    choose("mnuOptSelect");
    EXPECT_TRUE(checkMark());
}

TEST_F(Form1Commands, UnreadableSelectionSettingLeavesTheMarkAsItWas) {
    // Before the change: nothing is written.
    EXPECT_CALL(page(), AllowMouseSelect()).WillOnce(Return(Variant::fromString(QStringLiteral("maybe"))));
    EXPECT_CALL(page(), setAllowMouseSelect(_)).Times(0);
    choose("mnuOptSelect");
    EXPECT_TRUE(checkMark());
    testing::Mock::VerifyAndClearExpectations(&page());

    // After the change: the control is changed, the mark is not.
    EXPECT_CALL(page(), AllowMouseSelect())
        .WillOnce(Return(Variant::fromBool(true)))
        .WillOnce(Return(Variant::null()));
    EXPECT_CALL(page(), setAllowMouseSelect(IsBool(false)));
    choose("mnuOptSelect");
    EXPECT_TRUE(checkMark());

    EXPECT_EQ(platform.messages, (QStringList{QStringLiteral("Run-time error '13':\n\nType mismatch"),
                                              QStringLiteral("Run-time error '94':\n\nInvalid use of Null")}));
}

TEST_F(Form1Commands, CurrentTextSelectionShowsThePlainTextOrAnEmptyPrompt) {
    EXPECT_CALL(page(), Document())
        .WillOnce(Return(documentSelecting(textRange(QStringLiteral("Features\n\nDisplay media")))))
        .WillOnce(Return(documentSelecting(textRange(QString()))));
    EXPECT_CALL(controls.brClip(), Document()).Times(0);

    click("Command1");
    click("Command1");
    EXPECT_EQ(platform.messages, (QStringList{QStringLiteral("Features\n\nDisplay media"), QString()}));
}

TEST_F(Form1Commands, SelectionOfControlsOrAnUnreadableDocumentShowsOnlyTheError) {
    EXPECT_CALL(page(), Document())
        .WillOnce(Return(documentSelecting(Variant::fromObject(std::make_shared<FakeControlRange>()))))
        .WillOnce(Throw(controlFailure()));

    click("Command1");
    click("Command1");
    EXPECT_EQ(platform.messages, (QStringList{QStringLiteral("Run-time error '13':\n\nType mismatch"),
                                              QStringLiteral("Run-time error '440':\n\nAutomation error")}));
}

}  // namespace
