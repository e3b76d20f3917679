#include "library/ViewHarness.h"

#include "driving/PageGeometry.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <lumetto/HtmlDataMapper.h>
#include <lumetto/HtmlView.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWheelEvent>

#include <csignal>

namespace {

using lumetto::HtmlDataMapper;

// A record view of the current row and a list of swatches, in one template; a field of the
// user's own after the list.
const QString Template = QStringLiteral(
    "<div id='record'><span id='name' data-column='Name'></span>"
    "<div id='swatch' data-column-style='Colour'></div><input id='edit' data-column='Name'></div>"
    "<section class='row' data-repeat><b data-column='Name'></b><i data-column-style='Colour'></i></section>"
    "<input id='free'>");
const QString Rules = QStringLiteral(
    "body { margin: 0 } #record { height: 100px } #swatch, .row i { display: block; width: 60px; height: 40px }"
    ".row { height: 40px; display: flex } .row[data-current] { background: rgb(0, 0, 255) }"
    "input { background: rgb(255, 255, 255) } input[data-refused] { background: rgb(255, 0, 0) }");

QString colour(int red, int green, int blue) {
    return QStringLiteral("background: rgb(%1, %2, %3)").arg(red).arg(green).arg(blue);
}

// A model of named colours; a name with "!" in it is refused.
class Colours : public QStandardItemModel {
public:
    Colours() {
        setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Colour")});
        add(QStringLiteral("red"), colour(255, 0, 0));
        add(QStringLiteral("green"), colour(0, 255, 0));
        add(QStringLiteral("<b>bold</b><img src=x onerror=alert(1)>"), colour(255, 255, 0));
    }
    void add(const QString& name, const QString& style) {
        appendRow({new QStandardItem(name), new QStandardItem(style)});
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        return !value.toString().contains(QLatin1Char('!')) && QStandardItemModel::setData(index, value, role);
    }
};

// A view showing Template bound to a Colours model.
struct Bound {
    Bound() : mapper(new HtmlDataMapper(&h.view())) {
        mapper->setView(&h.view());
        h.view().setCssText(Rules);
        mapper->setModel(&model);
        lumetto::HtmlError error;
        mapper->setTemplateHtml(Template, &error);
        EXPECT_FALSE(error.isValid()) << error.description().toStdString();
    }
    QString text(const QString& script) { return h.inPage(script).toString(); }
    QPoint centreOf(const QString& selector) { return boundingBox(h.engineView(), selector).center(); }
    bool pixelIs(const QString& selector, const QColor& wanted) {
        return waitFor([&] { return h.pixelAt(centreOf(selector) + QPoint(20, 0)) == wanted; });
    }
    void typeInto(const QString& selector, const QString& keys) {
        h.engineView()->window()->activateWindow();
        h.click(centreOf(selector));
        ASSERT_TRUE(waitFor([&] { return h.inPage(QStringLiteral("document.activeElement === document.querySelector(%1)")
                                                      .arg(QLatin1Char('"') + selector + QLatin1Char('"')))
                                          .toBool(); }));
        QTest::keyClicks(h.engineView()->focusProxy(), keys);
    }

    ViewHarness h;
    Colours model;
    HtmlDataMapper* mapper;
};

// What the page shows of a QStandardItemModel's first column.
QString namesOf(const QStandardItemModel& model) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.item(row)->text();
    return names.join(QLatin1Char('|'));
}

// A task list whose headers are display text: a title, whether it is done (a bool), whether it is
// urgent or can wait (1 or 0 each), a price, and a note that the model lets nobody edit.
class Tasks : public QStandardItemModel {
public:
    Tasks() {
        setHorizontalHeaderLabels({QStringLiteral("Title"), QStringLiteral("Done?"), QStringLiteral("Urgent"),
                                   QStringLiteral("Later"), QStringLiteral("Price"), QStringLiteral("Note")});
        QList<QStandardItem*> cells;
        for (const QVariant& value : {QVariant(QStringLiteral("paint")), QVariant(false), QVariant(0), QVariant(1),
                                      QVariant(1234.5), QVariant(QStringLiteral("fixed"))}) {
            cells << new QStandardItem;
            cells.last()->setData(value, Qt::EditRole);
        }
        appendRow(cells);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        const Qt::ItemFlags flags = QStandardItemModel::flags(index);
        return index.column() == 5 ? flags & ~Qt::ItemIsEditable : flags;
    }
    QVariant at(int column) const { return data(index(0, column), Qt::EditRole); }
};

// The warnings Qt's log takes while it lives.
class Warnings {
public:
    Warnings() : previous_(qInstallMessageHandler(&Warnings::take)) { taken().clear(); }
    ~Warnings() { qInstallMessageHandler(previous_); }
    QString text() const { return taken().join(QLatin1Char('\n')); }

private:
    static QStringList& taken() {
        static QStringList warnings;
        return warnings;
    }
    static void take(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtWarningMsg)
            taken() << message;
    }
    QtMessageHandler previous_;
};

const QString RowNames = QStringLiteral("Array.from(document.querySelectorAll('.row b'), (b) => b.textContent).join('|')");

TEST(HtmlDataMapper, RecordViewAndListShowTheModelAndFollowNavigationAndClicks) {
    Bound b;
    EXPECT_TRUE(b.pixelIs(QStringLiteral(".row:nth-of-type(1) i"), QColor(255, 0, 0)));
    EXPECT_TRUE(b.pixelIs(QStringLiteral(".row:nth-of-type(2) i"), QColor(0, 255, 0)));
    EXPECT_TRUE(b.pixelIs(QStringLiteral("#swatch"), QColor(255, 0, 0)));
    EXPECT_EQ(b.text(QStringLiteral("document.getElementById('name').textContent + '|' + edit.value")), QStringLiteral("red|red"));

    QSignalSpy moved(b.mapper, &HtmlDataMapper::currentIndexChanged);
    b.mapper->toNext();
    EXPECT_TRUE(b.pixelIs(QStringLiteral("#swatch"), QColor(0, 255, 0)));
    b.mapper->toLast();
    b.mapper->toNext();  // past the last row: stays
    EXPECT_EQ(b.mapper->currentIndex(), 2);
    EXPECT_TRUE(b.pixelIs(QStringLiteral("#swatch"), QColor(255, 255, 0)));
    // Markup and script in a value are text.
    EXPECT_EQ(b.text(QStringLiteral("document.getElementById('name').textContent")), b.model.item(2)->text());
    EXPECT_EQ(b.h.inPage(QStringLiteral("document.querySelectorAll('img, .row b b').length")).toInt(), 0);

    // A click in a row makes it current; the current row is marked for the style rules.
    b.h.click(b.centreOf(QStringLiteral(".row:nth-of-type(2) b")));
    ASSERT_TRUE(waitFor([&] { return b.mapper->currentIndex() == 1; }));
    EXPECT_TRUE(b.pixelIs(QStringLiteral("#swatch"), QColor(0, 255, 0)));
    EXPECT_TRUE(b.pixelIs(QStringLiteral(".row:nth-of-type(2)"), QColor(0, 0, 255)));
    EXPECT_EQ(moved.count(), 3);
    b.mapper->toFirst();
    b.mapper->toPrevious();
    EXPECT_EQ(b.mapper->currentIndex(), 0);
}

// The user's edits in a bound field, typed with real keys, go to the model as the user leaves the
// field or presses Enter, or on submit(); a value the model refuses is reported and the field
// shows the model's value again.
TEST(HtmlDataMapper, TypedEditsReachTheModelWhenCommittedOrOnSubmitAndRefusedOnesAreShownBack) {
    Bound b;
    QSignalSpy refused(b.mapper, &HtmlDataMapper::editRefused);
    const QString field = QStringLiteral("edit.value");
    b.typeInto(QStringLiteral("#edit"), QStringLiteral("dish"));
    EXPECT_TRUE(waitFor([&] { return b.text(field) == QLatin1String("reddish"); }));
    b.typeInto(QStringLiteral("#free"), QStringLiteral("x"));  // leaving the field commits it
    EXPECT_TRUE(waitFor([&] { return b.model.item(0)->text() == QLatin1String("reddish"); }));
    EXPECT_TRUE(waitFor([&] { return b.text(RowNames).startsWith(QLatin1String("reddish|")); })) << "the list follows";
    b.typeInto(QStringLiteral("#edit"), QStringLiteral("!"));
    ASSERT_TRUE(waitFor([&] {  // the row shown anew, with the keystroke once the host took it in
        emit b.model.dataChanged(b.model.index(0, 0), b.model.index(0, 1));
        return b.text(QStringLiteral("document.getElementById('name').textContent")) == QLatin1String("reddish!");
    }));
    EXPECT_EQ(refused.count(), 0) << "a keystroke is no commit";
    EXPECT_EQ(b.model.item(0)->text(), QStringLiteral("reddish"));
    QTest::keyClick(b.h.engineView()->focusProxy(), Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return refused.count() == 1; }));
    EXPECT_EQ(refused.at(0).at(0).toInt(), 0);
    EXPECT_EQ(refused.at(0).at(1).toString(), QStringLiteral("Name"));
    EXPECT_TRUE(waitFor([&] { return b.text(field) == QLatin1String("reddish"); })) << b.text(field).toStdString();

    b.mapper->setSubmitPolicy(HtmlDataMapper::ManualSubmit);
    const auto typed = [&](const QString& keys, const QString& shown) {
        QTest::keyClicks(b.h.engineView()->focusProxy(), keys);
        EXPECT_TRUE(waitFor([&] {  // the row shown anew holds the entry once the host took it in
            emit b.model.dataChanged(b.model.index(0, 0), b.model.index(0, 1));
            return b.text(QStringLiteral("document.getElementById('name').textContent")) == shown;
        })) << b.text(field).toStdString();
    };
    typed(QStringLiteral(" sky"), QStringLiteral("reddish sky"));
    EXPECT_EQ(b.model.item(0)->text(), QStringLiteral("reddish"));
    b.mapper->revert();
    EXPECT_TRUE(waitFor([&] { return b.text(field) == QLatin1String("reddish"); }));
    typed(QStringLiteral(" sky"), QStringLiteral("reddish sky"));
    EXPECT_TRUE(b.mapper->submit());
    EXPECT_EQ(b.model.item(0)->text(), QStringLiteral("reddish sky"));
    typed(QStringLiteral("!"), QStringLiteral("reddish sky!"));
    EXPECT_FALSE(b.mapper->submit());
    EXPECT_EQ(refused.count(), 2);
    EXPECT_TRUE(waitFor([&] { return b.text(field) == QLatin1String("reddish sky"); })) << b.text(field).toStdString();
}

// A change the host makes to a row while the user has a field of it open is shown and kept:
// the field the user left in another row reports nothing of the row it shows now.
TEST(HtmlDataMapper, ACodeChangeToTheCurrentRowIsShownAndKeptAfterAnEarlierSubmit) {
    Bound b;
    for (int row = 3; row <= 7; ++row)
        b.model.add(QStringLiteral("colour %1").arg(row), colour(0, 0, row));
    b.mapper->setTemplateHtml(QStringLiteral("<h1 id='name' data-column='Name'></h1><input id='edit' data-column='Name'>"
                                             "<input id='style' data-column='Colour'><p class='row' data-repeat><b data-column='Name'></b></p>"));
    b.mapper->setSubmitPolicy(HtmlDataMapper::ManualSubmit);
    b.typeInto(QStringLiteral("#edit"), QStringLiteral("dish"));
    ASSERT_TRUE(waitFor([&] { return b.mapper->submit() && b.model.item(0)->text() == QLatin1String("reddish"); }));

    b.mapper->setCurrentIndex(6);
    ASSERT_TRUE(waitFor([&] { return b.text(QStringLiteral("edit.value")) == b.model.item(6)->text(); }));
    b.typeInto(QStringLiteral("#style"), QStringLiteral(";"));  // another field of the row, not submitted
    b.model.item(6)->setText(QStringLiteral("set by code"));
    const QString shown = QStringLiteral("[document.getElementById('name').textContent, edit.value, "
                                         "document.querySelectorAll('.row b')[6].textContent].join()");
    EXPECT_TRUE(waitFor([&] { return b.text(shown) == QLatin1String("set by code,set by code,set by code"); }))
        << b.text(shown).toStdString();
    EXPECT_TRUE(b.mapper->submit());
    EXPECT_EQ(b.model.item(6)->text(), QStringLiteral("set by code"));
}

// The page follows the model in place: the rows there stay the same elements, and what the
// user typed in a field of their own stays; the current row follows its record.
TEST(HtmlDataMapper, ModelChangesReachThePageInPlace) {
    Bound b;
    b.typeInto(QStringLiteral("#free"), QStringLiteral("kept"));
    b.h.inPage(QStringLiteral("document.querySelectorAll('.row').forEach((row, i) => row.mark = i); true"));
    const auto shown = [&] { return waitFor([&] { return b.text(RowNames) == namesOf(b.model); }); };

    b.model.item(1)->setText(QStringLiteral("lime"));
    EXPECT_TRUE(shown());
    EXPECT_EQ(b.text(QStringLiteral("Array.from(document.querySelectorAll('.row'), (row) => row.mark).join()")),
              QStringLiteral("0,1,2"));
    b.model.insertRow(0, {new QStandardItem(QStringLiteral("blue")), new QStandardItem(colour(0, 0, 255))});
    EXPECT_TRUE(shown());
    EXPECT_EQ(b.mapper->currentIndex(), 1) << "the current record moved down a row";
    EXPECT_TRUE(b.pixelIs(QStringLiteral(".row:nth-of-type(1) i"), QColor(0, 0, 255)));
    b.model.item(1)->setText(QStringLiteral("crimson"));
    EXPECT_TRUE(waitFor([&] { return b.text(QStringLiteral("document.getElementById('name').textContent")) == QLatin1String("crimson"); }));
    b.model.removeRow(2);
    EXPECT_TRUE(shown());
    b.model.removeRow(1);  // the current row
    EXPECT_TRUE(shown());
    EXPECT_EQ(b.mapper->currentIndex(), 1);
    EXPECT_TRUE(waitFor([&] { return b.text(QStringLiteral("edit.value")) == b.model.item(1)->text(); }));

    b.model.clear();  // the columns come back in another order
    b.model.setHorizontalHeaderLabels({QStringLiteral("Colour"), QStringLiteral("Name")});
    b.model.appendRow({new QStandardItem(colour(0, 255, 0)), new QStandardItem(QStringLiteral("after reset"))});
    EXPECT_TRUE(waitFor([&] { return b.text(RowNames) == QLatin1String("after reset"); })) << b.text(RowNames).toStdString();
    EXPECT_TRUE(b.pixelIs(QStringLiteral("#swatch"), QColor(0, 255, 0)));
    EXPECT_EQ(b.text(QStringLiteral("free.value")), QStringLiteral("kept"));
}

// An entry reaches the row it was typed in, though the model inserted a row above it and took
// one away before the host heard of the entry.
TEST(HtmlDataMapper, AnEntryReachesItsRowThoughTheRowsMovedMeanwhile) {
    Bound b;
    b.mapper->setTemplateHtml(QStringLiteral("<section class='row' data-repeat><input data-column='Name'></section>"));
    const QString green = QStringLiteral(".row:nth-of-type(2) input");
    ASSERT_TRUE(waitFor([&] { return b.text(QStringLiteral("document.querySelector('%1').value").arg(green)) == QLatin1String("green"); }));
    b.typeInto(green, QString());
    QTest::keyClicks(b.h.engineView()->focusProxy(), QStringLiteral("ish\r"));
    b.model.insertRow(0, {new QStandardItem(QStringLiteral("blue")), new QStandardItem(colour(0, 0, 255))});
    EXPECT_TRUE(waitFor([&] { return b.model.item(2)->text() == QLatin1String("greenish"); })) << namesOf(b.model).toStdString();
    EXPECT_EQ(b.model.item(1)->text(), QStringLiteral("red"));
    b.model.removeRow(0);
    QTest::keyClicks(b.h.engineView()->focusProxy(), QStringLiteral(" tea\r"));
    b.model.removeRow(0);
    EXPECT_TRUE(waitFor([&] { return b.model.item(0)->text() == QLatin1String("greenish tea"); })) << namesOf(b.model).toStdString();
}

// A template naming a column the model lacks binds nothing and leaves the view as it was; a
// model deleted while bound leaves no rows. Script in a template is named in a warning.
TEST(HtmlDataMapper, MissingColumnsFailAndADeletedModelLeavesNoRows) {
    Bound b;
    {
        Warnings warnings;
        b.mapper->setTemplateHtml(QStringLiteral("<p data-column='Name' title='one on' onclick='go()'></p><script>go()</script>"
                                                 "<img data-column-onerror='Name'>"));
        for (const char* named : {"<p onclick>", "<script>", "<img data-column-onerror>"})
            EXPECT_TRUE(warnings.text().contains(QLatin1String(named))) << named << " in " << warnings.text().toStdString();
        EXPECT_FALSE(warnings.text().contains(QLatin1String("title"))) << warnings.text().toStdString();
        b.mapper->setTemplateHtml(Template);
    }
    lumetto::HtmlError error;
    b.mapper->setTemplateHtml(QStringLiteral("<p data-column='Name'></p><p data-column-title=\"Na&amp;me\"></p>"), &error);
    EXPECT_EQ(error.type(), lumetto::HtmlError::NoSuchColumn);
    EXPECT_TRUE(error.description().contains(QStringLiteral("\"Na&me\""))) << error.description().toStdString();
    EXPECT_EQ(b.mapper->templateHtml(), Template);
    EXPECT_EQ(b.text(RowNames), namesOf(b.model));

    QStandardItemModel nameless;
    nameless.setHorizontalHeaderLabels({QStringLiteral("Name")});
    lumetto::HtmlError other;
    b.mapper->setModel(&nameless, &other);
    EXPECT_EQ(other.type(), lumetto::HtmlError::NoSuchColumn);
    EXPECT_TRUE(other.description().contains(QStringLiteral("Colour")));
    EXPECT_EQ(b.mapper->model(), &b.model);

    auto* doomed = new Colours;
    b.mapper->setModel(doomed);
    delete doomed;
    EXPECT_EQ(b.mapper->model(), nullptr);
    EXPECT_EQ(b.mapper->currentIndex(), -1);
    EXPECT_TRUE(waitFor([&] { return b.text(QStringLiteral("document.querySelectorAll('.row').length + edit.value")) == QLatin1String("0"); }));
    b.mapper->setModel(&b.model);
    EXPECT_TRUE(waitFor([&] { return b.text(RowNames) == namesOf(b.model); }));
}

// A form's fields as Qt's widgets edit a model: a checkbox and radio buttons by their checked
// state, clicked for real, as the model holds it (a bool, 1 or 0); a cell the model does not let
// anyone edit read-only; a number shown as the view's locale writes it and edited as the number;
// a column named by its number, whatever its header says; an emptied field as NULL.
TEST(HtmlDataMapper, FieldsEditTheModelAsItsCellsTakeIt) {
    Bound b;
    Tasks tasks;
    b.mapper->setModel(nullptr);
    b.h.view().setLocale(QLocale(QLocale::German, QLocale::Germany));
    b.mapper->setTemplateHtml(QStringLiteral(
        "<input id='title' data-column='Title'> <input id='done' type='checkbox' data-column='#1'>"
        "<input id='urgent' type='radio' name='when' data-column='Urgent'><input id='later' type='radio' name='when' data-column='Later'>"
        "<p id='price' data-column='Price'></p><input id='cost' data-column='#4'> <input id='note' data-column='Note'>"));
    b.mapper->setModel(&tasks);
    const QString state = QStringLiteral("[done.checked, urgent.checked, later.checked, price.textContent, cost.value, "
                                         "note.readOnly, title.readOnly].join()");
    ASSERT_TRUE(waitFor([&] { return b.text(state) == QLatin1String("false,false,true,1.234,5,1234.5,true,false"); }))
        << b.text(state).toStdString();

    b.h.engineView()->window()->activateWindow();
    b.h.click(b.centreOf(QStringLiteral("#done")));
    EXPECT_TRUE(waitFor([&] { return tasks.at(1) == QVariant(true); })) << tasks.at(1).toString().toStdString();
    b.h.click(b.centreOf(QStringLiteral("#urgent")));
    EXPECT_TRUE(waitFor([&] { return tasks.at(2) == QVariant(1) && tasks.at(3) == QVariant(0); }))
        << tasks.at(2).toString().toStdString() << tasks.at(3).toString().toStdString();
    tasks.setHeaderData(1, Qt::Horizontal, QStringLiteral("Erledigt"));
    tasks.setData(tasks.index(0, 1), false);
    ASSERT_TRUE(waitFor([&] { return !b.h.inPage(QStringLiteral("done.checked")).toBool(); }));
    b.h.click(b.centreOf(QStringLiteral("#done")));
    EXPECT_TRUE(waitFor([&] { return tasks.at(1) == QVariant(true); })) << "the column named by its number";

    b.typeInto(QStringLiteral("#cost"), QStringLiteral("1\r"));
    EXPECT_TRUE(waitFor([&] { return tasks.at(4) == QVariant(1234.51); })) << tasks.at(4).toString().toStdString();
    EXPECT_TRUE(waitFor([&] { return b.text(QStringLiteral("price.textContent")) == QLatin1String("1.234,51"); }));

    b.mapper->setEmptyIsNull(true);
    b.typeInto(QStringLiteral("#title"), {});
    QTest::keyClick(b.h.engineView()->focusProxy(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(b.h.engineView()->focusProxy(), Qt::Key_Backspace);
    QTest::keyClick(b.h.engineView()->focusProxy(), Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] { return tasks.at(0).isNull(); })) << tasks.at(0).toString().toStdString();
}

// After the page process ended, the bound view comes back from the model, with what the user
// typed in the field of their own after the rows, and follows the model on.
TEST(HtmlDataMapper, ThePageComesBackFromTheModelAfterItsProcessEnded) {
    Bound b;
    b.typeInto(QStringLiteral("#free"), QStringLiteral("kept"));
    b.mapper->toLast();
    b.model.item(0)->setText(QStringLiteral("changed before"));
    ASSERT_TRUE(waitFor([&] { return b.text(RowNames) == namesOf(b.model); }));
    QSignalSpy failed(&b.h.view(), &lumetto::HtmlView::errorOccurred);
    const pid_t lost = static_cast<pid_t>(b.h.engineView()->page()->renderProcessPid());
    ASSERT_EQ(::kill(lost, SIGKILL), 0);
    b.model.item(1)->setText(QStringLiteral("changed while down"));

    // Asked through the view, which waits for its page anew, until the page shows the model.
    ASSERT_TRUE(waitFor([&] {
        lumetto::HtmlError error;
        return b.h.view().document().source(&error).contains(QStringLiteral("changed while down"));
    }));
    EXPECT_EQ(b.text(RowNames), namesOf(b.model));
    EXPECT_EQ(b.text(QStringLiteral("free.value")), QStringLiteral("kept"));
    EXPECT_EQ(failed.count(), 0) << "nothing of the restored content failed to find its place";
    EXPECT_TRUE(b.pixelIs(QStringLiteral("#swatch"), QColor(255, 255, 0)));
    b.model.item(2)->setText(QStringLiteral("changed after"));
    EXPECT_TRUE(waitFor([&] { return b.text(QStringLiteral("edit.value")) == QLatin1String("changed after"); }));
}

// A table of a database: a BLOB shown as the image it holds, and a change the database refuses
// to store reported at submit(), kept in the model and the field, marked for the user to
// correct; a change of another row that the same submit() stored is no part of the failure.
TEST(HtmlDataMapper, SqlTableShowsItsImagesAndRefusesWhatTheDatabaseRefuses) {
    ASSERT_TRUE(QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")));
    const QString connection = QStringLiteral("binding");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(QStringLiteral(":memory:"));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("CREATE TABLE colours (name TEXT NOT NULL CHECK (name NOT LIKE '%!%'), picture BLOB)")));
        QImage red(40, 40, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        red.save(&png, "PNG");
        ASSERT_TRUE(query.prepare(QStringLiteral("INSERT INTO colours VALUES (?, ?), ('plain', ?)")));
        query.addBindValue(QStringLiteral("red"));
        query.addBindValue(png.data());
        query.addBindValue(QByteArray("not an image"));
        ASSERT_TRUE(query.exec());

        QSqlTableModel model(nullptr, db);
        model.setTable(QStringLiteral("colours"));
        model.setEditStrategy(QSqlTableModel::OnManualSubmit);
        ASSERT_TRUE(model.select());
        Bound b;  // a view of its own, bound anew
        b.mapper->setModel(nullptr);
        b.mapper->setTemplateHtml(QStringLiteral("<img id='pic' data-column-src='picture'><input id='named' data-column='name'>"));
        b.mapper->setModel(&model);
        EXPECT_TRUE(b.pixelIs(QStringLiteral("#pic"), QColor(255, 0, 0))) << b.text(QStringLiteral("pic.src")).left(40).toStdString();
        b.mapper->toNext();
        EXPECT_TRUE(waitFor([&] { return b.text(QStringLiteral("named.value + pic.hasAttribute('src')")) == QLatin1String("plainfalse"); }));
        b.mapper->toFirst();

        QSignalSpy refused(b.mapper, &HtmlDataMapper::editRefused);
        b.typeInto(QStringLiteral("#named"), QStringLiteral(" wine\r"));
        ASSERT_TRUE(waitFor([&] { return model.data(model.index(0, 0)).toString() == QLatin1String("red wine"); }));
        b.mapper->toNext();
        ASSERT_TRUE(waitFor([&] { return b.text(QStringLiteral("named.value")) == QLatin1String("plain"); }));
        b.typeInto(QStringLiteral("#named"), QStringLiteral("!\r"));
        ASSERT_TRUE(waitFor([&] { return model.data(model.index(1, 0)).toString() == QLatin1String("plain!"); }));
        EXPECT_FALSE(b.mapper->submit());
        ASSERT_EQ(refused.count(), 1) << "stored, yet reported: row " << refused.at(0).at(0).toInt();
        EXPECT_EQ(refused.at(0).at(0).toInt(), 1);
        EXPECT_EQ(refused.at(0).at(1).toString(), QStringLiteral("name"));
        EXPECT_EQ(b.text(QStringLiteral("named.value")), QStringLiteral("plain!")) << "the user's edit was lost";
        EXPECT_TRUE(b.pixelIs(QStringLiteral("#named"), QColor(255, 0, 0))) << "the refused field is not marked";
        QTest::keyClick(b.h.engineView()->focusProxy(), Qt::Key_Backspace);
        EXPECT_TRUE(b.pixelIs(QStringLiteral("#named"), QColor(255, 255, 255))) << "the corrected field is still marked";
        QTest::keyClicks(b.h.engineView()->focusProxy(), QStringLiteral(" wine\r"));
        ASSERT_TRUE(waitFor([&] { return model.data(model.index(1, 0)).toString() == QLatin1String("plain wine"); }));
        EXPECT_TRUE(b.mapper->submit());
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT group_concat(name, '|') FROM colours")) && query.next());
        EXPECT_EQ(query.value(0).toString(), QStringLiteral("red wine|plain wine"));

        b.mapper->setEmptyIsNull(true);  // not for a column declared NOT NULL
        QTest::keyClick(b.h.engineView()->focusProxy(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(b.h.engineView()->focusProxy(), QStringLiteral("\b\r"));
        ASSERT_TRUE(waitFor([&] { return model.data(model.index(1, 0)).toString().isEmpty(); }));
        EXPECT_FALSE(model.data(model.index(1, 0)).isNull());
        EXPECT_TRUE(b.mapper->submit());
    }
    QSqlDatabase::removeDatabase(connection);
}

// A database that cannot take a change now, locked by another connection or opened read-only,
// loses none of the user's edits: submit() fails and reports it, the field keeps the edit, and
// a later submit() stores it, or revert() drops it from the field and the model. A value of a megabyte is shown whole, as text.
TEST(HtmlDataMapper, DatabaseLockedOrReadOnlyKeepsTheUsersEdits) {
    ASSERT_TRUE(QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")));
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("colours.sqlite"));
    const QString longValue(1000000, QLatin1Char('x'));
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(file);
        ASSERT_TRUE(other.open());
        QSqlQuery query(other);
        ASSERT_TRUE(query.exec(QStringLiteral("CREATE TABLE colours (name TEXT, note TEXT)")));
        ASSERT_TRUE(query.prepare(QStringLiteral("INSERT INTO colours VALUES ('red', ?)")));
        query.addBindValue(longValue);
        ASSERT_TRUE(query.exec());

        for (const bool readOnly : {false, true}) {
            SCOPED_TRACE(readOnly ? "read-only" : "locked");
            const QString connection = QStringLiteral("bound");
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
                db.setDatabaseName(file);
                db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY") : QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
                ASSERT_TRUE(db.open());
                QSqlTableModel model(nullptr, db);
                model.setTable(QStringLiteral("colours"));
                model.setEditStrategy(QSqlTableModel::OnManualSubmit);
                ASSERT_TRUE(model.select());
                Bound b;
                b.mapper->setModel(nullptr);
                b.mapper->setTemplateHtml(QStringLiteral("<input id='named' data-column='name'><p id='note' data-column='note'></p>"));
                b.mapper->setModel(&model);
                ASSERT_TRUE(waitFor([&] { return b.h.inPage(QStringLiteral("note.textContent.length")).toInt() == longValue.size(); }));

                if (!readOnly)
                    ASSERT_TRUE(query.exec(QStringLiteral("BEGIN EXCLUSIVE")));
                QSignalSpy refused(b.mapper, &HtmlDataMapper::editRefused);
                const QString edited = model.data(model.index(0, 0)).toString() + QStringLiteral(" wine");
                b.typeInto(QStringLiteral("#named"), QStringLiteral(" wine\r"));
                ASSERT_TRUE(waitFor([&] { return model.data(model.index(0, 0)).toString() == edited; }));
                EXPECT_FALSE(b.mapper->submit());
                EXPECT_EQ(refused.count(), 1);
                EXPECT_EQ(b.text(QStringLiteral("named.value")), edited) << "the user's edit was lost";
                EXPECT_EQ(model.data(model.index(0, 0)).toString(), edited);
                if (!readOnly) {
                    ASSERT_TRUE(query.exec(QStringLiteral("COMMIT")));
                    EXPECT_TRUE(b.mapper->submit()) << "the edit kept was not stored once the lock went";
                } else {
                    const QString before = edited.chopped(5);
                    b.mapper->revert();  // the edit the database could not take is dropped from the model too
                    EXPECT_EQ(model.data(model.index(0, 0)).toString(), before);
                    EXPECT_TRUE(waitFor([&] { return b.text(QStringLiteral("named.value")) == before; }));
                    EXPECT_TRUE(b.mapper->submit());
                }
            }
            QSqlDatabase::removeDatabase(connection);
        }
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT name FROM colours")) && query.next());
        EXPECT_EQ(query.value(0).toString(), QStringLiteral("red wine"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

// A table of a database file with many rows, name N in row N, as a QSqlTableModel after
// select(): it has fetched the first rows only.
struct ManyRows {
    ManyRows(int rows, const QString& connection) : connection(connection) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(folder.filePath(QStringLiteral("many.sqlite")));
        EXPECT_TRUE(db.open());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(QStringLiteral("CREATE TABLE items (name TEXT)")));
        db.transaction();
        query.prepare(QStringLiteral("INSERT INTO items VALUES (?)"));
        for (int row = 0; row < rows; ++row) {
            query.addBindValue(QStringLiteral("name %1").arg(row));
            query.exec();
        }
        db.commit();
        model = std::make_unique<QSqlTableModel>(nullptr, db);
        model->setTable(QStringLiteral("items"));
        model->setEditStrategy(QSqlTableModel::OnManualSubmit);
        EXPECT_TRUE(model->select());
    }
    ~ManyRows() {
        model.reset();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
    }
    QString connection;
    QTemporaryDir folder;
    QSqlDatabase db;
    std::unique_ptr<QSqlTableModel> model;
};

// The names of the rows the page shows within its viewport, top to bottom.
const QString VisibleNames = QStringLiteral(
    "Array.from(document.querySelectorAll('.row')).filter((row) => { const box = row.getBoundingClientRect();"
    " return box.bottom > 0 && box.top < innerHeight; }).map((row) => row.querySelector('b').textContent).join('|')");

// A list of every row of a table far longer than the model has fetched: a move reaches any row,
// fetching what it needs, and scrolls it onto the screen, as the End key does; the page holds the
// rows near the viewport only; what the user typed in a row's field of its own comes back when the
// row comes back into the window, and after the page process ended.
TEST(HtmlDataMapper, EveryRowOfALongTableIsReachedWhileThePageHoldsFew) {
    ASSERT_TRUE(QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")));
    constexpr int Rows = 50000;
    ManyRows table(Rows, QStringLiteral("many"));
    ASSERT_LT(table.model->rowCount(), Rows) << "the model is to fetch its rows as asked";
    Bound b;
    b.mapper->setModel(nullptr);
    b.mapper->setTemplateHtml(QStringLiteral("<section class='row' data-repeat><b data-column='name'></b><input class='note'></section>"));
    b.mapper->setModel(table.model.get());
    const QString last = QStringLiteral("name %1").arg(Rows - 1);
    const auto visible = [&] { return b.text(VisibleNames).split(QLatin1Char('|')); };
    ASSERT_TRUE(waitFor([&] { return visible().startsWith(QStringLiteral("name 0")); }));

    b.typeInto(QStringLiteral(".row:nth-of-type(3) input"), QStringLiteral("kept"));
    b.mapper->toLast();
    EXPECT_EQ(b.mapper->currentIndex(), Rows - 1);
    EXPECT_TRUE(waitFor([&] { return visible().contains(last); })) << b.text(VisibleNames).toStdString();
    EXPECT_TRUE(b.pixelIs(QStringLiteral(".row[data-current]"), QColor(0, 0, 255)));
    EXPECT_EQ(b.text(QStringLiteral("document.querySelector('.row[data-current] b').textContent")), last);
    EXPECT_LT(b.h.inPage(QStringLiteral("document.querySelectorAll('.row').length")).toInt(), 200);

    b.mapper->setCurrentIndex(3000);
    EXPECT_EQ(b.mapper->currentIndex(), 3000);
    EXPECT_TRUE(waitFor([&] { return visible().contains(QStringLiteral("name 3000")); })) << b.text(VisibleNames).toStdString();
    EXPECT_TRUE(b.pixelIs(QStringLiteral(".row[data-current]"), QColor(0, 0, 255)));

    b.mapper->toFirst();
    ASSERT_TRUE(waitFor([&] { return visible().startsWith(QStringLiteral("name 0")); }));
    const QString note = QStringLiteral("document.querySelectorAll('.row input')[2].value");
    EXPECT_TRUE(waitFor([&] { return b.text(note) == QLatin1String("kept"); }));
    const pid_t lost = static_cast<pid_t>(b.h.engineView()->page()->renderProcessPid());
    ASSERT_EQ(::kill(lost, SIGKILL), 0);
    ASSERT_TRUE(waitFor([&] {
        lumetto::HtmlError error;
        return b.h.view().document().source(&error).contains(QStringLiteral("name 2<"));
    }));
    EXPECT_TRUE(waitFor([&] { return b.text(note) == QLatin1String("kept"); })) << b.text(note).toStdString();

    // The wheel near the end of the rows fetched fetches more before the end is reached; the
    // End key scrolls the page to the list's real end.
    b.mapper->setModel(nullptr);
    ManyRows other(Rows, QStringLiteral("other"));
    b.mapper->setModel(other.model.get());
    ASSERT_TRUE(waitFor([&] { return visible().startsWith(QStringLiteral("name 0")); }));
    b.h.click(b.centreOf(QStringLiteral(".row b")));
    const int fetched = other.model->rowCount();
    const QPoint middle(b.h.engineView()->width() / 2, b.h.engineView()->height() / 2);
    EXPECT_TRUE(waitFor([&] {
        QWheelEvent wheel(middle, b.h.engineView()->mapToGlobal(middle), {}, {0, -360}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(b.h.engineView()->focusProxy(), &wheel);
        return visible().contains(QStringLiteral("name %1").arg(fetched));
    })) << b.text(VisibleNames).toStdString();
    EXPECT_LT(other.model->rowCount(), Rows);
    QTest::keyClick(b.h.engineView()->focusProxy(), Qt::Key_End);
    EXPECT_TRUE(waitFor([&] { return visible().endsWith(last); })) << b.text(VisibleNames).toStdString();
    EXPECT_EQ(other.model->rowCount(), Rows);
}

}  // namespace
