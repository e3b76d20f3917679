#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

// Real input into the application's windows, as a person gives it. Under Wayland, with the
// compositor's seat to drive, it goes through the compositor: the pointer is moved onto the
// widget and the keys go to whatever has the keyboard. Elsewhere Qt Test puts it on the widget.
namespace input {

void click(QWidget* widget, const QPoint& at, Qt::MouseButton button = Qt::LeftButton);
void press(QWidget* widget, const QPoint& at, Qt::MouseButton button = Qt::LeftButton);
void move(QWidget* widget, const QPoint& to);
void release(QWidget* widget, const QPoint& at, Qt::MouseButton button = Qt::LeftButton);
// Key presses into the widget, which has the keyboard.
void type(QWidget* widget, const QString& text);
void key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {});

}  // namespace input
