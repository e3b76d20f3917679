#include "Tour.h"

#include "content/basGlobal.h"
#include "driving/Clipboard.h"
#include "driving/Input.h"
#include "driving/PageGeometry.h"
#include "driving/ProductPage.h"
#include "driving/ScreenGrab.h"
#include "driving/Wait.h"
#include "driving/WhileModal.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QWebEngineView>

#include <cstdio>

Tour::Tour(const QDir& screenshots) : screenshots_(screenshots), app_(RunningApp::MessageBoxes::Shown) {}

std::vector<Tour::Step> Tour::steps() {
    return {
        {QStringLiteral("01-start"), QStringLiteral("Form1 with the product page"), [this] { return start(); }},
        {QStringLiteral("02-highlighted-cell"), QStringLiteral("a left click highlights a cell"), [this] { return highlightCell(); }},
        {QStringLiteral("03-questionnaire"), QStringLiteral("the questionnaire, filled in"), [this] { return fillQuestionnaire(); }},
        {QStringLiteral("04-answers"), QStringLiteral("the answers under \"Answers\""), [this] { return submitAnswers(); }},
        {QStringLiteral("05-context-menu"), QStringLiteral("the control's right-click menu"), [this] { return openContextMenu(); }},
        {QStringLiteral("06-copied-as-html"), QStringLiteral("a copy as HTML, mirrored"), [this] { return copyAsHtml(); }},
        {QStringLiteral("07-green-page"), QStringLiteral("\"Set bg to Green\""), [this] { return greenPage(); }},
        {QStringLiteral("08-allow-selection"), QStringLiteral("the \"Allow Selection\" check mark"), [this] { return allowSelectionMark(); }},
        {QStringLiteral("09-selection-message-box"), QStringLiteral("\"Current Text Selection\""), [this] { return selectionMessageBox(); }},
        {QStringLiteral("10-form2-source"), QStringLiteral("\"View Code\": Form2 with the source"), [this] { return viewSource(); }},
    };
}

bool Tour::run() {
    const std::vector<Step> all = steps();
    int number = 0;
    for (const Step& step : all) {
        ++number;
        currentStep_ = step.name;
        shot_.reset();
        QString missing = step.act();
        if (missing.isEmpty() && !shot_)
            screenshot();
        if (missing.isEmpty() && !*shot_)
            missing = QStringLiteral("the screenshot could not be saved");
        if (!missing.isEmpty()) {
            std::fprintf(stderr, "%2d/%zu %s: FAILED, %s\n", number, all.size(), qPrintable(step.caption), qPrintable(missing));
            return false;
        }
        std::printf("%2d/%zu %s: %s\n", number, all.size(), qPrintable(step.caption),
                    qPrintable(screenshots_.filePath(step.name + QStringLiteral(".png"))));
        std::fflush(stdout);
    }
    return true;
}

// The window as the person sees it, with any menu over it; or another window of the application.
void Tour::screenshot(QWidget* window) {
    QTest::qWait(300);  // the frames that show the step's last changes
    const QString path = screenshots_.filePath(currentStep_ + QStringLiteral(".png"));
    shot_ = window ? saveScreen(window, path) : app_.saveScreenshot(path);
}

QString Tour::start() {
    return app_.ready() ? QString() : QStringLiteral("the product page was not painted");
}

QString Tour::highlightCell() {
    const QString cell = QStringLiteral("table tr:nth-child(2) > td");
    app_.click(app_.firstLineOf(cell));
    if (!waitFor([&] { return app_.label("Label1") == QLatin1String("TD"); }))
        return QStringLiteral("Label1 did not show \"TD\"");
    if (app_.inlineBackground(cell) != product_page::HighlightStyle)
        return QStringLiteral("the cell was not highlighted");
    return {};
}

QString Tour::fillQuestionnaire() {
    app_.click(QStringLiteral("a"));
    if (!waitFor([&] { return basGlobal::PageState == 1; }))
        return QStringLiteral("the questionnaire did not come");
    app_.click(QStringLiteral("input[name=Question1]"));
    if (!waitFor([&] { return app_.label("Label1") == QLatin1String("INPUT"); }))
        return QStringLiteral("the text box did not take the click");
    app_.type(QStringLiteral("Ada Lovelace"));
    app_.press(Qt::Key_Tab);
    app_.press(Qt::Key_Down);
    if (!waitFor([&] { return app_.inPage(QStringLiteral("document.querySelector('select').value")) == QLatin1String("No"); }))
        return QStringLiteral("the list did not change to \"No\"");
    return {};
}

QString Tour::submitAnswers() {
    app_.click(QStringLiteral("#SubmitButton"));
    if (!waitFor([&] { return app_.label("lblClipCaption") == QLatin1String("Answers"); }))
        return QStringLiteral("the caption did not read \"Answers\"");
    if (!app_.mirrorContent().contains(QStringLiteral("Question1 : Ada Lovelace<br>Question2 : No<br>")))
        return QStringLiteral("brClip did not show the answers");
    if (!waitFor([&] { return basGlobal::PageState == 0 && app_.showsProductPage(); }))
        return QStringLiteral("the product page did not come back");
    return {};
}

QString Tour::openContextMenu() {
    const QRect second = boundingBox(app_.pageView(), QStringLiteral("ul li:nth-child(2)"));
    const QRect third = boundingBox(app_.pageView(), QStringLiteral("ul li:nth-child(3)"));
    dragAcross(app_.pageView(), QPoint(second.left() + 1, second.center().y()), QPoint(third.left() + 120, third.center().y()));
    if (!waitFor([&] { return !app_.inPage(QStringLiteral("window.getSelection().toString()")).toString().isEmpty(); }))
        return QStringLiteral("the drag selected nothing");
    const QPoint at(third.left() + 60, third.center().y());
    QMenu* menu = app_.openMenu(at);
    if (!menu)
        return QStringLiteral("the menu did not open");
    // On the screen at the click, over Form1, as a menu of Form1.
    const auto click = onScreen(app_.pageView(), at);
    if (!click || menu->windowHandle()->transientParent() != app_.form().windowHandle() ||
        !waitFor([&] { return showsWidgetAt(menu, *click); }, 5000))
        return QStringLiteral("the menu was not shown at the click, over Form1");
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    if (entries != QStringList{QStringLiteral("Copy as Text"), QStringLiteral("Copy as HTML"), QStringLiteral("-"),
                               QStringLiteral("Check this menu")})
        return QStringLiteral("the menu held %1").arg(entries.join(QStringLiteral(", ")));
    return {};
}

QString Tour::copyAsHtml() {
    const QString selected = app_.inPage(QStringLiteral("window.getSelection().toString()")).toString();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || !app_.choose(menu, QStringLiteral("Copy as HTML")))
        return QStringLiteral("\"Copy as HTML\" could not be chosen");
    if (!waitFor([&] { return app_.label("lblClipCaption") == QLatin1String("Clipboard Contents (HTML)"); }))
        return QStringLiteral("the caption did not name the HTML copy");
    const QString mirrored = app_.mirrorContent();
    if (!mirrored.contains(QStringLiteral("<li>")) || mirrored.contains(QStringLiteral("241")))
        return QStringLiteral("brClip did not show the selection's markup without the highlight");
    // On the system clipboard for other programs: the markup, and the text for those that take text.
    const QString html = clipboardAs(QStringLiteral("text/html"));
    if (!html.contains(QStringLiteral("<li>")) || !html.contains(QStringLiteral("datasource")) || html.contains(QStringLiteral("241")))
        return QStringLiteral("the clipboard held \"%1\" as HTML").arg(html);
    if (clipboardAs(QStringLiteral("text/plain")) != selected)
        return QStringLiteral("the clipboard did not hold the selection's text");
    return {};
}

QString Tour::greenPage() {
    if (!app_.chooseMenuItem("mnuCSS", "mnuCSSGreen"))
        return QStringLiteral("\"Set bg to Green\" could not be chosen");
    const QPoint empty(app_.pageView()->width() / 2, app_.pageView()->height() - 4);
    if (!waitFor([&] { return app_.screen().pixelColor(empty) == QColor(0, 128, 0); }))
        return QStringLiteral("the page did not turn green");
    return {};
}

QString Tour::allowSelectionMark() {
    QMenu* options = app_.openMenuBar("mnuOpt");
    if (!options)
        return QStringLiteral("the \"Options\" menu did not open");
    auto* item = app_.form().findChild<QAction*>(QStringLiteral("mnuOptSelect"));
    if (!item->isChecked())
        return QStringLiteral("\"Allow Selection\" showed no check mark while selection is allowed");
    screenshot();
    input::key(options, Qt::Key_Escape);
    return {};
}

QString Tour::selectionMessageBox() {
    const QRect features = boundingBox(app_.pageView(), QStringLiteral("p[align=left]"));
    const QRect feature = boundingBox(app_.pageView(), QStringLiteral("li"));
    dragAcross(app_.pageView(), QPoint(features.left() + 1, features.center().y()),
               QPoint(feature.left() + 120, feature.center().y()));
    const QString selected = app_.inPage(QStringLiteral("window.getSelection().toString()")).toString();
    if (selected.isEmpty())
        return QStringLiteral("the drag selected nothing");
    QString shown;
    WhileModal whileOpen([&](QDialog& box) {
        if (auto* message = qobject_cast<QMessageBox*>(&box))
            shown = message->text();
        screenshot();
    });
    app_.clickButton("Command1");
    if (!whileOpen.looked())
        return QStringLiteral("no message box came up");
    if (shown != selected)
        return QStringLiteral("the message box showed \"%1\"").arg(shown);
    return {};
}

QString Tour::viewSource() {
    QString text;
    bool shown = false;
    bool closedByKey = false;
    WhileModal whileOpen([&](QDialog& form2) {
        text = form2.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
        // The window system placed it as a window that belongs to Form1, wholly on the screen,
        // in front of every other window; and it takes the keyboard.
        const QRect frame = frameOnScreen(&form2);
        const auto origin = onScreen(&form2, QPoint(0, 0));
        shown = QTest::qWaitForWindowExposed(&form2) && form2.windowHandle()->transientParent() == app_.form().windowHandle() &&
                !frame.isEmpty() && screenArea().contains(frame) && origin &&
                waitFor([&] { return showsWidgetAt(&form2, *origin); }, 5000);
        screenshot(&form2);
        input::key(&form2, Qt::Key_Escape);
        closedByKey = waitFor([&] { return !form2.isVisible(); }, 5000);
    });
    app_.clickButton("cmdViewCode");
    if (!whileOpen.looked())
        return QStringLiteral("Form2 did not come up");
    if (!shown)
        return QStringLiteral("Form2 was not shown wholly on the screen as a window of Form1");
    if (!closedByKey)
        return QStringLiteral("Form2 did not close on Esc");
    if (!text.contains(QStringLiteral("Tarvo Lumetto ActiveX Control")))
        return QStringLiteral("Form2 did not hold the page's source");
    return {};
}
