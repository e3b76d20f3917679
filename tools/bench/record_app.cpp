// What the observer's record benchmark measures: a record view of a model of many records, and
// a link that moves to the next one. "bound": the view is bound to the model through an
// HtmlDataMapper and the link calls toNext(); "html": the link writes the next record as the
// same markup with its values, through setBodyHtml, the baseline. The records' swatches take
// turns between two colours, so that the observer sees each move on the screen.
// record_app bound|html
#include <lumetto/HtmlDataMapper.h>
#include <lumetto/HtmlView.h>

#include <QApplication>
#include <QStandardItemModel>

namespace {

constexpr int Records = 1000;

const QString Rules = QStringLiteral(
    "body { margin: 0; font: 13px sans-serif }"
    "#swatch { position: fixed; left: 20px; top: 20px; width: 120px; height: 80px }"
    ".even { background: rgb(200, 30, 30) } .odd { background: rgb(30, 30, 200) }"
    "#next { position: fixed; left: 20px; top: 120px; width: 120px; height: 40px; background: #ddd }"
    "#text { position: absolute; left: 160px; top: 20px; width: 400px }");

// The record view: the swatch, the name, the description, and the link.
QString recordHtml(const QStringList& values) {
    QString html = QStringLiteral("<div id='swatch' class='%1'></div><div id='text'><h2>%2</h2><p>%3</p><p>%4</p></div>"
                                  "<a id='next' href='#'>Next</a>");
    for (const QString& value : values)
        html = html.arg(value.toHtmlEscaped());
    return html;
}

QStringList valuesOf(int row) {
    return {row % 2 ? QStringLiteral("odd") : QStringLiteral("even"), QStringLiteral("Record %1").arg(row),
            QStringLiteral("A description of record %1, long enough to wrap over a line or two of the view.").arg(row),
            QStringLiteral("%1.50").arg(row)};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool bound = argc > 1 && qstrcmp(argv[1], "bound") == 0;
    lumetto::HtmlView view;
    view.setWindowTitle(QStringLiteral("records bench"));
    view.resize(600, 300);
    view.setCssText(Rules);

    QStandardItemModel model(Records, 4);
    model.setHorizontalHeaderLabels({QStringLiteral("Kind"), QStringLiteral("Name"), QStringLiteral("Description"), QStringLiteral("Price")});
    for (int row = 0; row < Records; ++row)
        for (int column = 0; column < 4; ++column)
            model.setItem(row, column, new QStandardItem(valuesOf(row).at(column)));

    int current = 0;
    auto* mapper = new lumetto::HtmlDataMapper(&view);
    mapper->setView(&view);
    if (bound) {
        mapper->setModel(&model);
        mapper->setTemplateHtml(QStringLiteral("<div id='swatch' data-column-class='Kind'></div><div id='text'><h2 data-column='Name'></h2>"
                                               "<p data-column='Description'></p><p data-column='Price'></p></div><a id='next' href='#'>Next</a>"));
    } else {
        view.setBodyHtml(recordHtml(valuesOf(current)));
    }
    QObject::connect(&view, &lumetto::HtmlView::clicked, [&](const lumetto::HtmlElement& clicked, Qt::MouseButton button) {
        if (button != Qt::LeftButton || clicked.tagName() != QLatin1String("A"))
            return;
        current = (current + 1) % Records;
        if (bound)
            mapper->toNext();
        else
            view.setBodyHtml(recordHtml(valuesOf(current)));
    });
    view.show();
    return app.exec();
}
