#include "hostile/Observers.h"

#include "hostile/Stage.h"

#include <lumetto/HtmlView.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// How often the watch for windows looks.
constexpr int WindowWatchMs = 100;

// The view's own page: its shell, loaded from memory (a data: URL while it loads) with the
// root folder as its URL. The engine never lets content open a data: URL as its page.
bool isShell(const QUrl& url) {
    return url.isEmpty() || url == QUrl(QStringLiteral("file:///")) || url.scheme() == QLatin1String("data");
}

}  // namespace

Observers::Observers() : server_(QHostAddress::LocalHost), otherServer_(QHostAddress(QStringLiteral("127.0.0.2"))) {
    opens_.watch(places_.outside());
    opens_.watch(places_.sibling());
    opens_.watch(places_.linkedTarget());
    // A timer's events come in a modal window's loop as well.
    windowWatch_.setInterval(WindowWatchMs);
    QObject::connect(&windowWatch_, &QTimer::timeout, [this] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || window->windowTitle() == QLatin1String("hostile"))
                continue;
            // A click on a file field opens the chooser, as it does for a person: a window the
            // user asked for, counted apart.
            ++(qobject_cast<QFileDialog*>(window) ? fileChoosers_ : windows_);
            lastWindow_ = QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(window->metaObject()->className()), window->windowTitle());
            if (auto* dialog = qobject_cast<QDialog*>(window))
                dialog->reject();
            else
                window->close();
        }
    });
    windowWatch_.start();
}

Targets Observers::targets() const {
    Targets t;
    t.server = server_.origin();
    t.otherServer = otherServer_.origin();
    t.localhost = QStringLiteral("http://localhost:%1").arg(server_.serverPort());
    t.outside = places_.outside();
    t.sibling = places_.sibling();
    t.base = places_.base();
    return t;
}

void Observers::follow(lumetto::HtmlView* view) {
    QWebEnginePage* page = Stage::engineView(view)->page();
    const auto leaves = [this, page](const QUrl& url) {
        if (!isShell(url) && !left_.contains(page))
            left_.insert(page, url);
    };
    QObject::connect(page, &QWebEnginePage::urlChanged, page, leaves);
    // A load the page starts of anything but its shell leaves it, whether it commits or not.
    QObject::connect(page, &QWebEnginePage::loadingChanged, page, [leaves](const QWebEngineLoadingInfo& loading) {
        if (loading.status() == QWebEngineLoadingInfo::LoadStartedStatus)
            leaves(loading.url());
    });
}

bool Observers::navigated(lumetto::HtmlView* view) {
    QWebEnginePage* page = Stage::engineView(view)->page();
    return left_.contains(page) || !isShell(page->url());
}

QUrl Observers::leftFor(lumetto::HtmlView* view) {
    QWebEnginePage* page = Stage::engineView(view)->page();
    return left_.value(page, page->url());
}

int Observers::requests() const {
    return server_.connections() + otherServer_.connections();
}

int Observers::scriptRequests() const {
    return server_.scriptRequests() + otherServer_.scriptRequests();
}

int Observers::openedByPath() {
    return opens_.openings(places_.outside()) + opens_.openings(places_.sibling());
}

int Observers::openedByLink() {
    return opens_.openings(places_.linkedTarget());
}


QStringList Observers::newPaths() {
    const QStringList fresh = server_.paths().mid(pathsSeen_) + otherServer_.paths().mid(otherPathsSeen_);
    pathsSeen_ = server_.paths().size();
    otherPathsSeen_ = otherServer_.paths().size();
    return fresh;
}
