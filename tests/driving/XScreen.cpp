#include "driving/XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>

namespace {

// Windows come and go while they are looked at: a question about one that is gone fails, and
// the search goes on without it.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

XScreen::XScreen(const char* displayName) : display_(XOpenDisplay(displayName)) {
    XSetErrorHandler(ignoreError);
    int event = 0, error = 0, major = 0, minor = 0;
    usable_ = display_ && XTestQueryExtension(display_, &event, &error, &major, &minor);
}

XScreen::~XScreen() {
    if (display_)
        XCloseDisplay(display_);
}

// Top-level windows are children of the root, or of a window manager's frame one level down.
unsigned long XScreen::findWindow(unsigned long under, const char* title, int depth) const {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, under, &root, &parent, &children, &count))
        return 0;
    unsigned long found = 0;
    for (unsigned int i = count; i-- > 0 && !found;) {  // topmost first
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        char* name = nullptr;
        if (XFetchName(display_, children[i], &name) && name) {
            if (std::strcmp(name, title) == 0)
                found = children[i];
            XFree(name);
        }
        if (!found && depth > 0)
            found = findWindow(children[i], title, depth - 1);
    }
    if (children)
        XFree(children);
    return found;
}

std::optional<QPoint> XScreen::windowOrigin(const char* title) const {
    const Window root = DefaultRootWindow(display_);
    const Window window = findWindow(root, title, 1);
    if (!window)
        return std::nullopt;
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, root, 0, 0, &x, &y, &child);
    return QPoint(x, y);
}

std::optional<QRect> XScreen::windowAreaAt(const QPoint& at) const {
    const Window root = DefaultRootWindow(display_);
    int x = 0, y = 0;
    Window window = 0;
    XWindowAttributes attributes{};
    if (!XTranslateCoordinates(display_, root, root, at.x(), at.y(), &x, &y, &window) || !window ||
        !XGetWindowAttributes(display_, window, &attributes))
        return std::nullopt;
    return QRect(attributes.x, attributes.y, attributes.width, attributes.height);
}

void XScreen::moveWindow(const char* title, const QPoint& to) {
    if (const Window window = findWindow(DefaultRootWindow(display_), title, 1)) {
        XMoveWindow(display_, window, to.x(), to.y());
        XSync(display_, False);
    }
}

void XScreen::movePointer(const QPoint& at) {
    XTestFakeMotionEvent(display_, -1, at.x(), at.y(), CurrentTime);
    XFlush(display_);
}

void XScreen::button(Qt::MouseButton button, bool down) {
    const unsigned int number = button == Qt::RightButton ? Button3 : button == Qt::MiddleButton ? Button2 : Button1;
    XTestFakeButtonEvent(display_, number, down ? True : False, CurrentTime);
    XFlush(display_);
}

void XScreen::click(Qt::MouseButton button) {
    this->button(button, true);
    this->button(button, false);
}

bool XScreen::key(unsigned long keySymbol, bool down) {
    const KeyCode code = XKeysymToKeycode(display_, keySymbol);
    if (code == 0)
        return false;
    // A symbol that is not on the key's first level is typed with Shift, as a person types it.
    const KeyCode shift = XkbKeycodeToKeysym(display_, code, 0, 0) == keySymbol ? 0 : XKeysymToKeycode(display_, XK_Shift_L);
    if (shift && down)
        XTestFakeKeyEvent(display_, shift, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
    if (shift && !down)
        XTestFakeKeyEvent(display_, shift, False, CurrentTime);
    XFlush(display_);
    return true;
}

QImage XScreen::image(const QRect& region) const {
    if (region.isEmpty())
        return {};
    XImage* shown = XGetImage(display_, DefaultRootWindow(display_), region.x(), region.y(),
                              static_cast<unsigned>(region.width()), static_cast<unsigned>(region.height()), AllPlanes, ZPixmap);
    if (!shown)
        return {};
    QImage image(region.size(), QImage::Format_RGB32);
    for (int y = 0; y < region.height(); ++y)
        for (int x = 0; x < region.width(); ++x) {
            // Eight bits a channel, as on a virtual display and on today's desktops.
            const unsigned long pixel = XGetPixel(shown, x, y);
            image.setPixel(x, y, qRgb(int((pixel & shown->red_mask) >> 16), int((pixel & shown->green_mask) >> 8),
                                      int(pixel & shown->blue_mask)));
        }
    XDestroyImage(shown);
    return image;
}

bool XScreen::anyPixel(const QRect& region, const std::function<bool(QRgb)>& test) const {
    const QImage shown = image(region);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (test(shown.pixel(x, y)))
                return true;
    return false;
}
