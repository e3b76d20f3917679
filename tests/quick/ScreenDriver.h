#pragma once

#include "driving/XScreen.h"

#include <QColor>
#include <QObject>
#include <QPointF>

class QQuickItem;

// The X server's screen for the QML tests, as `screen`: real input through XTest onto a point
// of an item, the colour the screen shows there, and the end of a view's page process.
class ScreenDriver : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether the X server can be driven (not under Wayland, say).
    Q_INVOKABLE bool usable() const { return x_.usable(); }
    Q_INVOKABLE bool click(QQuickItem* item, qreal x, qreal y, int button = Qt::LeftButton);
    // Key presses of text (letters, digits, spaces), then of Enter when enter is set, into
    // whatever has the keyboard.
    Q_INVOKABLE bool type(const QString& text, bool enter = false);
    // The colour the screen shows at a point of item, as "#rrggbb"; empty when the item's window
    // is not on the screen.
    Q_INVOKABLE QString colourAt(QQuickItem* item, qreal x, qreal y) const;
    // Kills the page process of view (an HtmlView), as the system would.
    Q_INVOKABLE bool killPageProcess(QQuickItem* view) const;

private:
    // Where a point of item is on the screen; null when its window is not found there.
    std::optional<QPoint> onScreen(QQuickItem* item, qreal x, qreal y) const;

    XScreen x_;
};
