#include "driving/RunningApp.h"
#include "support/QtPrinters.h"

#include "driving/PageGeometry.h"
#include "driving/Wait.h"
#include "driving/WhileModal.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

namespace {

using contract::IHTMLDocument2;
using contract::IHTMLSelectionObject;
using contract::IHTMLTxtRange;

QString selectedText(contract::vekBrowser& control) {
    return control.Document().as<IHTMLDocument2>()->selection().as<IHTMLSelectionObject>()->createRange()
        .as<IHTMLTxtRange>()->text();
}

// A drag from the start of the product page's "Features" line into its first feature.
void dragFeatures(RunningApp& app) {
    const QRect features = boundingBox(app.pageView(), QStringLiteral("p[align=left]"));
    const QRect feature = boundingBox(app.pageView(), QStringLiteral("li"));
    ASSERT_FALSE(features.isEmpty() || feature.isEmpty());
    dragAcross(app.pageView(), QPoint(features.left() + 1, features.center().y()),
               QPoint(feature.left() + 120, feature.center().y()));
}

TEST(Commands, CssItemsRepaintThePageGreenThenWhite) {
    RunningApp app;
    const auto background = [&] { return app.screen().pixelColor(3, 3); };

    ASSERT_TRUE(app.chooseMenuItem("mnuCSS", "mnuCSSGreen"));
    EXPECT_TRUE(waitFor([&] { return background() == QColor(0, 128, 0); }));
    ASSERT_TRUE(app.chooseMenuItem("mnuCSS", "mnuCSSGreen"));
    EXPECT_EQ(app.vekBrowser1().SourceHTML().toText().count(QStringLiteral("background-color : green")), 1);

    ASSERT_TRUE(app.chooseMenuItem("mnuCSS", "mnuCSSWhite"));
    EXPECT_TRUE(waitFor([&] { return background() == QColor(Qt::white); }));
    EXPECT_FALSE(app.vekBrowser1().SourceHTML().toText().contains(QStringLiteral("green")));
    EXPECT_TRUE(app.messages().isEmpty()) << app.messages().join(QLatin1Char('\n')).toStdString();
}

TEST(Commands, AllowSelectionStopsAndAllowsMouseSelectionWithItsCheckMark) {
    RunningApp app;
    auto* mark = app.form().findChild<QAction*>(QStringLiteral("mnuOptSelect"));
    dragFeatures(app);
    EXPECT_TRUE(waitFor([&] { return !selectedText(app.vekBrowser1()).isEmpty(); })) << "a drag selects";

    ASSERT_TRUE(app.chooseMenuItem("mnuOpt", "mnuOptSelect"));
    EXPECT_FALSE(mark->isChecked());
    EXPECT_FALSE(app.vekBrowser1().AllowMouseSelect().toBool());
    dragFeatures(app);
    EXPECT_EQ(selectedText(app.vekBrowser1()), QString()) << "a drag selects nothing";

    ASSERT_TRUE(app.chooseMenuItem("mnuOpt", "mnuOptSelect"));
    EXPECT_TRUE(mark->isChecked());
    EXPECT_TRUE(app.vekBrowser1().AllowMouseSelect().toBool());
    dragFeatures(app);
    EXPECT_TRUE(waitFor([&] { return !selectedText(app.vekBrowser1()).isEmpty(); })) << "a drag selects again";
    EXPECT_TRUE(app.messages().isEmpty());
}

TEST(Commands, CurrentTextSelectionShowsThePlainTextSelectedInThePageOnly) {
    RunningApp app;
    // Text selected in the mirror below does not count.
    app.brClip().setBodyHTML(QStringLiteral("<p>mirrored text</p>"));
    auto* mirror = app.form().findChild<QWebEngineView*>(QStringLiteral("brClip"));
    const QRect mirrored = boundingBox(mirror, QStringLiteral("p"));
    dragAcross(mirror, QPoint(mirrored.left() + 1, mirrored.center().y()), QPoint(mirrored.left() + 60, mirrored.center().y()));
    ASSERT_TRUE(waitFor([&] { return !selectedText(app.brClip()).isEmpty(); })) << "the drag in the mirror selected nothing";
    app.clickButton("Command1");
    ASSERT_EQ(app.messages().size(), 1);
    EXPECT_EQ(app.messages().at(0), QString()) << "nothing selected in the page: an empty prompt";

    dragFeatures(app);
    ASSERT_TRUE(waitFor([&] { return !selectedText(app.vekBrowser1()).isEmpty(); })) << "the drag in the page selected nothing";
    app.clickButton("Command1");
    ASSERT_EQ(app.messages().size(), 2);
    const QString shown = app.messages().at(1);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Features\n"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Display media rich"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1Char('<'))) << "plain text, without markup";
}

TEST(Commands, CurrentTextSelectionShowsMarkupAsTextInABoxThatStaysOnTheScreen) {
    RunningApp app(RunningApp::MessageBoxes::Shown);
    // Selected markup that, taken as rich text, would hang on an endless image, show a file
    // from anywhere and offer a link to the desktop's opener.
    const QString markup = QStringLiteral("<b>BOLD</b><img src=\"/dev/zero\"><img src=\"file://%1\"><a href=\"file:///etc/passwd\">x</a>")
                               .arg(QStringLiteral(LUMETTO_ICON));
    app.vekBrowser1().setBodyHTML(QStringLiteral("<p>%1 %2</p>").arg(markup.toHtmlEscaped(), QStringLiteral("many words ").repeated(10000)));
    app.click(QPoint(20, 10));
    app.press(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([&] { return app.inPage(QStringLiteral("window.getSelection().toString().length")).toInt() > 100000; }))
        << "the page's text was not selected";

    WhileModal box([&](QDialog& window) {
        QLabel* prompt = nullptr;
        for (QLabel* label : window.findChildren<QLabel*>())
            if (label->text().startsWith(QStringLiteral("<b>BOLD</b>")))
                prompt = label;
        ASSERT_NE(prompt, nullptr) << "the selection is shown as it was selected";
        EXPECT_TRUE(prompt->textFormat() == Qt::PlainText ||
                    (prompt->textFormat() == Qt::AutoText && !Qt::mightBeRichText(prompt->text())))
            << "shown as plain text";
        const QRect screen = window.screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(window.frameGeometry())) << "the box fits on the screen, not " << window.frameGeometry().height() << " px tall";
        auto* messageBox = qobject_cast<QMessageBox*>(&window);
        ASSERT_NE(messageBox, nullptr);
        QAbstractButton* ok = messageBox->button(QMessageBox::Ok);
        EXPECT_TRUE(screen.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size()))) << "its button can be reached";
    });
    app.clickButton("Command1");
    ASSERT_TRUE(box.looked());
    ASSERT_EQ(app.messages().size(), 1);
    EXPECT_TRUE(app.messages().first().startsWith(markup));
}

}  // namespace
