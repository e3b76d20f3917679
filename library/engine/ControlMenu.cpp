#include "engine/ControlMenu.h"

#include <QMenu>

namespace lumetto::engine {

void ControlMenu::add(const QString& key, const QString& caption) {
    entries_.append(Entry{key, caption});
}

bool ControlMenu::update(const QString& key, bool checked, bool enabled, bool visible) {
    for (Entry& entry : entries_) {
        if (entry.key == key) {
            entry.checked = checked;
            entry.enabled = enabled;
            entry.visible = visible;
            return true;
        }
    }
    return false;
}

bool ControlMenu::isChecked(const QString& key) const {
    for (const Entry& entry : entries_)
        if (entry.key == key)
            return entry.checked;
    return false;
}

void ControlMenu::popup(QWidget* owner, const QPoint& at, const std::function<void(const Choice&)>& chosen) const {
    auto* menu = new QMenu(owner);
    menu->setObjectName(QStringLiteral("controlMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (showClipboard_) {
        QObject::connect(menu->addAction(QStringLiteral("Copy as Text")), &QAction::triggered, menu,
                         [chosen] { chosen({Choice::CopyText, {}}); });
        QObject::connect(menu->addAction(QStringLiteral("Copy as HTML")), &QAction::triggered, menu,
                         [chosen] { chosen({Choice::CopyHtml, {}}); });
    }
    for (const Entry& entry : entries_) {
        if (entry.caption == QLatin1String("-")) {
            menu->addSeparator()->setVisible(entry.visible);
            continue;
        }
        QAction* action = menu->addAction(entry.caption);
        action->setCheckable(true);
        action->setChecked(entry.checked);
        action->setEnabled(entry.enabled);
        action->setVisible(entry.visible);
        const QString key = entry.key;
        QObject::connect(action, &QAction::triggered, menu, [chosen, key] { chosen({Choice::Entry, key}); });
    }
    menu->popup(owner->mapToGlobal(at));
}

}  // namespace lumetto::engine
