#include "driving/Input.h"

#include "driving/Seat.h"

#include <QTest>

namespace input {

void click(QWidget* widget, const QPoint& at, Qt::MouseButton button) {
    if (Seat* seat = Seat::find()) {
        if (seat->pointAt(widget, at)) {
            seat->button(button, true);
            seat->button(button, false);
        }
        return;
    }
    QTest::mouseClick(widget, button, {}, at);
}

void press(QWidget* widget, const QPoint& at, Qt::MouseButton button) {
    if (Seat* seat = Seat::find()) {
        if (seat->pointAt(widget, at))
            seat->button(button, true);
        return;
    }
    QTest::mousePress(widget, button, {}, at);
}

void move(QWidget* widget, const QPoint& to) {
    if (Seat* seat = Seat::find())
        seat->pointAt(widget, to);
    else
        QTest::mouseMove(widget, to);
}

void release(QWidget* widget, const QPoint& at, Qt::MouseButton button) {
    if (Seat* seat = Seat::find()) {
        seat->pointAt(widget, at);
        seat->button(button, false);
        return;
    }
    QTest::mouseRelease(widget, button, {}, at);
}

void type(QWidget* widget, const QString& text) {
    if (Seat* seat = Seat::find())
        seat->type(text);
    else
        QTest::keyClicks(widget, text);
}

void key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (Seat* seat = Seat::find())
        seat->press(key, modifiers);
    else
        QTest::keyClick(widget, key, modifiers);
}

}  // namespace input
