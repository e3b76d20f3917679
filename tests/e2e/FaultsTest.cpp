#include "content/basGlobal.h"
#include "driving/RunningApp.h"
#include "driving/WhileModal.h"
#include "support/QtPrinters.h"
#include "driving/PageGeometry.h"
#include "driving/PageScript.h"
#include "driving/ProductPage.h"
#include "driving/ScreenGrab.h"
#include "driving/Wait.h"
#include "driving/Input.h"
#include "driving/XScreen.h"
#include "contract/RuntimeError.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <X11/keysym.h>

#include <csignal>
#include <utility>

namespace {

// Asked briefly each time: a page that is down does not answer at all.
bool productPageBack(RunningApp& app) {
    return evaluateInPage(app.pageView(), QStringLiteral("!!document.querySelector('a')"), 100).toBool() &&
           app.showsProductPage();
}

void killPageProcess(RunningApp& app) {
    const qint64 pid = app.pageView()->page()->renderProcessPid();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
}

TEST(Faults, PageProcessKilledFromOutsideComesBackAndTheNextClickWorks) {
    RunningApp app;
    app.click(QStringLiteral("li"));
    ASSERT_TRUE(waitFor([&] { return app.label("Label1") == QLatin1String("LI"); }));

    killPageProcess(app);
    // A command while the page is down fails with a message, and nothing hangs.
    QElapsedTimer outage;
    outage.start();
    ASSERT_TRUE(app.chooseMenuItem("mnuCSS", "mnuCSSGreen"));
    ASSERT_TRUE(waitFor([&] { return !app.messages().isEmpty(); })) << "the failed command was not reported";
    EXPECT_TRUE(app.messages().first().startsWith(QStringLiteral("Run-time error '440':")))
        << app.messages().first().toStdString();
    EXPECT_LT(outage.elapsed(), 15000) << "the call ends within its bound of 5 s, with room for a busy machine";

    ASSERT_TRUE(waitFor([&] { return productPageBack(app); })) << "the product page did not come back";

    // The highlighted item belonged to the lost page: restoring it is harmless.
    app.click(QStringLiteral("li"));
    ASSERT_TRUE(waitFor([&] { return app.inlineBackground(QStringLiteral("li")) == QLatin1String("rgb(241, 241, 241)"); }));
    EXPECT_EQ(app.messages().size(), 1) << app.messages().join(QLatin1Char('\n')).toStdString();
}

// brClip's markup, or nothing while its page is down.
QString mirrorOf(RunningApp& app) {
    try {
        return app.mirrorContent();
    } catch (const contract::RuntimeError&) {
        return QString();
    }
}

QString typedAnswer(RunningApp& app) {
    return evaluateInPage(app.pageView(), QStringLiteral("document.querySelector('[name=Question1]').value"), 100).toString();
}

// Fills in the first question and submits the questionnaire, from whichever page is shown.
void answer(RunningApp& app, const QString& text) {
    if (basGlobal::PageState == 0) {
        app.click(QStringLiteral("a"));
        ASSERT_TRUE(waitFor([&] { return basGlobal::PageState == 1; }));
    }
    app.click(QStringLiteral("[name=Question1]"));
    app.type(text);
    ASSERT_TRUE(waitFor([&] { return typedAnswer(app).endsWith(text); }));
    app.click(QStringLiteral("#SubmitButton"));
    ASSERT_TRUE(waitFor([&] { return mirrorOf(app).contains(QStringLiteral("Question1 : ")); }));
}

// Both views share one page process. Killed when idle, twice in a row, or right after a click,
// neither view loses what it showed, not even an answer being typed, and answers are collected
// again afterwards.
TEST(Faults, PageProcessKilledCostsNeitherViewWhatItShowedAndAnswersAreCollectedAgain) {
    RunningApp app;
    answer(app, QStringLiteral("first"));
    ASSERT_TRUE(waitFor([&] { return productPageBack(app); }));
    app.click(QStringLiteral("a"));
    ASSERT_TRUE(waitFor([&] { return basGlobal::PageState == 1; }));
    app.click(QStringLiteral("[name=Question1]"));
    app.type(QStringLiteral("half typed"));
    ASSERT_TRUE(waitFor([&] { return typedAnswer(app) == QLatin1String("half typed"); }));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        killPageProcess(app);
        EXPECT_TRUE(waitFor([&] { return typedAnswer(app) == QLatin1String("half typed"); }));
        EXPECT_TRUE(waitFor([&] { return mirrorOf(app).contains(QStringLiteral("Question1 : first")); }));
    }
    app.click(QStringLiteral("#SubmitButton"));
    ASSERT_TRUE(waitFor([&] { return mirrorOf(app).contains(QStringLiteral("Question1 : half typed")); }));
    EXPECT_TRUE(app.messages().isEmpty()) << app.messages().join(QLatin1Char('\n')).toStdString();

    // Right after a click the click's procedure may fail with a message; the window works on.
    ASSERT_TRUE(waitFor([&] { return productPageBack(app); }));
    app.click(QStringLiteral("a"));
    killPageProcess(app);
    ASSERT_TRUE(waitFor([&] { return evaluateInPage(app.pageView(), QStringLiteral("!!document.body.firstChild"), 100).toBool(); }));
    answer(app, QStringLiteral("after"));
    EXPECT_TRUE(mirrorOf(app).contains(QStringLiteral("Question1 : after")));
    EXPECT_LE(app.messages().size(), 1) << app.messages().join(QLatin1Char('\n')).toStdString();
}

// What the screen shows of a view, read from outside the program.
QImage shownOnScreen(QWidget* view) {
    const auto at = onScreen(view, QPoint(0, 0));
    return at ? screenImage(QRect(*at, view->size())) : QImage();
}

// Whether the screen shows text in a view: dark pixels, as the page's text and the mirror's are.
bool showsText(QWidget* view) {
    const QImage image = shownOnScreen(view);
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    return dark > 50;
}

bool screenShowsLogo(RunningApp& app) {
    return product_page::showsLogo(shownOnScreen(app.pageView()), product_page::logoCorner(app.pageView()->size()));
}

QWidget* mirrorView(RunningApp& app) {
    return app.form().findChild<QWidget*>(QStringLiteral("brClip"));
}

// Kills the page process and waits until its successor shows both views on the screen as
// they were: the page's logo, and the mirror's text where it had some.
void killAndSeeBothViewsAgain(RunningApp& app, const char* flow) {
    SCOPED_TRACE(flow);
    const bool mirrorHadText = showsText(mirrorView(app));
    ASSERT_TRUE(waitFor([&] { return screenShowsLogo(app); }, 10000)) << "the screen did not show the page before the kill";
    const qint64 lost = app.pageView()->page()->renderProcessPid();
    killPageProcess(app);
    ASSERT_TRUE(waitFor([&] {
        const qint64 now = app.pageView()->page()->renderProcessPid();
        return now > 0 && now != lost && productPageBack(app);
    })) << "the page did not come back in the document";
    EXPECT_TRUE(waitFor([&] { return screenShowsLogo(app); }, 10000)) << "the page stayed white on the screen";
    if (mirrorHadText)
        EXPECT_TRUE(waitFor([&] { return showsText(mirrorView(app)); }, 10000)) << "the mirror stayed white on the screen";
}

void copyFromTheMenu(RunningApp& app, const QString& entry, const char* caption) {
    const QRect item = boundingBox(app.pageView(), QStringLiteral("ul li:nth-child(2)"));
    dragAcross(app.pageView(), QPoint(item.left() + 1, item.center().y()), QPoint(item.right() - 2, item.center().y()));
    ASSERT_TRUE(waitFor([&] { return !app.inPage(QStringLiteral("window.getSelection().toString()")).toString().isEmpty(); }));
    QMenu* menu = app.openMenu(QPoint(item.left() + 30, item.center().y()));
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(app.choose(menu, entry));
    ASSERT_TRUE(waitFor([&] { return app.label("lblClipCaption") == QLatin1String(caption); }));
    input::move(app.pageView()->focusProxy(), QPoint(5, app.pageView()->height() - 5));  // the pointer moves away
    ASSERT_TRUE(waitFor([&] { return showsText(mirrorView(app)); }, 10000)) << "the copy did not show in the mirror";
}

// A page process lost at any moment costs nothing on the screen either: both views are painted
// again with what they showed, whatever the person did before.
TEST(Faults, BothViewsArePaintedAgainOnTheScreenAfterThePageProcessIsLostInEveryFlow) {
    RunningApp app;
    ASSERT_TRUE(app.ready());
    killAndSeeBothViewsAgain(app, "right after start");
    killAndSeeBothViewsAgain(app, "once the restored views are on the screen, a second time in a row");

    app.click(QStringLiteral("li"));
    ASSERT_TRUE(waitFor([&] { return app.label("Label1") == QLatin1String("LI"); }));
    killAndSeeBothViewsAgain(app, "after a click");

    copyFromTheMenu(app, QStringLiteral("Copy as HTML"), "Clipboard Contents (HTML)");
    killAndSeeBothViewsAgain(app, "after a copy as HTML");
    copyFromTheMenu(app, QStringLiteral("Copy as Text"), "Clipboard Contents (Text)");
    killAndSeeBothViewsAgain(app, "after a copy as text");

    WhileModal whileOpen([&](QDialog&) { killAndSeeBothViewsAgain(app, "with Form2 open"); });
    app.clickButton("cmdViewCode");
    EXPECT_TRUE(whileOpen.looked());
    EXPECT_TRUE(waitFor([&] { return screenShowsLogo(app) && showsText(mirrorView(app)); }, 10000)) << "after Form2 closed";
}

// The page comes back looking as it did, also with the rules of a command in force that let it
// scroll (the white background's, with which the product page just fits): the same text in the
// same lines, no scroll bar, and so it stays through the repaints of a restarted page.
TEST(Faults, PageComesBackLookingAsItDidWithACommandsRulesInForce) {
    RunningApp app;
    ASSERT_TRUE(app.ready());
    ASSERT_TRUE(waitFor([&] { return screenShowsLogo(app); }, 10000));
    const QImage designed = shownOnScreen(app.pageView());
    ASSERT_TRUE(app.chooseMenuItem("mnuCSS", "mnuCSSWhite"));
    QImage before;
    ASSERT_TRUE(waitFor([&] {
        const QImage now = shownOnScreen(app.pageView());
        return now != designed && std::exchange(before, now) == now;
    })) << "the white background's rules did not show";

    const qint64 lost = app.pageView()->page()->renderProcessPid();
    killPageProcess(app);
    ASSERT_TRUE(waitFor([&] {
        const qint64 now = app.pageView()->page()->renderProcessPid();
        return now > 0 && now != lost && productPageBack(app);
    }));
    EXPECT_TRUE(waitFor([&] { return shownOnScreen(app.pageView()) == before; }, 10000)) << "the page came back looking otherwise";
    EXPECT_FALSE(waitFor([&] { return shownOnScreen(app.pageView()) != before; }, 3000)) << "the page changed as it was painted again";
}

// Markup that ends the page process, pasted as an answer: the mirror that shows it comes back
// empty instead of ending the page process again and again, and the window works on.
TEST(Faults, AnswerThatEndsThePageProcessIsNotShownAgainAndTheWindowWorksOn) {
    RunningApp app;
    app.click(QStringLiteral("a"));
    ASSERT_TRUE(waitFor([&] { return basGlobal::PageState == 1; }));
    QGuiApplication::clipboard()->setText(QStringLiteral("<table><tr><td>").repeated(1500) + QStringLiteral("deep"));
    app.click(QStringLiteral("[name=Question1]"));
    app.press(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([&] { return typedAnswer(app).endsWith(QStringLiteral("deep")); }));
    app.click(QStringLiteral("#SubmitButton"));

    // Submit fails with a message where the mirror's write meets the page process's end.
    const auto mirrorShowsNothing = [&] {
        try {
            return app.mirrorContent().isEmpty();
        } catch (const contract::RuntimeError&) {
            return false;  // its page is down
        }
    };
    ASSERT_TRUE(waitFor([&] { return app.label("lblClipCaption") == QLatin1String("Answers"); }));
    EXPECT_TRUE(waitFor(mirrorShowsNothing)) << "the mirror kept the answer";
    EXPECT_TRUE(waitFor([&] { return showsText(app.pageView()); }, 10000)) << "the page is not on the screen";
    // The page process that drew the page then is the one the mirror's page, restored with the
    // answer, would have ended: it lives on, and the mirror still shows nothing.
    const qint64 drawing = app.pageView()->page()->renderProcessPid();
    EXPECT_TRUE(mirrorShowsNothing());
    EXPECT_EQ(app.pageView()->page()->renderProcessPid(), drawing);
    WhileModal form2([](QDialog&) {});
    app.clickButton("cmdViewCode");
    EXPECT_TRUE(form2.looked()) << "View Code showed no source";
    EXPECT_LE(app.messages().size(), 1) << app.messages().join(QLatin1Char('\n')).toStdString();
}

TEST(Faults, FormWithThousandsOfQuestionsIsCollectedWhole) {
    RunningApp app;
    app.click(QStringLiteral("a"));
    ASSERT_TRUE(waitFor([&] { return basGlobal::PageState == 1; }));
    QString form = QStringLiteral("<form><input id='SubmitButton' type='submit' value='Submit'>");
    for (int i = 0; i < 3000; ++i)
        form += QStringLiteral("<input name='Question%1' value='%1'>").arg(i);
    app.vekBrowser1().setBodyHTML(form + QStringLiteral("</form>"));

    app.click(QStringLiteral("#SubmitButton"));
    ASSERT_TRUE(waitFor([&] { return app.label("lblClipCaption") == QLatin1String("Answers"); })) << "no answers were collected";
    const QString answers = app.mirrorContent();
    EXPECT_EQ(answers.count(QStringLiteral("<br>")), 3000 + 2);
    EXPECT_TRUE(answers.endsWith(QStringLiteral("Question2999 : 2999<br>")));
    EXPECT_TRUE(waitFor([&] { return productPageBack(app); }));
    EXPECT_TRUE(app.messages().isEmpty());
}

TEST(Faults, ClickWhileAMessageBoxIsOpenGoesNowhereAndNothingIsLost) {
    RunningApp app(RunningApp::MessageBoxes::Shown);
    WhileModal whileOpen([&](QDialog& box) {
        // The page takes no click while the box is open: the person has to answer it first.
        app.inPage(QStringLiteral("window.clicks = 0; document.addEventListener('click', () => ++window.clicks, true); true"));
        QTest::mouseClick(app.form().windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          app.pageView()->mapTo(&app.form(), app.centreOf(QStringLiteral("li"))));
        // A press the page had taken would be counted before a later script of the page ran.
        EXPECT_EQ(app.inPage(QStringLiteral("window.clicks")).toInt(), 0);
        EXPECT_EQ(app.label("Label1"), QStringLiteral("Label1"));
        EXPECT_NE(qobject_cast<QMessageBox*>(&box), nullptr);
    });
    app.clickButton("Command1");
    ASSERT_TRUE(whileOpen.looked());
    ASSERT_EQ(app.messages(), QStringList{QString()}) << "nothing selected: an empty prompt";

    app.click(QStringLiteral("li"));
    EXPECT_TRUE(waitFor([&] { return app.label("Label1") == QLatin1String("LI"); })) << "the window works on";
}

// The display engine cannot start when its helper process fails at once. The person is told why
// within a few seconds, in a message box, as of a run-time error of Form_Load, and once the box
// is closed the program ends with status 1. Read from outside: the box on the screen, the
// status, and the description, which goes to standard error as well.
TEST(Faults, AnEngineThatCannotStartIsReportedAndEndsTheProgram) {
    constexpr int ReportBoundMs = 10000;
    XScreen screen;
    ASSERT_TRUE(screen.usable());
    QProcess demo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QTWEBENGINEPROCESS_PATH"), QStringLiteral("/bin/false"));
    demo.setProcessEnvironment(environment);

    std::optional<QPoint> box;  // a message box has the program's name as its title
    // Now and then the engine aborts the process itself as its helper fails, before anything
    // reaches the program ("Cannot communicate with zygote", or a trap on a loaded machine): the
    // program is started again then.
    for (int start = 0; start < 10 && !box; ++start) {
        demo.start(QStringLiteral(LUMETTO_DEMO), {});
        ASSERT_TRUE(demo.waitForStarted());
        waitFor([&] { return (box = screen.windowOrigin("lumetto-demo")) || demo.state() == QProcess::NotRunning; },
                ReportBoundMs);
        if (box || demo.state() == QProcess::Running)
            break;
        if (demo.exitStatus() != QProcess::CrashExit && !demo.readAllStandardError().contains(":FATAL:zygote_"))
            break;
    }
    ASSERT_TRUE(box) << "no message box within " << ReportBoundMs << " ms";
    EXPECT_TRUE(waitFor([&] { return screen.anyPixel(QRect(*box, QSize(40, 40)), [](QRgb p) { return qGray(p) > 200; }); }))
        << "the box is not drawn";
    // Return closes the box once it has the keyboard, which it takes as it shows.
    EXPECT_TRUE(waitFor([&] {
        screen.key(XK_Return, true);
        screen.key(XK_Return, false);
        return demo.waitForFinished(200);
    }, ReportBoundMs)) << "the program did not end once the box was closed";
    EXPECT_EQ(demo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(demo.exitCode(), 1);
    const QString errors = QString::fromLocal8Bit(demo.readAllStandardError());
    EXPECT_TRUE(errors.contains(QStringLiteral("display engine cannot start"))) << errors.toStdString();
}

}  // namespace
