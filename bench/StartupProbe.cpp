#include "StartupProbe.h"

#include "content/basGlobal.h"
#include "forms/QtPlatform.h"
#include "main_window/Form1.h"

#include <lumetto/BrowserWidget.h>

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <cstdio>
#include <memory>

namespace {

// The page counts as painted once the view shows the logo's dark blue in its top-right corner.
bool showsLogo(QWidget* view) {
    const QImage screen = view->grab().toImage();
    for (int y = 0; y < qMin(64, screen.height()); ++y)
        for (int x = qMax(0, screen.width() - 64); x < screen.width(); ++x)
            if (screen.pixelColor(x, y) == QColor(26, 74, 140))
                return true;
    return false;
}

void reportWhenPainted(QWidget* view) {
    auto* poll = new QTimer(view);
    QObject::connect(poll, &QTimer::timeout, view, [view, poll] {
        if (!showsLogo(view))
            return;
        poll->stop();
        std::puts("painted");
        std::fflush(stdout);
    });
    poll->start(5);
}

// The same page as the application shows, in a view with the engine's defaults.
std::unique_ptr<QWebEngineView> bareView() {
    auto view = std::make_unique<QWebEngineView>();
    view->resize(549, 355);
    view->settings()->setFontSize(QWebEngineSettings::DefaultFontSize, 11);
    basGlobal::BuildPages();
    const QString html = QStringLiteral(
        "<html><head><style>BODY {margin:0;font-family:Verdana, Arial, Helvetica, sans-serif;overflow:hidden;}"
        "</style></head><body>%1</body></html>").arg(basGlobal::ProductPageHTML);
    view->setHtml(html, QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
    view->show();
    return view;
}

}  // namespace

int runStartupProbe(int argc, char** argv, bool application) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    if (!application) {
        auto view = bareView();
        reportWhenPainted(view.get());
        return app.exec();
    }
    forms::QtPlatform platform;
    lumetto::BrowserWidgetFactory controls;
    Form1 form(controls, platform);
    if (!form.load())
        return 1;
    form.show();
    reportWhenPainted(form.findChild<QWidget*>(QStringLiteral("vekBrowser1")));
    return app.exec();
}
