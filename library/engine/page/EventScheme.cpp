#include "engine/page/EventScheme.h"

#include "engine/page/HostAnswer.h"

#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace lumetto::engine::EventScheme {
namespace {

const QByteArray Name = QByteArrayLiteral("lumetto-event");

// Hands each request to the page's answer, found by the token of the address it asks at.
class Handler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const QStringList parts = job->requestUrl().path().split(QLatin1Char('/'));
        bool isNumber = false;
        const int number = parts.size() == 2 ? parts[1].toInt(&isNumber) : 0;
        HostAnswer* answer = isNumber && job->requestMethod() == "POST" ? HostAnswer::withToken(parts[0]) : nullptr;
        if (!answer)
            return job->fail(QWebEngineUrlRequestJob::RequestDenied);
        answer->arrived(number, job);
    }
};

}  // namespace

void registerScheme() {
    QWebEngineUrlScheme event(Name);
    event.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Asked from the shell's own origin, a local file's: local, and answered to that origin.
    event.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(event);
}

bool registered() {
    return QWebEngineUrlScheme::schemeByName(Name).name() == Name;
}

QWebEngineUrlSchemeHandler* makeHandler(QObject* parent) {
    return registered() ? new Handler(parent) : nullptr;
}

void installOn(QWebEngineProfile* profile) {
    if (QWebEngineUrlSchemeHandler* handler = makeHandler(profile))
        profile->installUrlSchemeHandler(Name, handler);
}

bool isEventRequest(const QUrl& url) {
    return url.scheme().toLatin1() == Name;
}

QString scheme() {
    return QString::fromLatin1(Name);
}

}  // namespace lumetto::engine::EventScheme
