#include "engine/page/ControlPage.h"

#include "engine/page/EventScheme.h"

#include <lumetto/EngineEnvironment.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace lumetto::engine {
namespace {

// Text without a size of its own is set in the desktop's small interface size (8 pt at
// 96 DPI): the pages are laid out for text of that size, and fit the control only with it.
constexpr int DefaultFontPixels = 11;

QString withSlash(const QString& directory) {
    return directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
}

}  // namespace

QString filesScheme(const QUrl& base) {
    if (base.isLocalFile())
        return QStringLiteral("file");
    if (base.scheme() == QLatin1String("qrc"))
        return QStringLiteral("qrc");
    return {};
}

// Whether the file url names lies below the root directory. A local file is judged by where it
// really is, links resolved (of the directory as well): a link below the directory to a file
// elsewhere does not bring that file in. A file that does not exist is below nothing.
bool LocalFilesOnly::isBelowRoot(const QUrl& url) const {
    const QString files = filesScheme(root_);
    if (files.isEmpty() || url.scheme() != files || url.host() != root_.host())
        return false;
    if (files == QLatin1String("qrc"))
        return QDir::cleanPath(url.path()).startsWith(withSlash(root_.path()));
    const QString file = QFileInfo(url.toLocalFile()).canonicalFilePath();
    const QString root = QFileInfo(root_.toLocalFile()).canonicalFilePath();
    return !file.isEmpty() && !root.isEmpty() && file.startsWith(withSlash(root));
}

// The control's script asks its host over the event scheme; nothing else may, nor can the
// content, which runs no script.
void LocalFilesOnly::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl& url = info.requestUrl();
    if (EventScheme::isEventRequest(url)) {
        info.block(info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeXhr);
        return;
    }
    if (url.scheme() != QLatin1String("data") && !isBelowRoot(url))
        info.block(true);
}

ControlPage::ControlPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {
    setUrlRequestInterceptor(&files_);
    QWebEngineSettings* s = settings();
    // The content never runs script; the control's own script runs in a world of its own.
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    s->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    s->setFontSize(QWebEngineSettings::DefaultFontSize, DefaultFontPixels);
    // A shell whose page process ended is no longer loading: the engine may still report its
    // load finished, even as succeeded, once the process has gone.
    connect(this, &QWebEnginePage::renderProcessTerminated, this, [this] { loadingShell_ = false; });
    connect(this, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        if (!loadingShell_ && url.adjusted(QUrl::RemoveFragment) != shellUrl_)
            leftShell();
    });
    connect(this, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (!loadingShell_) {
            if (ok)  // a document loaded, though not the shell; a refused navigation ends failed
                leftShell();
            return;
        }
        loadingShell_ = false;
        history()->clear();  // nothing to go back to: the control shows only its shell
        emit shellLoaded(ok);
    });
}

void ControlPage::loadShell(const QString& html, const QUrl& baseUrl) {
    loadingShell_ = true;
    left_ = false;
    shellUrl_ = baseUrl;
    setHtml(html, baseUrl);
}

void ControlPage::leftShell() {
    if (!left_) {
        left_ = true;
        emit shellLeft();
    }
}

bool ControlPage::acceptNavigationRequest(const QUrl&, NavigationType, bool isMainFrame) {
    return isMainFrame && loadingShell_;
}

QWebEnginePage* ControlPage::createWindow(WebWindowType) {
    return nullptr;
}

void ControlPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) {}

QWebEngineProfile* sharedProfile() {
    static QWebEngineProfile* profile = [] {
        prepareEngineEnvironment();  // before the engine starts, which it does with the first profile
        auto* p = new QWebEngineProfile(QCoreApplication::instance());  // off the record
        p->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        p->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        p->setSpellCheckEnabled(false);
        EventScheme::installOn(p);
        return p;
    }();
    return profile;
}

}  // namespace lumetto::engine
