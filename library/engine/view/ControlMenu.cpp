#include "engine/view/ControlMenu.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace lumetto::engine {

ControlMenu::ControlMenu(HtmlView* view, const std::function<void(HtmlView::CopyFormat)>& copy)
    : view_(view),
      clipboard_{new QAction(QStringLiteral("Copy as Text"), view), new QAction(QStringLiteral("Copy as HTML"), view)} {
    QObject::connect(clipboard_[HtmlView::CopyAsText], &QAction::triggered, view, [copy] { copy(HtmlView::PlainText); });
    QObject::connect(clipboard_[HtmlView::CopyAsHtml], &QAction::triggered, view, [copy] { copy(HtmlView::Html); });
}

QList<QAction*> ControlMenu::entries() const {
    return QList<QAction*>{clipboard_.begin(), clipboard_.end()} + view_->actions();
}

void ControlMenu::popup(QWidget* owner, const QPoint& at) const {
    const QList<QAction*> all = entries();
    if (std::none_of(all.begin(), all.end(), [](const QAction* entry) { return entry->isVisible() && !entry->isSeparator(); }))
        return;
    auto* menu = new QMenu(owner);
    menu->setObjectName(QStringLiteral("controlMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions(all);
    menu->popup(owner->mapToGlobal(at));
}

}  // namespace lumetto::engine
