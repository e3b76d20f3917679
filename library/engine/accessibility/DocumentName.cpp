#include "engine/accessibility/DocumentName.h"

#include <QAccessibleInterface>
#include <QWidget>

namespace lumetto::engine {

DocumentName::DocumentName(QWidget* control, std::function<void(const QString&)> named)
    : control_(control), named_(std::move(named)) {
    timer_.setInterval(FollowIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &DocumentName::follow);
    QAccessible::installActivationObserver(this);
    accessibilityActiveChanged(QAccessible::isActive());
}

DocumentName::~DocumentName() {
    QAccessible::removeActivationObserver(this);
}

void DocumentName::accessibilityActiveChanged(bool active) {
    if (!active) {
        timer_.stop();
        return;
    }
    timer_.start();
    follow();
}

void DocumentName::follow() {
    QAccessibleInterface* accessible = control_ ? QAccessible::queryAccessibleInterface(control_) : nullptr;
    const QString name = accessible ? accessible->text(QAccessible::Name) : QString();
    if (name == name_)
        return;
    name_ = name;
    named_(name);
}

}  // namespace lumetto::engine
