#include "content/basGlobal.h"
#include "logic/Fakes.h"
#include "main_window/Form1.h"

#include <gmock/gmock.h>

using contract::Variant;
using testing::_;
using testing::InSequence;
using testing::Throw;

namespace {

MATCHER_P(IsBool, expected, "") {
    return arg.type() == Variant::Type::Boolean && arg.toBool() == expected;
}

class Form1Load : public testing::Test {
protected:
    void SetUp() override {
        basGlobal::PageState = 7;  // any value Form_Load must overwrite
        basGlobal::ProductPageHTML.clear();
        basGlobal::FormsPageHTML.clear();
    }

    bool load() {
        form = std::make_unique<Form1>(controls, platform);
        return form->load();
    }

    MockBrowser& page() { return controls.vekBrowser1(); }

    FakeControls controls;
    FakePlatform platform;
    std::unique_ptr<Form1> form;
};

TEST_F(Form1Load, SetsUpThePageInItsEightStepsAndShowsTheProductPage) {
    form = std::make_unique<Form1>(controls, platform);
    {
        InSequence order;
        EXPECT_CALL(page(), setBaseURL(QStringLiteral("/opt/lumetto/")));
        EXPECT_CALL(page(), AddMenuItem(QStringLiteral("Sep1"), QStringLiteral("-")));
        EXPECT_CALL(page(), AddMenuItem(QStringLiteral("mnuCheck"), QStringLiteral("Check this menu")));
        EXPECT_CALL(page(), setCSSFromURL(IsBool(false))).WillOnce([] {
            EXPECT_EQ(basGlobal::ProductPageHTML.size(), 1525) << "pages are built before the CSS source is set";
        });
        EXPECT_CALL(page(), setBodyHTML(_)).WillOnce([](const QString& html) {
            EXPECT_EQ(html, basGlobal::ProductPageHTML);
        });
    }
    EXPECT_CALL(controls.brClip(), setBodyHTML(_)).Times(0);
    EXPECT_CALL(controls.brClip(), setBaseURL(_)).Times(0);

    EXPECT_TRUE(form->load());
    EXPECT_EQ(basGlobal::PageState, 0);
    EXPECT_EQ(basGlobal::FormsPageHTML.size(), 801);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(Form1Load, BaseLocationIsTheDirectoryWithOneSeparatorAppendedInForwardSlashes) {
    const QChar windows = QLatin1Char('\\'), posix = QLatin1Char('/');
    const std::tuple<QChar, QString, QString> cases[] = {
        {windows, QStringLiteral("C:\\Apps\\Demo"), QStringLiteral("C:/Apps/Demo/")},
        {windows, QStringLiteral("C:\\"), QStringLiteral("C://")},                      // a drive's root
        {windows, QStringLiteral("\\\\server\\share\\demo"), QStringLiteral("//server/share/demo/")},  // network form
        {posix, QStringLiteral("/opt/my demo/ünï"), QStringLiteral("/opt/my demo/ünï/")},
        // Where "/" separates folders, a "\" is part of a folder's name.
        {posix, QStringLiteral("/opt/back\\slash"), QStringLiteral("/opt/back\\slash/")},
    };
    for (const auto& [separator, directory, base] : cases) {
        FakeControls fresh;
        platform.separator = separator;
        platform.directory = directory;
        Form1 window(fresh, platform);
        EXPECT_CALL(fresh.vekBrowser1(), setBaseURL(base)).Times(1);
        EXPECT_TRUE(window.load()) << directory.toStdString();
    }
}

TEST_F(Form1Load, UnreadableApplicationDirectoryStopsBeforeAnyCallAndIsReported) {
    platform.directoryFails = true;
    form = std::make_unique<Form1>(controls, platform);
    EXPECT_CALL(page(), setBaseURL(_)).Times(0);
    EXPECT_CALL(page(), AddMenuItem(_, _)).Times(0);
    EXPECT_CALL(page(), setBodyHTML(_)).Times(0);

    EXPECT_FALSE(form->load());
    EXPECT_EQ(basGlobal::PageState, 0);
    EXPECT_TRUE(basGlobal::ProductPageHTML.isEmpty());
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages.first().startsWith(QStringLiteral("Run-time error '75':")));
}

TEST_F(Form1Load, RefusedBaseLocationLeavesNoItemsNoPagesAndNothingShown) {
    form = std::make_unique<Form1>(controls, platform);
    EXPECT_CALL(page(), setBaseURL(_)).WillOnce(Throw(controlFailure()));
    EXPECT_CALL(page(), AddMenuItem(_, _)).Times(0);
    EXPECT_CALL(page(), setCSSFromURL(_)).Times(0);
    EXPECT_CALL(page(), setBodyHTML(_)).Times(0);

    EXPECT_FALSE(form->load());
    EXPECT_EQ(basGlobal::PageState, 0);
    EXPECT_TRUE(basGlobal::ProductPageHTML.isEmpty());
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.first(), QStringLiteral("Run-time error '440':\n\nAutomation error"));
}

TEST_F(Form1Load, RefusedMenuItemStopsBeforeThePagesAreBuilt) {
    form = std::make_unique<Form1>(controls, platform);
    EXPECT_CALL(page(), setBaseURL(_));
    EXPECT_CALL(page(), AddMenuItem(QStringLiteral("Sep1"), _));
    EXPECT_CALL(page(), AddMenuItem(QStringLiteral("mnuCheck"), _)).WillOnce(Throw(controlFailure()));
    EXPECT_CALL(page(), setCSSFromURL(_)).Times(0);
    EXPECT_CALL(page(), setBodyHTML(_)).Times(0);

    EXPECT_FALSE(form->load());
    EXPECT_TRUE(basGlobal::ProductPageHTML.isEmpty());
    EXPECT_TRUE(basGlobal::FormsPageHTML.isEmpty());
}

TEST_F(Form1Load, RefusedCssSourceLeavesPagesBuiltAndNoContent) {
    form = std::make_unique<Form1>(controls, platform);
    EXPECT_CALL(page(), AddMenuItem(_, _)).Times(2);
    EXPECT_CALL(page(), setCSSFromURL(_)).WillOnce(Throw(controlFailure()));
    EXPECT_CALL(page(), setBodyHTML(_)).Times(0);

    EXPECT_FALSE(form->load());
    EXPECT_EQ(basGlobal::ProductPageHTML.size(), 1525);
    EXPECT_EQ(basGlobal::PageState, 0);
}

TEST_F(Form1Load, RefusedContentIsReportedAfterTheCssSourceWasSet) {
    form = std::make_unique<Form1>(controls, platform);
    EXPECT_CALL(page(), setCSSFromURL(IsBool(false)));
    EXPECT_CALL(page(), setBodyHTML(_)).WillOnce(Throw(controlFailure()));

    EXPECT_FALSE(form->load());
    EXPECT_EQ(platform.messages.size(), 1);
}

}  // namespace
