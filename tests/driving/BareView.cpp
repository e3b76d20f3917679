#include "driving/BareView.h"

#include "driving/ProductPage.h"

#include <QCoreApplication>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// Form1's design gives vekBrowser1 these rules, and the control its 11-pixel text.
const QString Rules = QStringLiteral("BODY {margin:0;font-family:Verdana, Arial, Helvetica, sans-serif;overflow:hidden;}");
constexpr int DefaultFontPixels = 11;

}  // namespace

QString bareDocument(const QString& body, const QString& script, TextSize size) {
    const QString scriptElement = script.isEmpty() ? QString() : QStringLiteral("<script>%1</script>").arg(script);
    // A table in a document without a doctype takes the default size, not its parent's.
    const QString textSize = size == TextSize::FromRules ? QStringLiteral("HTML {font-size:%1px;} TABLE {font-size:inherit;}").arg(DefaultFontPixels) : QString();
    return QStringLiteral("<html><head><style>%1%2</style>%3</head><body>%4</body></html>").arg(textSize, Rules, scriptElement, body);
}

QString pageViewRules() {
    return Rules;
}

QUrl bareBaseUrl() {
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

std::unique_ptr<QWebEngineView> makeBareView(const QString& body, const QString& script) {
    auto view = std::make_unique<QWebEngineView>();
    view->setWindowTitle(QStringLiteral("bare view"));
    view->resize(product_page::ViewSize);
    view->settings()->setFontSize(QWebEngineSettings::DefaultFontSize, DefaultFontPixels);
    view->setHtml(bareDocument(body, script), bareBaseUrl());
    return view;
}
