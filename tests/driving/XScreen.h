#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

#include <functional>
#include <optional>

struct _XDisplay;

// The screen as the X server has it, from outside every program on it: windows found by their
// titles, pixels read from the root window, real input sent through the XTest extension.
class XScreen {
public:
    // The display of that name, or the one DISPLAY names.
    explicit XScreen(const char* displayName = nullptr);
    ~XScreen();
    XScreen(const XScreen&) = delete;
    XScreen& operator=(const XScreen&) = delete;

    // Whether the display opened and has the XTest extension.
    bool usable() const { return usable_; }

    // The origin, in root coordinates, of the shown window with that title; null if there is none.
    std::optional<QPoint> windowOrigin(const char* title) const;
    // The area, in root coordinates, of the top-level window at a root point; null if there is none.
    std::optional<QRect> windowAreaAt(const QPoint& at) const;
    // Moves the shown window with that title so that its origin is at a root point.
    void moveWindow(const char* title, const QPoint& to);

    // The pointer to a root point, as a person moves the mouse.
    void movePointer(const QPoint& at);
    // A press or a release of a mouse button where the pointer is.
    void button(Qt::MouseButton button, bool down);
    // A click of a button where the pointer is.
    void click(Qt::MouseButton button = Qt::LeftButton);
    // A press or a release of the key that gives that key symbol, with Shift where the
    // keyboard needs it for the symbol; false if no key gives it.
    bool key(unsigned long keySymbol, bool down);

    // A region of the screen as it is shown.
    QImage image(const QRect& region) const;
    // Whether any pixel of a region of the screen passes the test.
    bool anyPixel(const QRect& region, const std::function<bool(QRgb)>& test) const;

private:
    unsigned long findWindow(unsigned long under, const char* title, int depth) const;

    _XDisplay* display_ = nullptr;
    bool usable_ = false;
};
