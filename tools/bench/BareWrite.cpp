#include "BareWrite.h"

#include "WrittenBody.h"

#include "driving/BareView.h"

#include <QBuffer>
#include <QTimer>
#include <QWebEngineNavigationRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace {

const QByteArray Scheme = QByteArrayLiteral("written");

class FromMemory : public QWebEngineUrlSchemeHandler {
public:
    FromMemory(const QString& document, QObject* parent) : QWebEngineUrlSchemeHandler(parent), document_(document.toUtf8()) {}

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        auto* reply = new QBuffer(job);
        reply->setData(document_);
        job->reply(QByteArrayLiteral("text/html"), reply);
    }

private:
    QByteArray document_;
};

}  // namespace

void registerWrittenScheme() {
    QWebEngineUrlScheme scheme(Scheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void writeOnLinkClick(QWebEngineView& view, const QString& document) {
    QWebEnginePage* page = view.page();
    const bool fromMemory = !setHtmlTakes(document);
    if (fromMemory)
        page->profile()->installUrlSchemeHandler(Scheme, new FromMemory(document, page));
    QObject::connect(page, &QWebEnginePage::navigationRequested, page, [page, document, fromMemory](QWebEngineNavigationRequest& request) {
        if (request.navigationType() != QWebEngineNavigationRequest::LinkClickedNavigation)
            return;
        request.reject();
        QTimer::singleShot(0, page, [page, document, fromMemory] {
            if (fromMemory)
                page->load(QUrl(QString::fromLatin1(Scheme + ":body")));
            else
                page->setHtml(document, bareBaseUrl());
        });
    });
}
