#pragma once

#include "engine/accessibility/DocumentName.h"
#include "engine/page/EngineView.h"
#include "engine/view/ControlMenu.h"

#include <QWebChannel>

#include <memory>

class QWebEngineView;

namespace lumetto::engine {

class ControlPage;

// The widget's engine view: a QWebEngineView with the control's page, laid out in the
// HtmlView, with the widget's right-click menu of QActions.
class WidgetEngineView : public EngineView {
public:
    explicit WidgetEngineView(HtmlView* view);

    QWebEngineView* widget() const { return view_; }
    const ControlMenu& menu() const { return menu_; }

    void runScript(const QString& script, std::function<void(const QVariant&)> done) override;
    qint64 renderProcessPid() const override;
    void installPageSide(const QWebEngineScript& script, QObject* host) override;
    bool isShown() const override;
    void showPage() override;
    void pageRestarted() override;
    bool windowBlocked() const override;
    void openMenu(const QPoint& at) override;

private:
    void loadHtml(const QString& html, const QUrl& baseUrl) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWebEngineView* view_;
    ControlPage* page_;
    QWebChannel channel_;
    ControlMenu menu_;
    std::unique_ptr<DocumentName> documentNamer_;
};

}  // namespace lumetto::engine
