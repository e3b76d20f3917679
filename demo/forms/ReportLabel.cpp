#include "forms/ReportLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace forms {
namespace {

// Set on a report label: the text a screen reader last heard from it.
const char* const HeardText = "forms_reportHeardText";

// A report label as assistive technologies see it: a label whose text can be read, and
// which the label it is the buddy of names.
class ReportAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReportAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(kind);
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        if ((match & QAccessible::Labelled) && label()->buddy())
            found.append({QAccessible::queryAccessibleInterface(label()->buddy()), QAccessible::Labelled});
        return found;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text is read-only and cannot be selected.
    QString text(int start, int end) const override { return label()->text().mid(start, end - start); }
    int characterCount() const override { return int(label()->text().size()); }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return QString();
    }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}

private:
    QLabel* label() const { return static_cast<QLabel*>(widget()); }
};

QAccessibleInterface* reportInterface(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    if (label && label->property(HeardText).isValid())
        return new ReportAccessible(label);
    return nullptr;
}

void announceReports(QAccessibleEvent* event);

// Hands an event on to the platform's accessibility, as if no handler were installed.
void deliver(QAccessibleEvent* event) {
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(announceReports);
}

// A label tells of a new text only as a new name; a report label's new text is also sent as
// a change of its text, which screen readers speak.
void announceReports(QAccessibleEvent* event) {
    deliver(event);
    auto* label = qobject_cast<QLabel*>(event->object());
    if (event->type() != QAccessible::NameChanged || !label || !label->property(HeardText).isValid())
        return;
    const QString before = label->property(HeardText).toString();
    label->setProperty(HeardText, label->text());
    QAccessibleTextUpdateEvent update(label, 0, before, label->text());
    deliver(&update);
}

}  // namespace

void makeReport(QLabel& label) {
    static const bool installed = [] {
        QAccessible::installFactory(reportInterface);
        QAccessible::installUpdateHandler(announceReports);
        return true;
    }();
    Q_UNUSED(installed);
    label.setProperty(HeardText, label.text());
    // Setting its first text made the label a plain one for assistive technologies already.
    QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(&label);
    if (plain && !dynamic_cast<ReportAccessible*>(plain))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(plain));
}

}  // namespace forms
