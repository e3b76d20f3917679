#include "ScreenDriver.h"

#include <QCoreApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QUuid>

#include <X11/keysym.h>

#include <csignal>

std::optional<QPoint> ScreenDriver::onScreen(QQuickItem* item, qreal x, qreal y) const {
    QQuickWindow* window = item ? item->window() : nullptr;
    if (!window || !x_.usable())
        return std::nullopt;
    // The window is found on the X server by a title of its own.
    if (!window->title().startsWith(QLatin1String("quick-test-")))
        window->setTitle(QStringLiteral("quick-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces));
    std::optional<QPoint> origin;
    for (int tries = 0; tries < 100 && !origin; ++tries) {
        origin = x_.windowOrigin(qPrintable(window->title()));
        if (!origin)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (!origin)
        return std::nullopt;
    return *origin + item->mapToScene(QPointF(x, y)).toPoint();
}

bool ScreenDriver::click(QQuickItem* item, qreal x, qreal y, int button) {
    const std::optional<QPoint> at = onScreen(item, x, y);
    if (!at)
        return false;
    x_.movePointer(*at);
    x_.click(static_cast<Qt::MouseButton>(button));
    return true;
}

bool ScreenDriver::type(const QString& text, bool enter) {
    if (!x_.usable())
        return false;
    const auto press = [this](unsigned long symbol) { return x_.key(symbol, true) && x_.key(symbol, false); };
    for (const QChar c : text)
        if (!press(c.unicode()))  // Latin-1 characters are their own key symbols
            return false;
    return !enter || press(XK_Return);
}

QString ScreenDriver::colourAt(QQuickItem* item, qreal x, qreal y) const {
    const std::optional<QPoint> at = onScreen(item, x, y);
    if (!at)
        return {};
    return QColor(x_.image(QRect(*at, QSize(1, 1))).pixel(0, 0)).name();
}

// The engine's view is the item's child that knows its page process.
bool ScreenDriver::killPageProcess(QQuickItem* view) const {
    for (QQuickItem* child : view->childItems()) {
        const qint64 process = child->property("renderProcessPid").toLongLong();
        if (process > 0)
            return ::kill(static_cast<pid_t>(process), SIGKILL) == 0;
    }
    return false;
}
