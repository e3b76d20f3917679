#pragma once

#include "engine/page/EngineView.h"

#include <QHash>
#include <QJSValue>
#include <QPointer>

class QQmlWebChannel;
class QQuickItem;
class QQuickWebEngineProfile;

namespace lumetto::quick {

// The Qt Quick item's engine view: a WebEngineView of QtWebEngine, made by the QML engine inside
// the item and driven through its meta-object, with a profile of its own (a profile's
// interceptor is the only one a Qt Quick view has, and each view has its own files' root).
class QuickEngineView : public engine::EngineView {
    Q_OBJECT
public:
    // Made in item, which fills it, by the item's QML engine.
    explicit QuickEngineView(QQuickItem* item);
    // The engine's view goes first, while its profile is there.
    ~QuickEngineView() override;

    void runScript(const QString& script, std::function<void(const QVariant&)> done) override;
    qint64 renderProcessPid() const override;
    void installPageSide(const QWebEngineScript& script, QObject* host) override;
    bool isShown() const override;
    void showPage() override;
    bool windowBlocked() const override;
    void openMenu(const QPoint& at) override;

    // What the WebEngineView reports, from its QML handlers.
    Q_INVOKABLE bool navigationAccepted(bool mainFrame) const { return acceptsNavigation(mainFrame); }
    Q_INVOKABLE void urlChanged(const QUrl& url) { EngineView::urlChanged(url); }
    Q_INVOKABLE void loadFinished(bool ok) { EngineView::loadFinished(ok); }
    Q_INVOKABLE void processTerminated(int status, int exitCode) { EngineView::processTerminated(status, exitCode); }
    Q_INVOKABLE void answer(int id, const QJSValue& value);

signals:
    // The menu is to open at a point of the item.
    void menuRequested(const QPoint& at);

private:
    void loadHtml(const QString& html, const QUrl& baseUrl) override;
    void followWindow();

    QQuickItem* item_;
    QQuickWebEngineProfile* profile_;
    QQmlWebChannel* channel_;
    QPointer<QQuickItem> view_;
    QJSValue answerer_;  // makes the callback that hands a script's value to answer()
    QHash<int, std::function<void(const QVariant&)>> pending_;
    int nextAnswer_ = 0;
    bool shown_ = false;
};

}  // namespace lumetto::quick
