#pragma once

#include "driving/ViewFailure.h"
#include "support/QtPrinters.h"

#include <lumetto/HtmlView.h>

#include <QColor>
#include <QPointer>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <functional>

class QWebEngineView;

// One real HtmlView in a window, shown unless told, with a base directory holding the pages'
// image. The probes reach into the engine's view the HtmlView holds, as the tests' own eyes and
// hands: real input through its focus proxy, the page's state, its pixels.
class ViewHarness {
public:
    enum class Window { Shown, Hidden };
    explicit ViewHarness(Window window = Window::Shown);
    // A view made by another (an adapter around it) as a child of the harness's window.
    ViewHarness(const std::function<lumetto::HtmlView*(QWidget* window)>& make, Window window);
    void show() { window_.show(); }

    lumetto::HtmlView& view() const { return *view_; }
    QWebEngineView* engineView() const;
    QString baseDirectory() const { return base_.path() + QLatin1Char('/'); }
    QUrl baseUrl() const { return QUrl::fromLocalFile(baseDirectory()); }

    // Evaluates a script in the view's own script world and waits for its value.
    QVariant inPage(const QString& script) const;
    // The centre of the element with that id, in the view's coordinates.
    QPoint centreOf(const QString& id) const;
    // A real mouse click in the page.
    void click(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) const;
    // The colour the user sees at a point of the view, once a frame shows it.
    QColor pixelAt(const QPoint& point) const;

    // The page's source, or an empty text while the page cannot answer.
    QString source() const;
    // The id of the page process, which every view of the test shares.
    qint64 pageProcess() const;
    // Ends the page process as a crash does; false when it could not.
    bool killPageProcess() const;
    // Lets what the page and the view have queued so far happen: the page answers a read after
    // what it was handling and the messages it sent before, and the view then raises the events
    // those brought. What has not happened then was not going to.
    void settle() const;

private:
    QTemporaryDir base_;
    QWidget window_;
    QPointer<lumetto::HtmlView> view_;
};
