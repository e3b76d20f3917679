#include "driving/RunningApp.h"
#include "driving/Wait.h"
#include "driving/WhileModal.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

namespace {

// The control the keyboard focus is in: a button itself, or the display control whose page has it.
QString focusedControl() {
    QWidget* w = QApplication::focusWidget();
    if (!w)
        return QStringLiteral("none");
    if (!w->objectName().isEmpty())
        return w->objectName();
    return w->parentWidget() ? w->parentWidget()->objectName() : QStringLiteral("?");
}

// A key press where the keyboard goes: to an open menu, else to the focused widget.
void key(Qt::Key k) {
    QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
    QTest::keyClick(target, k);
    QTest::qWait(150);
}

TEST(Keyboard, TabMovesThroughTheControlsInTheDesignedOrderAndKeysPressTheButtons) {
    RunningApp app;
    app.pageView()->setFocus();
    QStringList visited{focusedControl()};
    for (int i = 0; i < 5; ++i) {
        key(Qt::Key_Tab);
        visited << focusedControl();
    }
    // In the page the Tab key first reaches its link, then leaves it for the next control.
    EXPECT_EQ(visited, (QStringList{QStringLiteral("vekBrowser1"), QStringLiteral("vekBrowser1"), QStringLiteral("cmdViewCode"),
                                    QStringLiteral("brClip"), QStringLiteral("Command1"), QStringLiteral("vekBrowser1")}));

    auto* command1 = app.form().findChild<QPushButton*>(QStringLiteral("Command1"));
    command1->setFocus();
    const QImage focused = command1->grab().toImage();
    key(Qt::Key_Space);
    EXPECT_EQ(app.messages(), QStringList{QString()}) << "Space pressed the focused button";
    app.pageView()->setFocus();
    QTest::qWait(100);
    EXPECT_NE(command1->grab().toImage(), focused) << "the focused button looks focused";

    auto* viewCode = app.form().findChild<QPushButton*>(QStringLiteral("cmdViewCode"));
    viewCode->setFocus();
    WhileModal form2([](QDialog& window) { EXPECT_EQ(window.windowTitle(), QStringLiteral("Form2")); });
    QTest::keyClick(viewCode, Qt::Key_Space);
    EXPECT_TRUE(form2.looked());
}

TEST(Keyboard, MenusAreChosenWithAltArrowsAndEnter) {
    RunningApp app;
    app.pageView()->setFocus();
    key(Qt::Key_Alt);  // the menu bar, on "CSS"
    key(Qt::Key_Down);  // opens it, on "Set bg to Green"
    ASSERT_EQ(QApplication::activePopupWidget(), app.form().findChild<QMenu*>(QStringLiteral("mnuCSS")));
    key(Qt::Key_Return);
    const QPoint empty(app.pageView()->width() / 2, app.pageView()->height() - 4);
    EXPECT_TRUE(waitFor([&] { return app.screen().pixelColor(empty) == QColor(0, 128, 0); }));

    auto* allowSelection = app.form().findChild<QAction*>(QStringLiteral("mnuOptSelect"));
    ASSERT_TRUE(allowSelection->isChecked());
    key(Qt::Key_Alt);
    key(Qt::Key_Right);  // "Options"
    key(Qt::Key_Down);
    ASSERT_EQ(QApplication::activePopupWidget(), app.form().findChild<QMenu*>(QStringLiteral("mnuOpt")));
    key(Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] { return !allowSelection->isChecked(); }));
    EXPECT_FALSE(app.vekBrowser1().AllowMouseSelect().toBool());
    EXPECT_TRUE(app.messages().isEmpty());
}

}  // namespace
