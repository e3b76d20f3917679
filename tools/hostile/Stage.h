#pragma once

#include <lumetto/HtmlView.h>

#include <QList>
#include <QPointer>
#include <QRgb>
#include <QWidget>

#include "driving/XScreen.h"

class QWebEngineView;

// A window at the screen's left holding views side by side, read and clicked through the X
// server as a person sees and clicks them; at the top, or in the lower half of the screen, so
// that a soak can run beside another phase.
class Stage {
public:
    enum class Place { Top, Lower };
    explicit Stage(int views, Place place = Place::Top);
    ~Stage();

    int size() const { return views_.size(); }
    lumetto::HtmlView* view(int i) const { return views_[i]; }
    // Puts a new view in the place of view i (which may be gone already).
    lumetto::HtmlView* replace(int i);
    XScreen& screen() { return screen_; }

    // The engine's view inside a view: its page's URL and its page process.
    static QWebEngineView* engineView(lumetto::HtmlView* view);
    static qint64 pageProcess(lumetto::HtmlView* view);

    // A point of a view on the screen.
    QPoint onScreen(lumetto::HtmlView* view, const QPoint& at) const;
    // The colour the screen shows at a point of a view.
    QRgb pixel(lumetto::HtmlView* view, const QPoint& at) const;
    // A real click at a point of a view, through the X server.
    void click(lumetto::HtmlView* view, const QPoint& at, Qt::MouseButton button = Qt::LeftButton);

    static constexpr int ViewWidth = 560;
    static constexpr int ViewHeight = 420;

private:
    QWidget window_;
    QList<QPointer<lumetto::HtmlView>> views_;
    XScreen screen_;
};
