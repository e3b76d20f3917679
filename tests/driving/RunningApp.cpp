#include "driving/RunningApp.h"

#include "driving/Input.h"
#include "driving/PageGeometry.h"
#include "driving/PageScript.h"
#include "driving/ProductPage.h"
#include "driving/ScreenGrab.h"
#include "driving/Wait.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

namespace {

// How long a menu or window that is up may take to show on the screen.
constexpr int ShownBoundMs = 5000;

}  // namespace

std::unique_ptr<contract::vekBrowser> RunningApp::Controls::create(QWidget* parent,
                                                                 const contract::DesignSettings& settings) {
    auto control = real_.create(parent, settings);
    created.push_back(control.get());
    return control;
}

void RunningApp::Platform::messageBox(const QString& prompt) {
    messages.append(prompt);
    if (shown)
        QtPlatform::messageBox(prompt);
}

RunningApp::RunningApp(MessageBoxes messageBoxes) {
    platform_.shown = messageBoxes == MessageBoxes::Shown;
    form_ = std::make_unique<Form1>(controls_, platform_);
    if (!form_->load())
        return;
    form_->show();
    form_->activateWindow();
    if (!QTest::qWaitForWindowActive(form_.get(), WaitBoundMs))
        qWarning("Form1 did not become the active window");
    // Ready for a person once the product page is on the screen.
    ready_ = waitFor([this] { return showsProductPage(); });
    if (!ready_)
        qWarning("the product page was not painted");
}

QWebEngineView* RunningApp::pageView() const {
    return form_->findChild<QWebEngineView*>(QStringLiteral("vekBrowser1"));
}

QString RunningApp::label(const char* name) const {
    return form_->findChild<QLabel*>(QLatin1String(name))->text();
}

std::shared_ptr<contract::IHTMLElement> RunningApp::first(const QString& tag) {
    auto all = vekBrowser1().Document().as<contract::IHTMLDocument2>()->all().as<contract::IHTMLElementCollection>();
    for (int i = 0; i < all->length(); ++i) {
        auto element = all->item(i).as<contract::IHTMLElement>();
        if (element->tagName() == tag)
            return element;
    }
    return nullptr;
}

QVariant RunningApp::inPage(const QString& script) const {
    return evaluateInPage(pageView(), script);
}

QPoint RunningApp::centreOf(const QString& selector) const {
    return boundingBox(pageView(), selector).center();
}

QPoint RunningApp::firstLineOf(const QString& selector) const {
    return boundingBox(pageView(), selector).topLeft() + QPoint(20, 6);
}

void RunningApp::click(const QPoint& at, Qt::MouseButton button) const {
    input::click(pageView()->focusProxy(), at, button);
}

void RunningApp::type(const QString& text) const {
    input::type(pageView()->focusProxy(), text);
}

void RunningApp::press(Qt::Key key, Qt::KeyboardModifiers modifiers) const {
    input::key(pageView()->focusProxy(), key, modifiers);
}

QMenu* RunningApp::openMenuBar(const char* menuName) const {
    auto* menu = form_->findChild<QMenu*>(QLatin1String(menuName));
    if (!menu)
        return nullptr;
    QMenuBar* bar = form_->menuBar();
    const QRect title = bar->actionGeometry(menu->menuAction());
    input::click(bar, title.center());
    if (!waitFor([&] { return menu->isVisible(); })) {
        qWarning("the menu %s did not open", menuName);
        return nullptr;
    }
    // On the screen, right under its title.
    const auto under = onScreen(bar, title.bottomLeft() + QPoint(0, 1));
    if (under && waitFor([&] { return showsWidgetAt(menu, *under); }, ShownBoundMs))
        return menu;
    qWarning("the menu %s did not show under its title", menuName);
    return nullptr;
}

bool RunningApp::chooseMenuItem(const char* menuName, const char* itemName) const {
    QMenu* menu = openMenuBar(menuName);
    auto* item = form_->findChild<QAction*>(QLatin1String(itemName));
    if (!menu || !item)
        return false;
    input::click(menu, menu->actionGeometry(item).center());
    if (waitFor([&] { return !menu->isVisible(); }))
        return true;
    qWarning("the menu %s did not close after its item %s was clicked", menuName, itemName);
    return false;
}

void RunningApp::clickButton(const char* name) const {
    auto* button = form_->findChild<QPushButton*>(QLatin1String(name));
    input::click(button, button->rect().center());
}

QMenu* RunningApp::openMenu(const QPoint& at) const {
    click(at, Qt::RightButton);
    QMenu* menu = nullptr;
    if (waitFor([&] {
            menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu && menu->isVisible();
        }))
        return menu;
    qWarning("the control's right-click menu did not open");
    return nullptr;
}

bool RunningApp::choose(QMenu* menu, const QString& caption) const {
    for (QAction* action : menu->actions()) {
        if (action->text() == caption) {
            input::click(menu, menu->actionGeometry(action).center());
            return true;
        }
    }
    return false;
}

QString RunningApp::inlineBackground(const QString& selector) const {
    return inPage(QStringLiteral("document.querySelector(%1).style.backgroundColor").arg(scriptString(selector))).toString();
}

QString RunningApp::mirrorContent() {
    return brClip().Document().as<contract::IHTMLDocument2>()->body().as<contract::IHTMLElement>()
        ->readMember(QStringLiteral("innerHTML")).toText();
}

QImage RunningApp::screen() const {
    return pageView()->grab().toImage();
}

bool RunningApp::showsLogo(const QRect& region) const {
    return product_page::showsLogo(screen(), region);
}

bool RunningApp::showsProductPage() const {
    return showsLogo(product_page::logoCorner(pageView()->size()));
}

bool RunningApp::saveScreenshot(const QString& path) const {
    // From the screen, so that popups over the window (menus, message boxes) are in it too.
    return saveScreen(form_.get(), path);
}
