#include "e2e/AppHarness.h"

#include "support/PageGeometry.h"
#include "support/PageScript.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QWebEngineView>

std::unique_ptr<hosted::vekBrowser> AppHarness::Controls::create(QWidget* parent,
                                                                 const hosted::DesignSettings& settings) {
    auto control = real_.create(parent, settings);
    created.push_back(control.get());
    return control;
}

AppHarness::AppHarness(bool realMessageBoxes) {
    platform_.realMessageBoxes = realMessageBoxes;
    QFile::copy(QStringLiteral(LUMETTO_ICON), directory_.filePath(QStringLiteral("icon-logo.gif")));
    platform_.directory = directory_.path();
    form_ = std::make_unique<Form1>(controls_, platform_);
    if (!form_->load())
        return;
    form_->show();
    form_->activateWindow();
    if (!QTest::qWaitForWindowActive(form_.get()))
        qWarning("Form1 did not become the active window");
    // Ready for a person once the product page is on the screen.
    if (!waitFor([this] { return showsLogo(QRect(pageView()->width() - 64, 0, 64, 64)); }))
        qWarning("the product page was not painted");
}

QWebEngineView* AppHarness::pageView() const {
    return form_->findChild<QWebEngineView*>(QStringLiteral("vekBrowser1"));
}

QString AppHarness::label(const char* name) const {
    return form_->findChild<QLabel*>(QLatin1String(name))->text();
}

std::shared_ptr<hosted::IHTMLElement> AppHarness::first(const QString& tag) {
    auto all = vekBrowser1().Document().as<hosted::IHTMLDocument2>()->all().as<hosted::IHTMLElementCollection>();
    for (int i = 0; i < all->length(); ++i) {
        auto element = all->item(i).as<hosted::IHTMLElement>();
        if (element->tagName() == tag)
            return element;
    }
    return nullptr;
}

QVariant AppHarness::inPage(const QString& script) const {
    return evaluateInPage(pageView(), script);
}

QPoint AppHarness::centreOf(const QString& selector) const {
    return boundingBox(pageView(), selector).center();
}

void AppHarness::click(const QPoint& at, Qt::MouseButton button) const {
    QTest::mouseClick(pageView()->focusProxy(), button, {}, at);
}

void AppHarness::type(const QString& text) const {
    QTest::keyClicks(pageView()->focusProxy(), text);
}

void AppHarness::press(Qt::Key key, Qt::KeyboardModifiers modifiers) const {
    QTest::keyClick(pageView()->focusProxy(), key, modifiers);
}

void AppHarness::chooseMenuItem(const char* menuName, const char* itemName) const {
    auto* menu = form_->findChild<QMenu*>(QLatin1String(menuName));
    auto* item = form_->findChild<QAction*>(QLatin1String(itemName));
    ASSERT_TRUE(menu && item);
    QMenuBar* bar = form_->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(waitFor([&] { return menu->isVisible(); }));
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
    ASSERT_TRUE(waitFor([&] { return !menu->isVisible(); }));
}

QMenu* AppHarness::openMenu(const QPoint& at) const {
    click(at, Qt::RightButton);
    QMenu* menu = nullptr;
    waitFor([&] {
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu && menu->isVisible();
    });
    return menu;
}

void AppHarness::choose(QMenu* menu, const QString& caption) const {
    for (QAction* action : menu->actions()) {
        if (action->text() == caption) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return;
        }
    }
    ADD_FAILURE() << "no menu entry " << caption.toStdString();
}

QString AppHarness::inlineBackground(const QString& selector) const {
    return inPage(QStringLiteral("document.querySelector(%1).style.backgroundColor").arg(scriptString(selector))).toString();
}

QString AppHarness::mirrorContent() {
    return brClip().Document().as<hosted::IHTMLDocument2>()->body().as<hosted::IHTMLElement>()
        ->readMember(QStringLiteral("innerHTML")).toText();
}

QImage AppHarness::screen() const {
    return pageView()->grab().toImage();
}

bool AppHarness::showsLogo(const QRect& region) const {
    const QImage image = screen();
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (image.pixelColor(x, y) == QColor(26, 74, 140))
                return true;
    return false;
}

void AppHarness::saveScreenshot(const QString& name) const {
    QDir().mkpath(QStringLiteral("screenshots"));
    // From the screen, so that popups over the window (menus, message boxes) are in it too.
    const QRect area = form_->frameGeometry();
    QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .save(QStringLiteral("screenshots/%1.png").arg(name));
}
