#pragma once

#include "driving/XScreen.h"

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

#include <optional>

class QWidget;
class QWindow;

// The seat of the Wayland compositor the application runs under: its pointer and keyboard.
// The compositor (weston on its X11 backend) shows its output in a window of a host X display
// and takes its input from there; input sent into that display with XTest reaches the
// application as a person's does, as pointer and keyboard events from the compositor, and the
// output's pixels are read back from the host.
//
// The compositor puts windows where it chooses, and a Wayland client cannot ask where. The
// seat finds a window by moving the pointer over the output until the window feels it; where
// the window says the pointer entered tells where the window is.
class Seat : public QObject {
public:
    // The seat whose host X display LUMETTO_SEAT_DISPLAY names, while Qt runs on Wayland;
    // null otherwise.
    static Seat* find();

    // Where on the output a point of a widget is shown; null if the widget's window could not
    // be found there.
    std::optional<QPoint> onOutput(QWidget* widget, const QPoint& at);
    // The pointer over a point of a widget, as a person moves the mouse; false if the widget's
    // window did not feel it there.
    bool pointAt(QWidget* widget, const QPoint& at);
    // A press or a release of a mouse button where the pointer is, once the application felt it.
    void button(Qt::MouseButton button, bool down);
    // Key presses, one after another, as a person types them; to whatever has the keyboard.
    void type(const QString& text);
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {});

    // A region of the output as it is shown.
    QImage image(const QRect& region) const { return host_.image(region); }
    // The output, in the host's coordinates, which are the ones the seat gives.
    QRect output() const { return output_; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    explicit Seat(const char* hostDisplay);
    // Where a window's own coordinates start on the output, found with the pointer.
    std::optional<QPoint> originOf(QWindow* window);
    // Moves the pointer to an output point and waits until one of the application's windows
    // feels it there; false if none does.
    bool movePointer(const QPoint& to);
    bool key(unsigned long symbol, bool down);

    XScreen host_;
    QRect output_;
    // Where each window's coordinates start on the output, as far as found.
    QHash<QWindow*, QPoint> origins_;
    // The last pointer position a window of the application felt, and where it felt it.
    QPointer<QWindow> felt_;
    QPoint feltAt_;
    std::optional<QPoint> pointer_;  // on the output, once moved
    int feltEvents_ = 0;
    int buttonEvents_ = 0;
    int keyEvents_ = 0;
    QElapsedTimer lastPress_;
    QPointer<QWidget> popupAtPress_;
    QPointer<QWindow> focusAtPress_;
};
