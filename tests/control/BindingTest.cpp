#include "control/ControlHarness.h"

#include "driving/PageGeometry.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <lumetto/HtmlDataMapper.h>
#include <lumetto/HtmlView.h>

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>

namespace {

using lumetto::HtmlDataMapper;

// A list of swatches and a record view of the current row, in one template.
const QString Template = QStringLiteral(
    "<div id='record'><span id='name' data-column='Name'></span>"
    "<div id='swatch' data-column-style='Colour'></div><input id='edit' data-column='Name'></div>"
    "<input id='free'>"
    "<div id='list'><div class='row' data-repeat><b data-column='Name'></b><i data-column-style='Colour'></i></div></div>");
const QString Rules = QStringLiteral(
    "body { margin: 0 } #record { height: 100px } #swatch, .row i { display: block; width: 60px; height: 40px }"
    ".row { height: 40px; display: flex } .row[data-current] { background: rgb(0, 0, 255) }");

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

// A control showing Template bound to a Colours model.
struct Bound {
    Bound() : mapper(new HtmlDataMapper(&h.control().view())) {
        h.control().view().setCssText(Rules);
        mapper->setModel(&model);
        lumetto::HtmlError error;
        mapper->setTemplateHtml(Template, &error);
        EXPECT_FALSE(error.isValid()) << error.description().toStdString();
    }
    QString text(const QString& script) { return h.inPage(script).toString(); }
    QPoint centreOf(const QString& selector) { return boundingBox(h.view(), selector).center(); }
    bool pixelIs(const QString& selector, const QColor& wanted) {
        return waitFor([&] { return h.pixelAt(centreOf(selector) + QPoint(20, 0)) == wanted; });
    }
    void typeInto(const QString& selector, const QString& keys) {
        h.view()->window()->activateWindow();
        h.click(centreOf(selector));
        ASSERT_TRUE(waitFor([&] { return h.inPage(QStringLiteral("document.activeElement === document.querySelector(%1)")
                                                      .arg(QLatin1Char('"') + selector + QLatin1Char('"')))
                                          .toBool(); }));
        QTest::keyClicks(h.view()->focusProxy(), keys);
    }

    ControlHarness h;
    Colours model;
    HtmlDataMapper* mapper;
};

const QString RowNames = QStringLiteral("Array.from(document.querySelectorAll('.row b'), (b) => b.textContent).join('|')");

TEST(Binding, RecordViewAndListShowTheModelAndFollowNavigationAndClicks) {
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
    EXPECT_EQ(b.h.inPage(QStringLiteral("document.querySelectorAll('img, #list b b').length")).toInt(), 0);

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

}  // namespace
