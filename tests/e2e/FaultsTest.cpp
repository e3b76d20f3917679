#include "content/basGlobal.h"
#include "driving/RunningApp.h"
#include "driving/WhileModal.h"
#include "support/QtPrinters.h"
#include "driving/PageScript.h"
#include "driving/Wait.h"
#include <lumetto/RuntimeError.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>

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
    } catch (const lumetto::RuntimeError&) {
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
        QTest::mouseClick(app.form().windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          app.pageView()->mapTo(&app.form(), app.centreOf(QStringLiteral("li"))));
        QTest::qWait(300);  // a window in which the click, had it reached the page, would show
        EXPECT_EQ(app.label("Label1"), QStringLiteral("Label1"));
        EXPECT_NE(qobject_cast<QMessageBox*>(&box), nullptr);
    });
    app.clickButton("Command1");
    ASSERT_TRUE(whileOpen.looked());
    ASSERT_EQ(app.messages(), QStringList{QString()}) << "nothing selected: an empty prompt";

    app.click(QStringLiteral("li"));
    EXPECT_TRUE(waitFor([&] { return app.label("Label1") == QLatin1String("LI"); })) << "the window works on";
}

}  // namespace
