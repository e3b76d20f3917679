#include "e2e/AppHarness.h"

#include "support/PageGeometry.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

namespace {

using hosted::IHTMLDocument2;
using hosted::IHTMLSelectionObject;
using hosted::IHTMLTxtRange;

QString selectedText(hosted::vekBrowser& control) {
    return control.Document().as<IHTMLDocument2>()->selection().as<IHTMLSelectionObject>()->createRange()
        .as<IHTMLTxtRange>()->text();
}

// A drag from the start of the product page's "Features" line into its first feature.
void dragFeatures(AppHarness& app) {
    const QRect features = boundingBox(app.pageView(), QStringLiteral("p[align=left]"));
    const QRect feature = boundingBox(app.pageView(), QStringLiteral("li"));
    ASSERT_FALSE(features.isEmpty() || feature.isEmpty());
    dragAcross(app.pageView(), QPoint(features.left() + 1, features.center().y()),
               QPoint(feature.left() + 120, feature.center().y()));
}

void clickButton(AppHarness& app, const char* name) {
    auto* button = app.form().findChild<QPushButton*>(QLatin1String(name));
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

TEST(Commands, CssItemsRepaintThePageGreenThenWhite) {
    AppHarness app;
    const auto background = [&] { return app.screen().pixelColor(3, 3); };

    app.chooseMenuItem("mnuCSS", "mnuCSSGreen");
    EXPECT_TRUE(waitFor([&] { return background() == QColor(0, 128, 0); }));
    app.chooseMenuItem("mnuCSS", "mnuCSSGreen");
    EXPECT_EQ(app.vekBrowser1().SourceHTML().toText().count(QStringLiteral("background-color : green")), 1);
    app.saveScreenshot(QStringLiteral("css-green"));

    app.chooseMenuItem("mnuCSS", "mnuCSSWhite");
    EXPECT_TRUE(waitFor([&] { return background() == QColor(Qt::white); }));
    EXPECT_FALSE(app.vekBrowser1().SourceHTML().toText().contains(QStringLiteral("green")));
    EXPECT_TRUE(app.messages().isEmpty()) << app.messages().join(QLatin1Char('\n')).toStdString();
}

TEST(Commands, AllowSelectionStopsAndAllowsMouseSelectionWithItsCheckMark) {
    AppHarness app;
    auto* mark = app.form().findChild<QAction*>(QStringLiteral("mnuOptSelect"));
    dragFeatures(app);
    EXPECT_FALSE(selectedText(app.vekBrowser1()).isEmpty());

    app.chooseMenuItem("mnuOpt", "mnuOptSelect");
    EXPECT_FALSE(mark->isChecked());
    EXPECT_FALSE(app.vekBrowser1().AllowMouseSelect().toBool());
    dragFeatures(app);
    EXPECT_EQ(selectedText(app.vekBrowser1()), QString()) << "a drag selects nothing";

    app.chooseMenuItem("mnuOpt", "mnuOptSelect");
    EXPECT_TRUE(mark->isChecked());
    EXPECT_TRUE(app.vekBrowser1().AllowMouseSelect().toBool());
    dragFeatures(app);
    EXPECT_FALSE(selectedText(app.vekBrowser1()).isEmpty());
    EXPECT_TRUE(app.messages().isEmpty());
}

TEST(Commands, CurrentTextSelectionShowsThePlainTextSelectedInThePageOnly) {
    AppHarness app;
    // Text selected in the mirror below does not count.
    app.brClip().setBodyHTML(QStringLiteral("<p>mirrored text</p>"));
    auto* mirror = app.form().findChild<QWebEngineView*>(QStringLiteral("brClip"));
    const QRect mirrored = boundingBox(mirror, QStringLiteral("p"));
    dragAcross(mirror, QPoint(mirrored.left() + 1, mirrored.center().y()), QPoint(mirrored.left() + 60, mirrored.center().y()));
    ASSERT_FALSE(selectedText(app.brClip()).isEmpty());
    clickButton(app, "Command1");
    ASSERT_EQ(app.messages().size(), 1);
    EXPECT_EQ(app.messages().at(0), QString()) << "nothing selected in the page: an empty prompt";

    dragFeatures(app);
    clickButton(app, "Command1");
    ASSERT_EQ(app.messages().size(), 2);
    const QString shown = app.messages().at(1);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Features\n"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Display media rich"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1Char('<'))) << "plain text, without markup";
}

}  // namespace
