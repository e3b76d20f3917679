#include "driving/ScreenGrab.h"

#include "driving/Seat.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

QRect screenArea() {
    if (Seat* seat = Seat::find())
        return seat->output();
    return QGuiApplication::primaryScreen()->geometry();
}

std::optional<QPoint> onScreen(QWidget* widget, const QPoint& at) {
    if (Seat* seat = Seat::find())
        return seat->onOutput(widget, at);
    return widget->mapToGlobal(at);
}

QRect frameOnScreen(QWidget* window) {
    const auto origin = onScreen(window, QPoint(0, 0));
    if (!origin)
        return {};
    return window->frameGeometry().translated(*origin - window->geometry().topLeft());
}

QImage screenImage(const QRect& area) {
    if (Seat* seat = Seat::find())
        return seat->image(area.intersected(seat->output()));
    return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

bool showsWidgetAt(QWidget* widget, const QPoint& at) {
    const QImage painted = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage shown = screenImage(QRect(at, painted.size())).convertToFormat(QImage::Format_RGB32);
    if (shown.size() != painted.size())
        return false;
    qsizetype same = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y), b = painted.pixel(x, y);
            same += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) <= 24;
        }
    // The pointer's image and a blinking text cursor may stand over a few of its pixels.
    return same >= shown.width() * shown.height() * 9 / 10;
}

bool saveScreen(QWidget* window, const QString& path) {
    const QRect frame = frameOnScreen(window);
    return !frame.isEmpty() && screenImage(frame).save(path);
}
