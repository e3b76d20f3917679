#pragma once

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
    XScreen();
    ~XScreen();
    XScreen(const XScreen&) = delete;
    XScreen& operator=(const XScreen&) = delete;

    // Whether the display opened and has the XTest extension.
    bool usable() const { return usable_; }

    // The origin, in root coordinates, of the shown window with that title; null if there is none.
    std::optional<QPoint> windowOrigin(const char* title) const;
    // Moves the shown window with that title so that its origin is at a root point.
    void moveWindow(const char* title, const QPoint& to);

    // The pointer to a root point, as a person moves the mouse.
    void movePointer(const QPoint& at);
    // A click of the left button where the pointer is.
    void click();

    // Whether any pixel of a region of the screen passes the test.
    bool anyPixel(const QRect& region, const std::function<bool(QRgb)>& test) const;

private:
    unsigned long findWindow(unsigned long under, const char* title, int depth) const;

    _XDisplay* display_ = nullptr;
    bool usable_ = false;
};
