#pragma once

#include "forms/QtPlatform.h"
#include "contract/DocumentObjects.h"
#include "main_window/Form1.h"

#include "contract/HtmlViewControl.h"

#include <QStringList>

#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QWebEngineView;

// The real application, Form1 with real display controls, loaded from the directory of the
// running program (which holds the pages' image) and shown; and a person's ways of using it:
// real mouse and keyboard input, and what the screen shows.
class RunningApp {
public:
    // Message boxes are noted; unless shown, they are not put on the screen, so that nothing
    // waits for a person to close them.
    enum class MessageBoxes { Noted, Shown };
    explicit RunningApp(MessageBoxes messageBoxes = MessageBoxes::Noted);

    // Whether Form1 loaded and its product page is on the screen.
    bool ready() const { return ready_; }
    Form1& form() { return *form_; }
    contract::vekBrowser& vekBrowser1() { return *controls_.created.at(0); }
    contract::vekBrowser& brClip() { return *controls_.created.at(1); }
    QWebEngineView* pageView() const;
    QString label(const char* name) const;
    // Message boxes the application showed, in order.
    const QStringList& messages() const { return platform_.messages; }

    // Evaluates a script in vekBrowser1's page, where the control's own script runs, and waits for it.
    QVariant inPage(const QString& script) const;
    // The centre of the first element matching a CSS selector, in the view's coordinates.
    QPoint centreOf(const QString& selector) const;
    // A point just inside the start of that element's first line of text.
    QPoint firstLineOf(const QString& selector) const;
    // A real mouse click in the page, as a person makes it.
    void click(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) const;
    void click(const QString& selector, Qt::MouseButton button = Qt::LeftButton) const { click(centreOf(selector), button); }
    // A real click on one of Form1's buttons.
    void clickButton(const char* name) const;
    // Right-clicks at a point and returns the control's menu, once it is open (null if it never opens).
    QMenu* openMenu(const QPoint& at) const;
    // Chooses the entry with that caption in an open menu, with a real click; false if it has none.
    bool choose(QMenu* menu, const QString& caption) const;
    // Opens one of Form1's menus with a click on its title; null if it does not open, or does
    // not show on the screen right under its title.
    QMenu* openMenuBar(const char* menuName) const;
    // Chooses an item of Form1's menu bar as a person does: a click on the menu's title, then
    // on the item; false if either could not be reached.
    bool chooseMenuItem(const char* menuName, const char* itemName) const;
    // Real key presses into the page.
    void type(const QString& text) const;
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const;
    // The inline background colour of the first element matching a selector.
    QString inlineBackground(const QString& selector) const;
    // The body markup that brClip shows.
    QString mirrorContent();

    // The first element of vekBrowser1's document with that tag, or null.
    std::shared_ptr<contract::IHTMLElement> first(const QString& tag);
    // The view's pixels as the user sees them.
    QImage screen() const;
    // Whether the page view shows the logo's dark blue somewhere in region.
    bool showsLogo(const QRect& region) const;
    // Whether the product page's logo is on the screen, at the page's top right.
    bool showsProductPage() const;
    // Saves what the user sees of the window, with any menu or box over it, as a PNG file.
    bool saveScreenshot(const QString& path) const;

private:
    class Controls : public contract::vekBrowserFactory {
    public:
        std::unique_ptr<contract::vekBrowser> create(QWidget* parent, const contract::DesignSettings& settings) override;
        std::vector<contract::vekBrowser*> created;

    private:
        contract::HtmlViewControls real_;
    };

    class Platform : public forms::QtPlatform {
    public:
        void messageBox(const QString& prompt) override;
        QStringList messages;
        bool shown = false;
    };

    Controls controls_;
    Platform platform_;
    std::unique_ptr<Form1> form_;
    bool ready_ = false;
};
