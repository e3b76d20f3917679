// The paint shop's stock, made on first run: the pictures are drawn here.
#include "PaintStock.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QStandardPaths>

namespace {

// The database named on the command line, else the one in the user's data folder.
QString databasePath() {
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        return arguments.at(1);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder + "/paints.sqlite";
}

// A paint's picture, drawn here: a swatch of its colour with its initial, as PNG bytes.
QByteArray swatch(const QColor& colour, const QString& name) {
    QImage image(160, 160, QImage::Format_RGB32);
    image.fill(colour);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour.lighter(120));
    painter.drawEllipse(QPoint(80, 80), 52, 52);
    painter.setPen(colour.lightness() > 150 ? QColor(0, 0, 0, 140) : QColor(255, 255, 255, 220));
    painter.setFont(QFont("DejaVu Sans", 40, QFont::Bold));
    painter.drawText(image.rect(), Qt::AlignCenter, name.section(' ', -1).left(1));
    painter.end();
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    return png.data();
}

// Blends beside the named paints; the last one, "Last Blend", in a colour of its own.
constexpr int Blends = 5000;

// Makes the table of paints, three shades of twelve colours and the blends, all or nothing. A
// price must be above zero: the database refuses any other.
bool fill(QSqlDatabase& db) {
    const QStringList colours = {"Poppy",  "Amber", "Sunflower", "Lime",   "Meadow", "Jade",
                                 "Lagoon", "Sky",   "Harbour",   "Violet", "Orchid", "Rose"};
    const QStringList shades = {"Pale %1", "%1", "Deep %1"};
    const QStringList finishes = {"Soft matt emulsion for walls and ceilings", "Silk finish that wipes clean",
                                  "Hard-wearing gloss for wood and metal"};
    db.transaction();
    QSqlQuery query(db);
    bool done = query.exec("CREATE TABLE paints (id INTEGER PRIMARY KEY, name TEXT NOT NULL, description TEXT,"
                           " price REAL NOT NULL CHECK (price > 0), picture BLOB)") &&
                query.prepare("INSERT INTO paints (name, description, price, picture) VALUES (?, ?, ?, ?)");
    for (int shade = 0; shade < shades.size(); ++shade) {
        for (int hue = 0; hue < colours.size() && done; ++hue) {
            const QString name = shades.at(shade).arg(colours.at(hue));
            query.addBindValue(name);
            query.addBindValue(finishes.at(shade));
            query.addBindValue((895 + 300 * shade + 150 * (hue % 4)) / 100.0);
            query.addBindValue(swatch(QColor::fromHsv(hue * 30, 70 + 75 * shade, 250 - 50 * shade), name));
            done = query.exec();
        }
    }
    QHash<QRgb, QByteArray> pictures;  // one picture a colour: the blends share them
    for (int blend = 1; blend <= Blends && done; ++blend) {
        const bool last = blend == Blends;
        const QString name = last ? QString("Last Blend") : QString("Blend %1").arg(blend);
        const QColor colour = last ? QColor(90, 40, 120) : QColor::fromHsv(blend * 7 % 360, 70 + blend % 3 * 30, 170 + blend % 4 * 25);
        if (!pictures.contains(colour.rgb()))
            pictures.insert(colour.rgb(), swatch(colour, "Blend"));
        query.addBindValue(name);
        query.addBindValue("A blend mixed to order");
        query.addBindValue((1495 + 100 * (blend % 5)) / 100.0);
        query.addBindValue(pictures.value(colour.rgb()));
        done = query.exec();
    }
    if (!done) {
        qCritical().noquote() << "The paints could not be stored:" << query.lastError().text();
        db.rollback();
        return false;
    }
    return db.commit();
}

}  // namespace

bool openPaintStock(QSqlDatabase& db) {
    db.setDatabaseName(databasePath());
    if (!db.open() || (!db.tables().contains("paints") && !fill(db))) {
        qCritical().noquote() << "Cannot use the database" << db.databaseName() << db.lastError().text();
        return false;
    }
    return true;
}

void selectPaints(QSqlTableModel& model) {
    model.setTable("paints");
    model.setEditStrategy(QSqlTableModel::OnManualSubmit);
    model.select();
}
