// The QML module's tests (Qt Quick Test): the engine is made ready before the application; the
// tests drive the X server's screen as `screen`, and bind a table of a database as `sqlRecords`.
#include "ScreenDriver.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QtQuickTest>
#include <QtWebEngineQuick>

namespace {

class Setup : public QObject {
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine* engine) {
        engine->addImportPath(QStringLiteral(LUMETTO_QML_DIR));
        engine->rootContext()->setContextProperty(QStringLiteral("screen"), &screen_);
        engine->rootContext()->setContextProperty(QStringLiteral("sqlRecords"), records());
    }

private:
    // A table whose names are at most eight characters long, as the database checks.
    QSqlTableModel* records() {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("quick-tests"));
        database.setDatabaseName(QStringLiteral(":memory:"));
        database.open();
        QSqlQuery query(database);
        query.exec(QStringLiteral("CREATE TABLE fruit (id INTEGER PRIMARY KEY, name TEXT NOT NULL CHECK (length(name) <= 8))"));
        query.exec(QStringLiteral("INSERT INTO fruit (name) VALUES ('apple'), ('pear')"));
        auto* model = new QSqlTableModel(this, database);
        model->setTable(QStringLiteral("fruit"));
        model->setEditStrategy(QSqlTableModel::OnManualSubmit);
        model->select();
        return model;
    }

    ScreenDriver screen_;
};

}  // namespace

int main(int argc, char** argv) {
    QtWebEngineQuick::initialize();
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "quick_tests", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "main.moc"
