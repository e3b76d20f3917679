#pragma once

#include "contract/DocumentAdapter.h"
#include "contract/vekBrowser.h"

#include <lumetto/HtmlView.h>

#include <QPointer>

class QAction;

namespace contract {

// The display control as the demo's windows know it: the contract's members and events, on the
// library's lumetto::HtmlView. Its failures are the run-time errors the contract lists. The
// menu entries the host adds are actions on the view, known by their keys; the control holds
// their check marks, which choosing an entry does not change.
class HtmlViewControl : public vekBrowser {
public:
    // A view, child of parent, with a forms designer's settings ("_extentx", "_extenty",
    // "csstext", "csshttp", "allowmouseselect", "showrightclickclipboardmenu", "respondtoevents").
    HtmlViewControl(QWidget* parent, const DesignSettings& settings);
    ~HtmlViewControl() override;

    // The library's view, for what the contract does not carry (its failures, its signals).
    lumetto::HtmlView& view() const { return *view_; }

    QWidget* widget() override { return view_; }
    void setEventSink(vekBrowserEvents* sink) override { sink_ = sink; }
    Variant ClickedElement() override;
    Variant AllowMouseSelect() override;
    void setAllowMouseSelect(const Variant& allow) override;
    Variant SourceHTML() override;
    void setBaseURL(const QString& base) override;
    void setCSSText(const QString& rules) override;
    void setCSSFromURL(const Variant& fromUrl) override;
    void setBodyHTML(const QString& html) override;
    Variant Document() override;
    void AddMenuItem(const QString& key, const QString& caption) override;
    void UpdateMenuItem(QString& key, const Variant& checkState, const Variant& enabled, const Variant& visible) override;
    Variant GetSelectionHTML() override;

private:
    void applySettings(const DesignSettings& settings);
    void raiseEvents();
    // The first menu entry added with that key, null when none has it.
    QAction* menuItem(const QString& key) const;
    void menuItemChosen(QAction* item, bool checkedNow);
    // The sink, while the control responds to events; null otherwise.
    vekBrowserEvents* events() const { return respondsToEvents_ ? sink_ : nullptr; }

    QPointer<lumetto::HtmlView> view_;
    std::shared_ptr<ElementAdapters> elements_ = std::make_shared<ElementAdapters>();
    vekBrowserEvents* sink_ = nullptr;
    bool respondsToEvents_ = true;
};

// Creates each display control as an HtmlViewControl.
class HtmlViewControls : public vekBrowserFactory {
public:
    std::unique_ptr<vekBrowser> create(QWidget* parent, const DesignSettings& settings) override {
        return std::make_unique<HtmlViewControl>(parent, settings);
    }
};

}  // namespace contract
