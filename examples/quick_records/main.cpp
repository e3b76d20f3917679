// The paint shop's stock of the records example, browsed and edited in Qt Quick: Main.qml shows
// the current paint and the list of all paints in Lumetto's HtmlView, bound to the table by an
// HtmlDataMapper through the widget example's template. This side opens the database into a
// QSqlTableModel and hands it to QML with the template and its style rules.
// Usage: lumetto_quick_records [DATABASE]   (made and filled when it holds no paints yet)
#include "PaintStock.h"

#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QSqlError>
#include <QSqlTableModel>
#include <QtWebEngineQuick>

// The table of paints as QML sees it: the model, and the database's own words for a change it
// could not store.
class PaintTable : public QSqlTableModel {
    Q_OBJECT

public:
    using QSqlTableModel::QSqlTableModel;
    Q_INVOKABLE QString storeError() const { return lastError().databaseText(); }
};

QString resource(const QString& name) {
    QFile file(name);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

int main(int argc, char* argv[]) {
    QtWebEngineQuick::initialize();
    QGuiApplication app(argc, argv);
    app.setApplicationName("lumetto-quick-records");
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
    if (!openPaintStock(db))
        return 1;
    PaintTable paints(nullptr, db);
    selectPaints(paints);

    QQmlApplicationEngine engine;
    engine.setInitialProperties({{"paints", QVariant::fromValue(&paints)},
                                 {"templateHtml", resource(":/records.html")},
                                 {"cssText", resource(":/records.css")}});
    engine.load(QUrl("qrc:/Main.qml"));
    return engine.rootObjects().isEmpty() ? 1 : app.exec();
}

#include "main.moc"
