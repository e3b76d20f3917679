#include "source_viewer/Form2.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>

namespace {

class Form2Resize : public testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // Resizes the window as the window system would and waits until it has its new size.
    void resizeTo(int width, int height) {
        form.resize(width, height);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.size() == QSize(width, height); }));
    }

    // Text1 as Form_Resize fits it: at 10, 10 twips, 150 twips narrower and 450 twips lower
    // than the whole window.
    QRect fitted() const {
        const QSize outer = form.frameGeometry().size();
        return QRect(1, 1, outer.width() - 10, outer.height() - 30);
    }

    QWidget owner;
    Form2 form{&owner};
};

TEST_F(Form2Resize, TextBoxFollowsTheWindowAtEveryChange) {
    EXPECT_EQ(form.Text1->geometry(), fitted()) << "fitted as soon as the window is shown";
    resizeTo(600, 400);
    EXPECT_EQ(form.Text1->geometry(), fitted());
    resizeTo(200, 120);
    EXPECT_EQ(form.Text1->geometry(), fitted());
}

TEST_F(Form2Resize, NegativeSizeIsRefusedAndTheOtherStatementsStillRun) {
    resizeTo(400, 300);
    const QRect before = form.Text1->geometry();

    resizeTo(4, 300);  // less than 150 twips wide with its frame
    ASSERT_LT(form.frameGeometry().width(), 10);
    EXPECT_EQ(form.Text1->width(), before.width()) << "a negative width keeps the previous one";
    EXPECT_EQ(form.Text1->height(), fitted().height()) << "the height statement after it still runs";

    resizeTo(300, 20);  // less than 450 twips high with its frame
    ASSERT_LT(form.frameGeometry().height(), 30);
    EXPECT_EQ(form.Text1->width(), fitted().width());
    EXPECT_EQ(form.Text1->height(), before.height());
    EXPECT_EQ(form.Text1->pos(), QPoint(1, 1));
}

}  // namespace
