#include "driving/XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstring>

namespace {

// Windows come and go while they are looked at: a question about one that is gone fails, and
// the search goes on without it.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

XScreen::XScreen() : display_(XOpenDisplay(nullptr)) {
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

void XScreen::click() {
    XTestFakeButtonEvent(display_, Button1, True, CurrentTime);
    XTestFakeButtonEvent(display_, Button1, False, CurrentTime);
    XFlush(display_);
}

bool XScreen::anyPixel(const QRect& region, const std::function<bool(QRgb)>& test) const {
    if (region.isEmpty())
        return false;
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), region.x(), region.y(),
                              static_cast<unsigned>(region.width()), static_cast<unsigned>(region.height()), AllPlanes, ZPixmap);
    if (!image)
        return false;
    bool passed = false;
    for (int y = 0; y < region.height() && !passed; ++y)
        for (int x = 0; x < region.width() && !passed; ++x) {
            // Eight bits a channel, as on a virtual display and on today's desktops.
            const unsigned long pixel = XGetPixel(image, x, y);
            passed = test(qRgb(int((pixel & image->red_mask) >> 16), int((pixel & image->green_mask) >> 8),
                               int(pixel & image->blue_mask)));
        }
    XDestroyImage(image);
    return passed;
}
