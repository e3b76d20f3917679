// A Qt Quick window showing the product page, measured by the observer ("observer quick") from
// outside: the QML HtmlView against a bare WebEngineView in QML, the floor, each in a window of
// the page view's size. It prints nothing and watches nothing.
//   quick_page bare   Qt WebEngine's own WebEngineView, showing the page as the bare view does
//   quick_page view   Lumetto's HtmlView, given the page's body, its style rules and its folder
#include "content/basGlobal.h"
#include "driving/BareView.h"
#include "driving/ProductPage.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QtWebEngineQuick>

#include <cstring>

int main(int argc, char** argv) {
    const bool bare = argc == 2 && std::strcmp(argv[1], "bare") == 0;
    if (!bare && !(argc == 2 && std::strcmp(argv[1], "view") == 0))
        return 2;
    QtWebEngineQuick::initialize();
    QGuiApplication app(argc, argv);
    basGlobal::BuildPages();
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral(LUMETTO_QML_IMPORT_PATH));
    QVariantMap properties{{QStringLiteral("width"), product_page::ViewSize.width()},
                           {QStringLiteral("height"), product_page::ViewSize.height()},
                           {QStringLiteral("baseUrl"), bareBaseUrl()}};
    if (bare) {
        properties.insert(QStringLiteral("document"), bareDocument(basGlobal::ProductPageHTML, {}, TextSize::FromRules));
    } else {
        properties.insert(QStringLiteral("bodyHtml"), basGlobal::ProductPageHTML);
        properties.insert(QStringLiteral("cssText"), pageViewRules());
    }
    engine.setInitialProperties(properties);
    engine.load(bare ? QStringLiteral("qrc:/quick_page/BarePage.qml") : QStringLiteral("qrc:/quick_page/ViewPage.qml"));
    return engine.rootObjects().isEmpty() ? 1 : app.exec();
}
