#include "logic/Fakes.h"
#include "main_window/Form1.h"

#include <gmock/gmock.h>

#include <QPlainTextEdit>
#include <QPushButton>

using contract::Variant;
using testing::Return;
using testing::Throw;

namespace {

class Form1ViewCode : public testing::Test {
protected:
    MockBrowser& page() { return controls.vekBrowser1(); }
    void viewCode() { form.findChild<QPushButton*>(QStringLiteral("cmdViewCode"))->click(); }
    Form2* loaded() { return form.findChild<Form2*>(); }

    // What the user sees of Form2 while it is shown.
    struct Shown {
        QString title;
        QString text;
        QWidget* owner;
    };

    FakeControls controls;
    FakePlatform platform;
    Form1 form{controls, platform};
    std::vector<Shown> shown;

    void SetUp() override {
        platform.whileModal = [this](QDialog& window) {
            shown.push_back({window.windowTitle(), window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText(),
                             window.parentWidget()});
        };
    }
};

TEST_F(Form1ViewCode, ShowsASnapshotOfTheSourceInANewForm2EachTime) {
    EXPECT_CALL(page(), SourceHTML())
        .WillOnce(Return(Variant::fromString(QStringLiteral("<html><body>one</body></html>"))))
        .WillOnce(Return(Variant()));  // Empty gives an empty text box in a window that still opens

    viewCode();
    EXPECT_EQ(loaded(), nullptr) << "closing Form2 destroys its window and text";
    viewCode();
    EXPECT_EQ(loaded(), nullptr);

    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, QStringLiteral("Form2"));
    EXPECT_EQ(shown[0].text, QStringLiteral("<html><body>one</body></html>"));
    EXPECT_EQ(shown[0].owner, &form);
    EXPECT_EQ(shown[1].text, QString());
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(Form1ViewCode, UnreadableSourceLeavesForm2LoadedButHiddenUntilTheNextViewCode) {
    EXPECT_CALL(page(), SourceHTML())
        .WillOnce(Return(Variant::null()))
        .WillOnce(Throw(controlFailure()))
        .WillOnce(Return(Variant::fromString(QStringLiteral("later"))));

    viewCode();
    Form2* first = loaded();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(first->Text1->toPlainText().isEmpty());

    viewCode();
    EXPECT_EQ(loaded(), first) << "the loaded window is used again";
    EXPECT_EQ(platform.modalShows, 0);

    viewCode();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("later"));
    EXPECT_EQ(platform.messages, (QStringList{QStringLiteral("Run-time error '94':\n\nInvalid use of Null"),
                                              QStringLiteral("Run-time error '440':\n\nAutomation error")}));
}

}  // namespace
