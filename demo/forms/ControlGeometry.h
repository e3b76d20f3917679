#pragma once

class QWidget;

// Reading a window's outer size and setting a control's position and size, in twips, as the
// procedures do it. A setting the control refuses fails with "Invalid property value" and leaves
// the control as it was: a negative width or height, or a value that is no finite number or
// lies beyond the window system's range.
namespace forms {

// The whole window with its frame and title bar.
float outerWidth(const QWidget& window);
float outerHeight(const QWidget& window);

void setTop(QWidget& control, float twips);
void setLeft(QWidget& control, float twips);
void setWidth(QWidget& control, float twips);
void setHeight(QWidget& control, float twips);

}  // namespace forms
