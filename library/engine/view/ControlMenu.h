#pragma once

#include <lumetto/HtmlView.h>

#include <QPoint>

#include <array>
#include <functional>

class QAction;
class QWidget;

namespace lumetto::engine {

// The view's right-click menu: the view's clipboard actions, then the actions the host added to
// the view, in their order. The clipboard actions are the view's children; triggered, from the
// menu or from anywhere the host put them, each asks for a copy in its format.
class ControlMenu {
public:
    ControlMenu(HtmlView* view, const std::function<void(HtmlView::CopyFormat)>& copy);

    // Null for a value StandardAction does not name.
    QAction* action(HtmlView::StandardAction which) const {
        return which >= 0 && std::size_t(which) < clipboard_.size() ? clipboard_[which] : nullptr;
    }

    // Opens the menu at a point of owner, unless none of its entries is visible.
    void popup(QWidget* owner, const QPoint& at) const;

private:
    QList<QAction*> entries() const;

    HtmlView* view_;
    std::array<QAction*, 2> clipboard_;
};

}  // namespace lumetto::engine
