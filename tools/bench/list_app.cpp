// What the observer's list benchmark measures: every row of a SQLite table in a list, either
// bound to an HtmlView through an HtmlDataMapper ("bound", windowed by the page) or in a
// QTableView ("table", the baseline), the same QSqlTableModel beneath. Each row has a swatch of
// its style's colour: the first row's red, the last row's blue, the others grey, so that the
// observer sees the first and the last rows on the screen. F2 turns the last row's swatch green.
// The table view's model is fetched to its end before it shows: a QTableView fetches one batch
// as its scroll bar reaches its end, so that only a model fetched whole lets it reach the last
// row in one drag.
// list_app make FILE ROWS        makes the table (an example database of that many rows)
// list_app bound|table FILE      shows it
#include <lumetto/HtmlDataMapper.h>
#include <lumetto/HtmlView.h>

#include <QApplication>
#include <QHeaderView>
#include <QShortcut>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTableView>

namespace {

const QString Style = QStringLiteral("background: %1");

// The style column's colour as a cell's background, for the table view.
class ColouredRows : public QSqlTableModel {
public:
    using QSqlTableModel::QSqlTableModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::BackgroundRole)
            return QSqlTableModel::data(index, role);
        const QString style = QSqlTableModel::data(index.siblingAtColumn(3), Qt::DisplayRole).toString();
        return QColor::fromString(style.mid(style.indexOf(QLatin1Char('#'))));
    }
};

bool make(const QString& file, int rows) {
    QSqlDatabase db = QSqlDatabase::database();
    db.setDatabaseName(file);
    if (!db.open())
        return false;
    QSqlQuery query(db);
    db.transaction();
    query.exec(QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY, name TEXT, note TEXT, style TEXT)"));
    query.prepare(QStringLiteral("INSERT INTO items (name, note, style) VALUES (?, ?, ?)"));
    for (int row = 0; row < rows; ++row) {
        query.addBindValue(QStringLiteral("Item %1").arg(row));
        query.addBindValue(QStringLiteral("a note on item %1").arg(row));
        query.addBindValue(Style.arg(row == 0 ? QStringLiteral("#ff0000") : row == rows - 1 ? QStringLiteral("#0000ff") : QStringLiteral("#e0e0e0")));
        if (!query.exec())
            return false;
    }
    return db.commit();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 3 && qstrcmp(argv[1], "make") == 0) {
        QCoreApplication app(argc, argv);
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        return make(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt()) ? 0 : 1;
    }
    if (argc < 3)
        return 2;
    QApplication app(argc, argv);
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    const bool bound = qstrcmp(argv[1], "bound") == 0;
    QSqlDatabase db = QSqlDatabase::database();
    db.setDatabaseName(QString::fromLocal8Bit(argv[2]));
    if (!db.open())
        return 1;
    ColouredRows model(nullptr, db);
    model.setTable(QStringLiteral("items"));
    model.setEditStrategy(QSqlTableModel::OnManualSubmit);
    model.select();

    QWidget* shown = nullptr;
    if (bound) {
        auto* view = new lumetto::HtmlView;
        view->setCssText(QStringLiteral("body { margin: 0; font: 14px sans-serif } .row { display: flex; align-items: center; height: 24px }"
                                        ".row i { display: block; width: 160px; height: 20px; margin-right: 8px }"));
        auto* mapper = new lumetto::HtmlDataMapper(view);
        mapper->setView(view);
        mapper->setModel(&model);
        mapper->setTemplateHtml(QStringLiteral("<div class='row' data-repeat><i data-column-style='style'></i><b data-column='name'></b>&nbsp;"
                                               "<span data-column='note'></span></div>"));
        shown = view;
    } else {
        while (model.canFetchMore())
            model.fetchMore();
        auto* view = new QTableView;
        view->setModel(&model);
        view->verticalHeader()->setDefaultSectionSize(24);
        shown = view;
    }
    shown->setWindowTitle(QStringLiteral("list bench"));
    shown->resize(800, 600);
    auto* change = new QShortcut(QKeySequence(Qt::Key_F2), shown);
    QObject::connect(change, &QShortcut::activated, [&] {
        model.setData(model.index(model.rowCount() - 1, 3), Style.arg(QStringLiteral("#00ff00")));
    });
    shown->show();
    const int status = app.exec();
    delete shown;
    return status;
}
