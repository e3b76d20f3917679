#include "library/ViewHarness.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <algorithm>
#include <memory>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using lumetto::HtmlError;
using lumetto::HtmlView;

TEST(HtmlView, CallFailsInsteadOfHangingAndTheContentComesBack) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p id='kept'>still here</p>"));
    ASSERT_TRUE(h.killPageProcess());

    QElapsedTimer timer;
    timer.start();
    HtmlError error = failureOf(h.view(), [&] { h.view().setBodyHtml(QStringLiteral("<p>during the outage</p>")); });
    const bool failed = error.isValid() || !h.view().document().source(&error).contains(QStringLiteral("during the outage"));
    EXPECT_TRUE(failed) << "a call to a dead page does not report success";
    if (error.isValid()) {
        EXPECT_EQ(error.type(), HtmlError::PageFailed);
        EXPECT_FALSE(error.call().isEmpty());
    }
    EXPECT_LT(timer.elapsed(), 15000) << "the call ends within its bound of 5 s, with room for a busy machine";
    EXPECT_TRUE(waitFor([&] { return h.source().contains(QStringLiteral("still here")); }))
        << "the view did not bring its last content back by itself";
}

// A write the host was told failed, because the page was busy past the call's bound, is not
// carried out later: the page process, taken to hang, is ended, and the page restored after
// it, like the view's record, keeps what was there before.
TEST(HtmlView, WriteGivenUpOnIsNotCarriedOutLater) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p>before</p>"));
    h.engineView()->page()->runJavaScript(QStringLiteral("for (const t = Date.now(); Date.now() - t < 9000;);"),
                                          QWebEngineScript::ApplicationWorld);
    HtmlError error = failureOf(h.view(), [&] { h.view().setBodyHtml(QStringLiteral("<p>given up</p>")); });
    EXPECT_EQ(error.type(), HtmlError::PageFailed);
    EXPECT_TRUE(waitFor([&] { return h.source().contains(QStringLiteral("before")); }));
    EXPECT_FALSE(h.source().contains(QStringLiteral("given up")));
    EXPECT_EQ(h.view().bodyHtml(), QStringLiteral("<p>before</p>"));
}

// Style rules the page refused, its process having died, leave the rules before them in force,
// also once the page is back.
TEST(HtmlView, RefusedRulesLeaveThePreviousOnesAlsoAfterTheViewRecovers) {
    const QString whiteRules = QStringLiteral("BODY { background-color : white; font-family: Verdana;}");
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p>styled</p>"));
    h.view().setCssText(whiteRules);
    ASSERT_TRUE(h.killPageProcess());

    HtmlError error = failureOf(h.view(), [&] { h.view().setCssText(QStringLiteral("BODY { background-color : green; font-family: Arial;}")); });
    EXPECT_TRUE(error.isValid());
    EXPECT_EQ(h.view().cssText(), whiteRules);
    EXPECT_TRUE(waitFor([&] { return h.source().contains(QStringLiteral("<p>styled</p>")); }));
    const QString source = h.source();
    EXPECT_TRUE(source.contains(whiteRules));
    EXPECT_FALSE(source.contains(QStringLiteral("green")));
}

// The views of a process share one page process. Losing it, once or twice in a row, costs
// neither view what it showed: the content however the host wrote it, the style rules, and
// what the user typed or chose in the form fields.
TEST(HtmlView, EveryViewComesBackWithWhatItShowedAndKeepsWorking) {
    ViewHarness upper;
    ViewHarness lower;
    const QString form = QStringLiteral(
        "<form><input id='who'><select id='pick'><option>a</option><option value='b'>b</option></select>"
        "<input type='checkbox' id='tick'></form>");
    upper.view().setBodyHtml(form);
    upper.view().setCssText(QStringLiteral("input { color: rgb(1, 2, 3) }"));
    lower.view().setBodyHtml(QStringLiteral("<p>first written</p>"));
    lower.view().document().body().setInnerHtml(QStringLiteral("<p id='mirrored'>written through the document</p>"));

    upper.engineView()->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(upper.engineView()->window()));
    upper.click(upper.centreOf(QStringLiteral("who")));
    ASSERT_TRUE(waitFor([&] { return upper.inPage(QStringLiteral("document.activeElement === who")).toBool(); }));
    QTest::keyClicks(upper.engineView()->focusProxy(), QStringLiteral("typed"));
    upper.click(upper.centreOf(QStringLiteral("tick")));
    upper.inPage(QStringLiteral("const s = document.getElementById('pick'); s.value = 'b';"
                                "s.dispatchEvent(new Event('change', {bubbles: true})); true"));
    const QString fields = QStringLiteral("[who.value, pick.value, tick.checked].join()");
    ASSERT_TRUE(waitFor([&] { return upper.inPage(fields).toString() == QLatin1String("typed,b,true"); }))
        << upper.inPage(fields).toString().toStdString();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(upper.pageProcess(), lower.pageProcess());
        ASSERT_TRUE(upper.killPageProcess());
        EXPECT_TRUE(waitFor([&] { return lower.source().contains(QStringLiteral("written through the document")); }))
            << lower.source().toStdString();
        EXPECT_TRUE(waitFor([&] { return upper.source().contains(QStringLiteral("rgb(1, 2, 3)")); }));
        EXPECT_TRUE(waitFor([&] { return upper.inPage(fields).toString() == QLatin1String("typed,b,true"); }))
            << upper.inPage(fields).toString().toStdString();
    }
    lower.view().setBodyHtml(QStringLiteral("<p>after</p>"));
    EXPECT_TRUE(lower.source().contains(QStringLiteral("<p>after</p>"))) << "the view works on";

    // The mouse's back button asks for the page loaded before the restarts; the page stays.
    // A click after it is taken once the back button has been.
    int clicks = 0;
    QObject::connect(&upper.view(), &HtmlView::clicked, [&] { ++clicks; });
    QTest::mouseClick(upper.engineView()->focusProxy(), Qt::BackButton, {}, QPoint(5, 5));
    upper.click(QPoint(5, 300));
    ASSERT_TRUE(waitFor([&] { return clicks == 1; }));
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(upper.source().contains(QStringLiteral("rgb(1, 2, 3)")));
    EXPECT_LT(timer.elapsed(), 1000);

    // Markup written over the fields takes what was entered in them along.
    upper.view().document().body().setInnerHtml(form);
    const qint64 lost = upper.pageProcess();
    ASSERT_TRUE(upper.killPageProcess());
    ASSERT_TRUE(waitFor([&] { return upper.pageProcess() != lost && upper.source().contains(QStringLiteral("tick")); }));
    EXPECT_EQ(upper.inPage(fields).toString(), QStringLiteral(",a,false"));
}

}  // namespace

namespace {

// Content that ends the page process each time it is drawn is not restored into a loop: the
// view that shows it comes back without it and says so, the other view keeps what it
// shows, and both take new content.
TEST(HtmlView, ContentThatEndsThePageProcessIsNotRestoredAgainAndAgain) {
    ViewHarness deadly;
    ViewHarness other;
    other.view().setBodyHtml(QStringLiteral("<p>the other view</p>"));
    int ended = 0;
    QObject::connect(deadly.engineView()->page(), &QWebEnginePage::renderProcessTerminated, [&] { ++ended; });
    QSignalSpy discarded(&deadly.view(), &lumetto::HtmlView::contentDiscarded);

    deadly.view().setBodyHtml(QStringLiteral("<table><tr><td>").repeated(1500) + QStringLiteral("deep"));
    ASSERT_TRUE(waitFor([&] { return discarded.count() == 1; })) << ended << " page processes ended";
    const int endedBefore = ended;
    // Once the page is back, drawn rules show a frame of it, which content restored again
    // would have ended.
    ASSERT_TRUE(waitFor([&] { return !deadly.source().isEmpty(); }));
    deadly.view().setCssText(QStringLiteral("BODY { background: #0000ff }"));
    EXPECT_TRUE(waitFor([&] { return deadly.pixelAt(QPoint(300, 200)) == QColor(0, 0, 255); }));
    EXPECT_EQ(ended, endedBefore);
    EXPECT_EQ(discarded.count(), 1);
    EXPECT_EQ(deadly.view().bodyHtml(), QString());
    EXPECT_TRUE(waitFor([&] { return other.source().contains(QStringLiteral("the other view")); }));

    deadly.view().setBodyHtml(QStringLiteral("<p>harmless</p>"));
    EXPECT_TRUE(deadly.source().contains(QStringLiteral("harmless")));
}

}  // namespace

namespace {

// Should the page ever leave its shell, which content cannot make it do (here the view's own
// script world follows an SVG link outside the document to an address the engine cannot read,
// which the engine does without asking the page), the view comes back with what it showed,
// as after a crash.
TEST(HtmlView, PageTakenFromItsShellComesBackWithWhatItShowed) {
    ViewHarness h;
    h.view().setBaseUrl(h.baseUrl());
    h.view().setBodyHtml(QStringLiteral("<p id='kept' style='margin:0;height:400px;background:#0000ff'>kept</p>"));
    const QUrl shell = h.engineView()->page()->url();
    QSignalSpy urls(h.engineView()->page(), &QWebEnginePage::urlChanged);
    h.engineView()->page()->runJavaScript(QStringLiteral("const link = document.createElementNS('http://www.w3.org/2000/svg', 'a');"
                                                   "link.setAttributeNS('http://www.w3.org/1999/xlink', 'xlink:href', 'http://[::1');"
                                                   "link.dispatchEvent(new MouseEvent('click', {cancelable: true}));"),
                                    QWebEngineScript::ApplicationWorld);
    ASSERT_TRUE(waitFor([&] {
        return std::any_of(urls.cbegin(), urls.cend(), [&](const QList<QVariant>& url) { return url[0].toUrl() != shell; });
    }));
    EXPECT_TRUE(waitFor([&] { return h.source().contains(QStringLiteral("id=\"kept\"")); }));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 200)) == QColor(0, 0, 255); }));
    EXPECT_EQ(h.engineView()->page()->url(), shell);
}

// A page process that hangs holds every view of the process. It is ended once a call has
// waited its bound for it, and the views come back as after a crash: the one whose write
// hung it without that write, the other, frozen meanwhile, with its paragraph drawn and
// answering again within a few seconds. Were the process not ended, it would hang for the
// best part of a minute, until its stack overflows.
TEST(HtmlView, PageProcessThatHangsIsEndedAndEveryViewComesBack) {
    ViewHarness hanging;
    ViewHarness other;
    const QPoint inside(300, 200);
    const QColor blue(0, 0, 255);
    other.view().setBodyHtml(QStringLiteral("<p id='para' style='margin:0;height:400px;background:#0000ff'>other</p>"));
    hanging.view().setBodyHtml(QStringLiteral("<p>before</p>"));
    ASSERT_TRUE(waitFor([&] { return other.pixelAt(inside) == blue; }));

    QElapsedTimer timer;
    timer.start();
    HtmlError error = failureOf(hanging.view(), [&] { hanging.view().setBodyHtml(QStringLiteral("<table><tr><td>").repeated(10000) + QStringLiteral("deep")); });
    EXPECT_EQ(error.type(), HtmlError::PageFailed);
    const qint64 failedAfter = timer.elapsed();
    EXPECT_LT(failedAfter, 15000) << "the write ends within its bound, with room for a busy machine";

    // Some seconds for the new page process to start and load on a busy machine.
    constexpr int RecoveryBoundMs = 10000;
    timer.restart();
    EXPECT_TRUE(waitFor([&] { return other.source().contains(QStringLiteral("id=\"para\"")); }, RecoveryBoundMs));
    EXPECT_TRUE(waitFor([&] { return other.pixelAt(inside) == blue; }, RecoveryBoundMs));
    EXPECT_TRUE(waitFor([&] { return hanging.source().contains(QStringLiteral("before")); }, RecoveryBoundMs));
    RecordProperty("writeFailedAfterMs", static_cast<int>(failedAfter));
    RecordProperty("recoveredAfterMs", static_cast<int>(timer.elapsed()));
    EXPECT_FALSE(hanging.source().contains(QStringLiteral("deep")));
    hanging.view().setBodyHtml(QStringLiteral("<p>after</p>"));
    EXPECT_TRUE(hanging.source().contains(QStringLiteral("after")));
}

// On a busy machine a view restoring its content alone may draw it so slowly that its turn
// passes and the next view starts beside it. When the page process ends then, with two
// views' restored content undrawn in it, neither is judged the cause: both come back with
// their content. Here the first view's content cannot draw, its image being a pipe nobody
// writes to yet, and the page process is killed as soon as the views' loads have begun in
// it: together, then the second beside the first, whose turn has passed.
TEST(HtmlView, NoViewIsJudgedTheCauseWhileAnotherViewsRestoredContentIsUndrawnBesideIt) {
    ViewHarness first;
    ViewHarness second;
    first.view().setBaseUrl(first.baseUrl());
    const QByteArray pipe = QFile::encodeName(first.baseDirectory() + QStringLiteral("slow.gif"));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    // Opened to write and closed, the pipe ends the image's load: also when the test ends early,
    // so that the engine's reader does not wait for good.
    std::unique_ptr<const QByteArray, void (*)(const QByteArray*)> releasePipe(&pipe, [](const QByteArray* path) {
        ::close(::open(path->constData(), O_RDWR | O_NONBLOCK));
    });
    first.view().setBodyHtml(QStringLiteral("<p style='margin:0;height:400px;background:#0000ff'>first</p><img src='slow.gif'>"));
    second.view().setBodyHtml(QStringLiteral("<p style='margin:0;height:400px;background:#00ff00'>second</p>"));
    ASSERT_TRUE(waitFor([&] { return second.pixelAt(QPoint(300, 200)) == QColor(0, 255, 0); }));
    QSignalSpy firstDiscarded(&first.view(), &lumetto::HtmlView::contentDiscarded);
    QSignalSpy secondDiscarded(&second.view(), &lumetto::HtmlView::contentDiscarded);

    // The new process is killed once the second view's load has begun, and the process
    // runs: it tells its id as it starts, which is looked for as often as the event loop allows,
    // long before it has drawn.
    int loads = 0;
    int killAt = 0;
    QTimer killer;
    QObject::connect(&killer, &QTimer::timeout, [&] {
        if (loads >= killAt && first.killPageProcess())
            killer.stop();
    });
    const auto counting = QObject::connect(second.engineView()->page(), &QWebEnginePage::loadStarted, [&] { ++loads; });
    ASSERT_TRUE(first.killPageProcess());
    for (const int round : {1, 2}) {
        SCOPED_TRACE(round);
        killAt = loads + 1;
        killer.start(1);
        ASSERT_TRUE(waitFor([&] { return !killer.isActive(); }));
    }
    QObject::disconnect(counting);

    EXPECT_TRUE(waitFor([&] { return second.source().contains(QStringLiteral("second")); }));
    EXPECT_TRUE(waitFor([&] { return second.pixelAt(QPoint(300, 200)) == QColor(0, 255, 0); }));
    releasePipe.reset();
    EXPECT_TRUE(waitFor([&] { return first.source().contains(QStringLiteral("first")); }));
    EXPECT_TRUE(waitFor([&] { return first.pixelAt(QPoint(300, 200)) == QColor(0, 0, 255); }));
    EXPECT_TRUE(firstDiscarded.isEmpty());
    EXPECT_TRUE(secondDiscarded.isEmpty());
}

}  // namespace

namespace {

// Runs through ctest, whose entry for it puts a program that fails at once in front of the
// engine's page process, as a broken helper process of the engine does.
TEST(HtmlView, EngineCannotStartFailsACallWaitingForThePageAtOnceAndTellsTheHostOnce) {
    if (!qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--renderer-cmd-prefix=/bin/false"))
        GTEST_SKIP() << "needs a page process that cannot start";
    ViewHarness h(ViewHarness::Window::Hidden);
    QSignalSpy failed(&h.view(), &HtmlView::errorOccurred);
    QSignalSpy loaded(h.engineView()->page(), &QWebEnginePage::loadFinished);
    h.show();

    for (int call = 0; call < 2; ++call) {
        SCOPED_TRACE(call);
        QElapsedTimer timer;
        timer.start();
        HtmlError error;
        h.view().document().source(&error);
        EXPECT_EQ(error.type(), HtmlError::PageFailed) << "a page that never loaded answered";
        EXPECT_TRUE(error.description().contains(QStringLiteral("cannot start"))) << error.description().toStdString();
        EXPECT_LT(timer.elapsed(), 5000) << "the call waited for a page that cannot come";
    }
    ASSERT_TRUE(waitFor([&] { return !failed.isEmpty(); }, 5000));
    const auto told = failed[0][0].value<HtmlError>();
    EXPECT_EQ(told.type(), HtmlError::PageFailed);
    EXPECT_TRUE(told.description().contains(QStringLiteral("cannot start"))) << told.description().toStdString();
    // The engine tells last that the page failed to load, after all it tells of its process.
    EXPECT_TRUE(waitFor([&] { return !loaded.isEmpty(); }, 5000));
    EXPECT_EQ(failed.size(), 1);
}

}  // namespace

namespace {

// The first view sets the engine's environment before the engine starts, unless the host asked
// it not to; ctest runs this once each way.
TEST(HtmlView, EngineEnvironmentIsSetBeforeTheEngineStartsUnlessTheHostOptsOut) {
    const bool keep = qEnvironmentVariableIsSet("LUMETTO_KEEP_ENGINE_ENVIRONMENT");
    const bool accessibilitySet = qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY");
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<p>started</p>"));
    EXPECT_EQ(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--renderer-process-limit=1"), !keep);
    if (!accessibilitySet)
        EXPECT_EQ(qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"), !keep);
}

}  // namespace
