#pragma once

#include <QTimer>

#include <functional>

class QDialog;

// Looks at the next modal window once it is up, then closes it as a person would. Made before
// the click that shows the window, since that click returns only when the window is closed.
class WhileModal {
public:
    explicit WhileModal(std::function<void(QDialog&)> look);
    bool looked() const { return looked_; }

private:
    std::function<void(QDialog&)> look_;
    QTimer poll_;
    bool looked_ = false;
};
