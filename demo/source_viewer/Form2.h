#pragma once

#include <QDialog>

class QPlainTextEdit;

// The source window: one multi-line text box, Text1, that follows the window's size.
class Form2 : public QDialog {
public:
    // Loads the window and Text1 in their design settings, without showing them. The window
    // comes up over owner.
    explicit Form2(QWidget* owner);

    QPlainTextEdit* Text1;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Resize();
};
