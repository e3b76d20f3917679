#include "driving/RunningApp.h"
#include "support/QtPrinters.h"
#include "driving/Clipboard.h"
#include "driving/PageGeometry.h"
#include "driving/PageScript.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QWebEngineView>

namespace {

// A selection made with the mouse across two list items, from the start of the first item's
// text to the end of the second's.
void selectTwoItems(RunningApp& app) {
    const QRect first = boundingBox(app.pageView(), QStringLiteral("ul li:nth-child(2)"));
    const QRect second = boundingBox(app.pageView(), QStringLiteral("ul li:nth-child(3)"));
    dragAcross(app.pageView(), QPoint(first.left() + 1, first.center().y()), QPoint(second.left() + 120, second.center().y()));
    // The page takes input apart from the calls that read it: wait until it has the selection.
    ASSERT_TRUE(waitFor([&] { return !app.inPage(QStringLiteral("window.getSelection().toString()")).toString().isEmpty(); }))
        << "the drag across two items selected nothing";
}

QString selectionText(RunningApp& app) {
    return app.inPage(QStringLiteral("window.getSelection().toString()")).toString();
}

// A point on the selected part of the second item.
QPoint secondItem(RunningApp& app) {
    const QRect item = boundingBox(app.pageView(), QStringLiteral("ul li:nth-child(3)"));
    return QPoint(item.left() + 60, item.center().y());
}

TEST(ContextMenu, CopyAsTextPutsTheSelectionOnTheClipboardAndInTheMirror) {
    RunningApp app;
    selectTwoItems(app);
    const QString selected = selectionText(app);
    ASSERT_TRUE(selected.contains(QStringLiteral("datasource")) && selected.contains(QStringLiteral("Track"))) << selected;

    QMenu* menu = app.openMenu(secondItem(app));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(app.label("Label2"), QStringLiteral("Last Click - RightClick : ")) << app.messages().join(QLatin1Char(10));
    ASSERT_TRUE(app.choose(menu, QStringLiteral("Copy as Text")));
    ASSERT_TRUE(waitFor([&] { return app.label("lblClipCaption") == QLatin1String("Clipboard Contents (Text)"); }));
    EXPECT_EQ(clipboardAs(QStringLiteral("text/plain")), selected);
    EXPECT_TRUE(app.mirrorContent().contains(QStringLiteral("Binds to your datasource")));
    EXPECT_EQ(app.inlineBackground(QStringLiteral("ul li:nth-child(3)")), QString()) << "the highlight came off first";
    EXPECT_TRUE(app.messages().isEmpty());
}

TEST(ContextMenu, CopyAsHtmlMirrorsTheMarkupWithoutTheHighlightAndKeepsTheSelection) {
    RunningApp app;
    selectTwoItems(app);
    QMenu* menu = app.openMenu(secondItem(app));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(app.inlineBackground(QStringLiteral("ul li:nth-child(3)")), QStringLiteral("rgb(241, 241, 241)"));
    ASSERT_TRUE(app.choose(menu, QStringLiteral("Copy as HTML")));
    ASSERT_TRUE(waitFor([&] { return app.label("lblClipCaption") == QLatin1String("Clipboard Contents (HTML)"); }));
    const QString mirrored = app.mirrorContent();
    EXPECT_TRUE(mirrored.contains(QStringLiteral("<li>")) && mirrored.contains(QStringLiteral("datasource"))) << mirrored;
    EXPECT_FALSE(mirrored.contains(QStringLiteral("241")) || mirrored.contains(QStringLiteral("background")));
    EXPECT_EQ(clipboardAs(QStringLiteral("text/html")), app.vekBrowser1().GetSelectionHTML().toText());
    EXPECT_FALSE(selectionText(app).isEmpty()) << "the selection remains";
}

TEST(ContextMenu, CheckThisMenuFlipsItsMarkEachTimeItIsChosen) {
    RunningApp app;
    const QPoint at = app.centreOf(QStringLiteral("li"));
    for (bool checkedBefore : {false, true, false}) {
        QMenu* menu = app.openMenu(at);
        ASSERT_NE(menu, nullptr);
        const auto actions = menu->actions();
        ASSERT_EQ(actions.size(), 4);  // the two copies, the separator, the custom entry
        EXPECT_TRUE(actions[2]->isSeparator());
        EXPECT_EQ(actions[3]->text(), QStringLiteral("Check this menu"));
        EXPECT_EQ(actions[3]->isChecked(), checkedBefore);
        ASSERT_TRUE(app.choose(menu, QStringLiteral("Check this menu")));
        ASSERT_TRUE(waitFor([&] { return !QApplication::activePopupWidget(); }));
    }
    EXPECT_TRUE(app.messages().isEmpty());
}

// The page shows text that is markup; a text copy of it is shown as markup in brClip.
void copyAllAsText(RunningApp& app, const QString& escapedBody) {
    app.vekBrowser1().setBodyHTML(escapedBody);
    app.click(QPoint(20, 10));
    app.press(Qt::Key_A, Qt::ControlModifier);
    QMenu* menu = app.openMenu(QPoint(20, 10));
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(app.choose(menu, QStringLiteral("Copy as Text")));
}

TEST(ContextMenu, MarkupCopiedAsTextRunsNoScriptInTheMirror) {
    RunningApp app;
    copyAllAsText(app, QStringLiteral(
        "&lt;img id='probe' src='missing.gif' onerror=\"document.body.setAttribute('data-ran','yes')\"&gt;"
        "&lt;script&gt;document.body.setAttribute('data-ran','yes')&lt;/script&gt;"));
    ASSERT_TRUE(waitFor([&] { return app.label("lblClipCaption") == QLatin1String("Clipboard Contents (Text)"); }));
    auto body = app.brClip().Document().as<contract::IHTMLDocument2>()->body().as<contract::IHTMLElement>();
    ASSERT_TRUE(app.mirrorContent().contains(QStringLiteral("<img id=\"probe\""))) << "shown as markup";
    auto* mirror = app.form().findChild<QWebEngineView*>(QStringLiteral("brClip"));
    ASSERT_TRUE(waitFor([&] { return evaluateInPage(mirror, QStringLiteral("document.getElementById('probe').complete")).toBool(); }))
        << "the broken image never failed, so its error handler had no occasion to run";
    EXPECT_TRUE(body->getAttribute(QStringLiteral("data-ran")).isNull());
}

TEST(ContextMenu, TenMegabyteCopyIsMirroredWithoutTheWindowHanging) {
    RunningApp app;
    const QString line = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ");
    copyAllAsText(app, QStringLiteral("<p>%1</p>").arg(line.repeated(10 * 1024 * 1024 / line.size())));
    ASSERT_TRUE(waitFor([&] { return app.label("lblClipCaption") == QLatin1String("Clipboard Contents (Text)"); }, 60000));
    EXPECT_GE(QGuiApplication::clipboard()->text().size(), 10000000);
    // The mirror lays out ten megabytes before it answers; asked from here, where the wait is
    // bounded by the test rather than by a call of the control's.
    auto* mirror = app.form().findChild<QWebEngineView*>(QStringLiteral("brClip"));
    EXPECT_TRUE(waitFor([&] { return evaluateInPage(mirror, QStringLiteral("document.body.innerHTML.length")).toInt() >= 10000000; }))
        << "the mirror does not hold the ten megabytes";
    EXPECT_TRUE(app.messages().isEmpty()) << app.messages().join(QLatin1Char('\n')).toStdString();
}

}  // namespace
