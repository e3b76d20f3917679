#include "driving/Seat.h"

#include "driving/Wait.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <X11/keysym.h>

#include <algorithm>
#include <memory>

namespace {

// How long the application may take to feel the pointer before it counts as over none of its
// windows, and a press or release of a button or key before it counts as lost.
constexpr int FeltBoundMs = 500;
constexpr int PressBoundMs = 2000;

unsigned long keySymbol(Qt::Key key) {
    switch (key) {
    case Qt::Key_Tab: return XK_Tab;
    case Qt::Key_Return: return XK_Return;
    case Qt::Key_Enter: return XK_KP_Enter;
    case Qt::Key_Escape: return XK_Escape;
    case Qt::Key_Up: return XK_Up;
    case Qt::Key_Down: return XK_Down;
    case Qt::Key_Left: return XK_Left;
    case Qt::Key_Right: return XK_Right;
    case Qt::Key_Shift: return XK_Shift_L;
    case Qt::Key_Control: return XK_Control_L;
    case Qt::Key_Alt: return XK_Alt_L;
    default:
        // Printable keys: their symbol is the character's, lower case for letters.
        return key >= 0x20 && key <= 0x7e ? QChar(int(key)).toLower().unicode() : 0;
    }
}

}  // namespace

Seat* Seat::find() {
    static const std::unique_ptr<Seat> seat = []() -> std::unique_ptr<Seat> {
        const QByteArray host = qgetenv("LUMETTO_SEAT_DISPLAY");
        if (host.isEmpty() || QGuiApplication::platformName() != QLatin1String("wayland"))
            return nullptr;
        std::unique_ptr<Seat> found(new Seat(host.constData()));
        if (found->host_.usable() && !found->output_.isEmpty())
            return found;
        qWarning("the compositor's output on the host display %s cannot take input", host.constData());
        return nullptr;
    }();
    return seat.get();
}

Seat::Seat(const char* hostDisplay) : host_(hostDisplay) {
    if (!host_.usable())
        return;
    // The output is the host's window at its origin; its points are the output's, in host
    // coordinates.
    output_ = host_.windowAreaAt(QPoint(0, 0)).value_or(QRect());
    // The compositor follows the host's pointer by how far it moves, and takes its position
    // as it is only when it comes into the output's window: the pointer leaves the output
    // once (the host display is wider), so that it comes back where the host has it.
    host_.movePointer(QPoint(output_.right() + 1, output_.top()));
    qApp->installEventFilter(this);
}

bool Seat::eventFilter(QObject* receiver, QEvent* event) {
    if (!receiver->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        // Where the window has the pointer in its own coordinates tells where the window
        // starts. (Qt's global coordinates on Wayland are its own guess, and the enter events
        // it makes up for a window shown under the pointer carry no position.)
        if (pointer_) {
            auto* window = static_cast<QWindow*>(receiver);
            origins_[window] = *pointer_ - static_cast<QMouseEvent*>(event)->position().toPoint();
            felt_ = window;
            ++feltEvents_;
        }
        break;
    case QEvent::Hide:
        // Shown again, a menu or a window may be put elsewhere.
        origins_.remove(static_cast<QWindow*>(receiver));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        ++buttonEvents_;
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        ++keyEvents_;
        break;
    default:
        break;
    }
    return false;
}

bool Seat::movePointer(const QPoint& to) {
    if (pointer_ == to && felt_)
        return true;
    const int before = feltEvents_;
    felt_.clear();
    pointer_ = to;
    host_.movePointer(to);
    return waitFor([&] { return feltEvents_ != before && felt_; }, FeltBoundMs);
}

std::optional<QPoint> Seat::originOf(QWindow* window) {
    if (origins_.contains(window))
        return origins_.value(window);
    // Menus and dialogs are placed over the window they belong to: first where the application
    // asked for them there (menus), then over its middle (dialogs, which the compositor
    // centres). Then the whole output, from its centre out: a window bigger than half the
    // output covers its centre wherever it is put.
    QList<QPoint> candidates;
    if (QWindow* parent = window->transientParent(); parent && origins_.contains(parent)) {
        const QPoint middle(window->width() / 2, window->height() / 2);
        candidates << origins_.value(parent) + window->position() - parent->position() + middle
                   << origins_.value(parent) + QPoint(parent->width() / 2, parent->height() / 2);
    }
    candidates << output_.center();
    const int step = std::max(16, std::min(window->width(), window->height()) / 2);
    QList<QPoint> grid;
    for (int y = step / 2; y < output_.height(); y += step)
        for (int x = step / 2; x < output_.width(); x += step)
            grid << output_.topLeft() + QPoint(x, y);
    const QPoint centre = output_.center();
    std::stable_sort(grid.begin(), grid.end(), [&](const QPoint& a, const QPoint& b) {
        return (a - centre).manhattanLength() < (b - centre).manhattanLength();
    });
    candidates << grid;
    for (const QPoint& candidate : candidates) {
        if (!output_.contains(candidate) || !movePointer(candidate) || felt_ != window)
            continue;
        // Felt alike at a second point, so that a late event of an earlier move, felt after
        // the pointer moved on, cannot mislead.
        const QPoint found = origins_.value(window);
        if (movePointer(candidate + QPoint(1, 1)) && felt_ == window && origins_.value(window) == found)
            return found;
    }
    qWarning("the window \"%s\" was not found on the output", qPrintable(window->title()));
    return std::nullopt;
}

std::optional<QPoint> Seat::onOutput(QWidget* widget, const QPoint& at) {
    const auto origin = originOf(widget->window()->windowHandle());
    if (!origin)
        return std::nullopt;
    return *origin + widget->mapTo(widget->window(), at);
}

bool Seat::pointAt(QWidget* widget, const QPoint& at) {
    QWindow* window = widget->window()->windowHandle();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto point = onOutput(widget, at);
        if (!point)
            return false;
        const QPoint origin = origins_.value(window);
        // Felt by the window at the point meant: its place on the output is as found.
        if (movePointer(*point) && felt_ == window && origins_.value(window) == origin)
            return true;
        // Moved, or covered: found anew.
        if (felt_ != window)
            origins_.remove(window);
    }
    qWarning("the pointer could not be put on the window \"%s\"", qPrintable(window->title()));
    return false;
}

void Seat::button(Qt::MouseButton button, bool down) {
    // Presses in quick succession make a double click: a press that is meant as a click of its
    // own comes after the double-click time, as Qt Test spaces its clicks.
    const int doubleClick = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    if (down && lastPress_.isValid() && lastPress_.elapsed() <= doubleClick)
        QTest::qWait(int(doubleClick - lastPress_.elapsed()) + 50);
    if (down)
        lastPress_.start();
    if (down)
        popupAtPress_ = QApplication::activePopupWidget();
    const int before = buttonEvents_;
    host_.button(button, down);
    // A press that opens a menu away from the pointer gives the menu the pointer, and the
    // release goes to no window of the application.
    if (!waitFor([&] { return buttonEvents_ != before || QApplication::activePopupWidget() != popupAtPress_; }, PressBoundMs))
        qWarning("a mouse button's %s was not felt", down ? "press" : "release");
}

bool Seat::key(unsigned long symbol, bool down) {
    if (down)
        focusAtPress_ = QGuiApplication::focusWindow();
    const int before = keyEvents_;
    if (!host_.key(symbol, down))
        return false;
    // A press that closes the window with the keyboard leaves its release to no window.
    return waitFor([&] { return keyEvents_ != before || QGuiApplication::focusWindow() != focusAtPress_; }, PressBoundMs);
}

void Seat::type(const QString& text) {
    for (const QChar character : text) {
        // Latin-1 characters' key symbols are their codes.
        if (!key(character.unicode(), true) || !key(character.unicode(), false))
            qWarning("the key for \"%s\" was not felt", qPrintable(QString(character)));
    }
}

void Seat::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QList<unsigned long> held;
    if (modifiers & Qt::ShiftModifier)
        held << XK_Shift_L;
    if (modifiers & Qt::ControlModifier)
        held << XK_Control_L;
    if (modifiers & Qt::AltModifier)
        held << XK_Alt_L;
    held << keySymbol(key);
    bool felt = true;
    for (unsigned long symbol : held)
        felt = this->key(symbol, true) && felt;
    for (auto symbol = held.crbegin(); symbol != held.crend(); ++symbol)
        felt = this->key(*symbol, false) && felt;
    if (!felt)
        qWarning("the key 0x%x was not felt", unsigned(key));
}
