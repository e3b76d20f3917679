#pragma once

#include "support/QtPrinters.h"

#include "driving/ViewFailure.h"

#include "contract/HtmlViewControl.h"
#include "contract/RuntimeError.h"

#include <QColor>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

class QWebEngineView;

// The run-time error the demo reports for the arguments of a signal HtmlView::errorOccurred.
contract::RuntimeError reportedFailure(const QList<QVariant>& failedArguments);

// One real display control in a window, shown unless told, with a base directory holding the
// pages' image.
class ControlHarness {
public:
    enum class Window { Shown, Hidden };
    explicit ControlHarness(const contract::DesignSettings& settings = {}, Window window = Window::Shown);
    void show() { window_.show(); }

    contract::HtmlViewControl& control() { return *control_; }
    QWebEngineView* view() const;
    QString baseDirectory() const { return base_.path() + QLatin1Char('/'); }

    // Evaluates a script in the control's own script world and waits for its value.
    QVariant inPage(const QString& script) const;
    // The centre of the element with that id, in the view's coordinates.
    QPoint centreOf(const QString& id) const;
    // A real mouse click in the page.
    void click(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) const;

    // The colour the user sees at a point of the control, once a frame shows it.
    QColor pixelAt(const QPoint& point);

private:
    QTemporaryDir base_;
    QWidget window_;
    std::unique_ptr<contract::HtmlViewControl> control_;
};
