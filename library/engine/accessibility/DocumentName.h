#pragma once

#include <QAccessible>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;

namespace lumetto::engine {

// The name a screen reader gives a control's web document: the name it gives the control
// itself (the widget's accessible name, else the text of the label whose buddy it is), followed
// as it changes. Only while an assistive technology is present: without one the engine builds
// no accessibility tree, and the document needs no name. Qt tells a widget of neither change
// (a new accessible name, a label's new text), so the name is compared twice a second then.
class DocumentName : public QObject, private QAccessible::ActivationObserver {
public:
    static constexpr int FollowIntervalMs = 500;

    DocumentName(QWidget* control, std::function<void(const QString&)> named);
    ~DocumentName() override;

private:
    void accessibilityActiveChanged(bool active) override;
    void follow();

    QPointer<QWidget> control_;
    std::function<void(const QString&)> named_;
    QString name_;
    QTimer timer_;
};

}  // namespace lumetto::engine
