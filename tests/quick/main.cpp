// The QML module's tests (Qt Quick Test): the engine is made ready before the application; the
// tests drive the X server's screen as `screen`.
#include "ScreenDriver.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>
#include <QtWebEngineQuick>

namespace {

class Setup : public QObject {
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine* engine) {
        engine->addImportPath(QStringLiteral(LUMETTO_QML_DIR));
        engine->rootContext()->setContextProperty(QStringLiteral("screen"), &screen_);
    }

private:
    ScreenDriver screen_;
};

}  // namespace

int main(int argc, char** argv) {
    QtWebEngineQuick::initialize();
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "quick_tests", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "main.moc"
