// A paint shop's stock in a SQLite database, browsed and edited in one HtmlView: the current
// paint with its fields and buttons, and the list of all paints beside it, both bound to a
// QSqlTableModel by one HtmlDataMapper through the template records.html. The stock holds
// thousands of blends beside the named paints: the page holds only the rows of the list near
// its viewport, and the model fetches its rows as the list scrolls.
// Usage: lumetto_records [DATABASE]   (made and filled when it holds no paints yet)
#include "PaintStock.h"

#include <lumetto/HtmlDataMapper.h>
#include <lumetto/HtmlView.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QSqlError>
#include <QSqlTableModel>
#include <QTextStream>
#include <QVBoxLayout>

#include <map>

using lumetto::HtmlDataMapper;

QString resource(const QString& name) {
    QFile file(name);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName("lumetto-records");
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
    if (!openPaintStock(db))
        return 1;
    QSqlTableModel model(nullptr, db);
    selectPaints(model);

    QWidget window;
    window.setWindowTitle("Lumetto records example");
    auto* page = new lumetto::HtmlView;
    auto* status = new QLabel;
    status->setContentsMargins(12, 4, 12, 6);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page, 1);
    layout->addWidget(status);
    const auto report = [status](const QString& text) {
        status->setText(text);
        QTextStream(stdout) << text << Qt::endl;
    };

    auto* mapper = new HtmlDataMapper(page);
    mapper->setView(page);
    mapper->setSubmitPolicy(HtmlDataMapper::ManualSubmit);
    QObject::connect(mapper, &HtmlDataMapper::currentIndexChanged, [&](int row) {
        // The model fetches its rows as the list needs them: the count is known once it has all.
        report(model.canFetchMore() ? QString("Paint %1").arg(row + 1) : QString("Paint %1 of %2").arg(row + 1).arg(model.rowCount()));
    });
    page->setCssText(resource(":/records.css"));
    lumetto::HtmlError error;
    mapper->setModel(&model, &error);
    mapper->setTemplateHtml(resource(":/records.html"), &error);
    if (error.isValid()) {
        qCritical().noquote() << "The template does not fit the table:" << error.description();
        return 1;
    }

    // The buttons are the template's; a click in a row of the list is the mapper's own.
    const std::map<QString, void (HtmlDataMapper::*)()> moves = {{"first", &HtmlDataMapper::toFirst},
                                                                 {"previous", &HtmlDataMapper::toPrevious},
                                                                 {"next", &HtmlDataMapper::toNext},
                                                                 {"last", &HtmlDataMapper::toLast}};
    QObject::connect(page, &lumetto::HtmlView::clicked, [&](const lumetto::HtmlElement& clicked, Qt::MouseButton button) {
        if (button != Qt::LeftButton)
            return;
        const QString id = clicked.id();
        if (const auto move = moves.find(id); move != moves.end())
            (mapper->*move->second)();
        else if (id == "save")
            report(mapper->submit() ? QString("Saved") : "Not saved: " + model.lastError().databaseText());
    });

    window.resize(980, 680);
    window.show();
    return app.exec();
}
