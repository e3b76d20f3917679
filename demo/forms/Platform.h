#pragma once

#include <QString>

class QDialog;

namespace forms {

// The run-time services of the platform that the windows' procedures use.
class Platform {
public:
    virtual ~Platform() = default;
    // The directory of the executable, in the platform's native form; fails with a RuntimeError.
    virtual QString applicationDirectory() = 0;
    // What separates the folders of a path in that native form: "\" or "/".
    virtual QChar directorySeparator() = 0;
    // The system clipboard read as text; empty when it holds none.
    virtual QString clipboardText() = 0;
    // A modal message box with one OK button under the application's title.
    virtual void messageBox(const QString& prompt) = 0;
    // Shows a loaded window modally: the other windows take no input until the user has
    // closed it, and only then does the call return.
    virtual void showModal(QDialog& window) = 0;
};

}  // namespace forms
