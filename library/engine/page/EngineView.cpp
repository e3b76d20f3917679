#include "engine/page/EngineView.h"

namespace lumetto::engine {

void EngineView::loadShell(const QString& html, const QUrl& baseUrl) {
    loadingShell_ = true;
    left_ = false;
    shellUrl_ = baseUrl;
    loadHtml(html, baseUrl);
}

void EngineView::urlChanged(const QUrl& url) {
    if (!loadingShell_ && url.adjusted(QUrl::RemoveFragment) != shellUrl_)
        leftShell();
}

void EngineView::loadFinished(bool ok) {
    if (!loadingShell_) {
        if (ok)  // a document loaded, though not the shell; a refused navigation ends failed
            leftShell();
        return;
    }
    loadingShell_ = false;
    emit shellLoaded(ok);
}

// A shell whose page process ended is no longer loading: the engine may still report its load
// finished, even as succeeded, once the process has gone.
void EngineView::processTerminated(int status, int exitCode) {
    loadingShell_ = false;
    emit processEnded(status, exitCode);
}

void EngineView::leftShell() {
    if (!left_) {
        left_ = true;
        emit shellLeft();
    }
}

}  // namespace lumetto::engine
