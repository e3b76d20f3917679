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

#include <functional>
#include <string>

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

// A key press where the keyboard goes (to an open menu, else to the focused widget), then a
// wait until it has had its effect.
void key(Qt::Key k, const std::function<bool()>& done, const std::string& effect) {
    QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
    QTest::keyClick(target, k);
    EXPECT_TRUE(waitFor(done)) << effect << " did not happen";
}

TEST(Keyboard, TabMovesThroughTheControlsInTheDesignedOrderAndKeysPressTheButtons) {
    RunningApp app;
    app.pageView()->setFocus();
    const auto focusInPage = [&] { return app.inPage(QStringLiteral("document.activeElement.tagName")).toString(); };
    // In the page the Tab key first reaches its link, then leaves it for the next control.
    const std::pair<const char*, const char*> order[] = {
        {"vekBrowser1", "A"}, {"cmdViewCode", nullptr}, {"brClip", nullptr}, {"Command1", nullptr}, {"vekBrowser1", nullptr}};
    for (const auto& [control, element] : order)
        key(Qt::Key_Tab, [&] { return focusedControl() == QLatin1String(control) && (!element || focusInPage() == QLatin1String(element)); },
            std::string("Tab to ") + control + (element ? std::string(" ") + element : std::string()));

    auto* command1 = app.form().findChild<QPushButton*>(QStringLiteral("Command1"));
    command1->setFocus();
    const QImage focused = command1->grab().toImage();
    key(Qt::Key_Space, [&] { return !app.messages().isEmpty(); }, "Space pressing the focused button");
    EXPECT_EQ(app.messages(), QStringList{QString()});
    app.pageView()->setFocus();
    EXPECT_TRUE(waitFor([&] { return command1->grab().toImage() != focused; })) << "the focused button looks focused";

    auto* viewCode = app.form().findChild<QPushButton*>(QStringLiteral("cmdViewCode"));
    viewCode->setFocus();
    WhileModal form2([](QDialog& window) { EXPECT_EQ(window.windowTitle(), QStringLiteral("Form2")); });
    QTest::keyClick(viewCode, Qt::Key_Space);
    EXPECT_TRUE(form2.looked());
}

TEST(Keyboard, MenusAreChosenWithAltArrowsAndEnter) {
    RunningApp app;
    app.pageView()->setFocus();
    QMenuBar* bar = app.form().menuBar();
    auto* css = app.form().findChild<QMenu*>(QStringLiteral("mnuCSS"));
    auto* options = app.form().findChild<QMenu*>(QStringLiteral("mnuOpt"));
    const auto popup = [](QMenu* menu) { return [menu] { return QApplication::activePopupWidget() == menu; }; };
    const auto closed = [] { return !QApplication::activePopupWidget(); };
    key(Qt::Key_Alt, [&] { return bar->activeAction() == css->menuAction(); }, "Alt reaching \"CSS\"");
    key(Qt::Key_Down, popup(css), "Down opening \"CSS\"");  // on "Set bg to Green"
    key(Qt::Key_Return, closed, "Return choosing");
    const QPoint empty(app.pageView()->width() / 2, app.pageView()->height() - 4);
    EXPECT_TRUE(waitFor([&] { return app.screen().pixelColor(empty) == QColor(0, 128, 0); }));

    auto* allowSelection = app.form().findChild<QAction*>(QStringLiteral("mnuOptSelect"));
    ASSERT_TRUE(allowSelection->isChecked());
    key(Qt::Key_Alt, [&] { return bar->activeAction() == css->menuAction(); }, "Alt reaching \"CSS\"");
    key(Qt::Key_Right, [&] { return bar->activeAction() == options->menuAction(); }, "Right reaching \"Options\"");
    key(Qt::Key_Down, popup(options), "Down opening \"Options\"");
    key(Qt::Key_Return, closed, "Return choosing");
    EXPECT_TRUE(waitFor([&] { return !allowSelection->isChecked(); }));
    EXPECT_FALSE(app.vekBrowser1().AllowMouseSelect().toBool());
    EXPECT_TRUE(app.messages().isEmpty());
}

}  // namespace
