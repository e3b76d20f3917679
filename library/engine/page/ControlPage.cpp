#include "engine/page/ControlPage.h"

#include "engine/page/PageSettings.h"

#include <lumetto/EngineEnvironment.h>

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace lumetto::engine {

ControlPage::ControlPage(QWebEngineProfile* profile, std::function<bool(bool mainFrame)> accepts, QObject* parent)
    : QWebEnginePage(profile, parent), accepts_(std::move(accepts)) {
    QWebEngineSettings* s = settings();
    for (const PageSetting& setting : pageSettings())
        s->setAttribute(setting.attribute, setting.on);
    s->setFontSize(QWebEngineSettings::DefaultFontSize, DefaultFontPixels);
}

bool ControlPage::acceptNavigationRequest(const QUrl&, NavigationType, bool isMainFrame) {
    return accepts_(isMainFrame);
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
        return p;
    }();
    return profile;
}

}  // namespace lumetto::engine
