#pragma once

#include "hosted/webengine/WebBrowserControl.h"
#include "support/QtPrinters.h"

#include <QColor>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

class QWebEngineView;

// One real display control in a shown window, with a base directory holding the pages' image.
class ControlHarness {
public:
    explicit ControlHarness(const hosted::DesignSettings& settings = {});

    lumetto::WebBrowserControl& control() { return *control_; }
    QWebEngineView* view() const;
    QString baseDirectory() const { return base_.path() + QLatin1Char('/'); }

    // The colour the user sees at a point of the control, once a frame shows it.
    QColor pixelAt(const QPoint& point);

private:
    QTemporaryDir base_;
    QWidget window_;
    std::unique_ptr<lumetto::WebBrowserControl> control_;
};
