#include "control/ControlHarness.h"
#include "contract/RuntimeError.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <lumetto/EngineEnvironment.h>
#include <lumetto/HtmlDocument.h>
#include <lumetto/HtmlView.h>

#include "contract/DocumentObjects.h"

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

// A member call that does not fail, or a null text while the page is still down.
QString sourceOf(ControlHarness& h) {
    try {
        return h.control().SourceHTML().toText();
    } catch (const contract::RuntimeError&) {
        return QString();
    }
}

TEST(RendererLoss, CallFailsWithARunTimeErrorInsteadOfHangingAndTheContentComesBack) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p id='kept'>still here</p>"));
    const qint64 pid = h.view()->page()->renderProcessPid();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);

    QElapsedTimer timer;
    timer.start();
    bool failed = false;
    try {
        h.control().setBodyHTML(QStringLiteral("<p>during the outage</p>"));
        failed = !h.control().SourceHTML().toText().contains(QStringLiteral("during the outage"));
    } catch (const contract::RuntimeError& e) {
        failed = true;
        EXPECT_EQ(e.code(), 440);
        EXPECT_TRUE(e.description().contains(QStringLiteral("bodyHTML"))) << e.what();
    }
    EXPECT_TRUE(failed) << "a call to a dead page does not report success";
    EXPECT_LT(timer.elapsed(), 15000) << "the call ends within its bound of 5 s, with room for a busy machine";

    EXPECT_TRUE(waitFor(
        [&] {
            try {
                return h.control().SourceHTML().toText().contains(QStringLiteral("still here"));
            } catch (const contract::RuntimeError&) {
                return false;
            }
        }))
        << "the control did not bring its last content back by itself";
}

// A write the host was told failed, because the page was busy past the call's bound, is not
// carried out later: the page process, taken to hang, is ended, and the page restored after
// it, like the control's record, keeps what was there before.
TEST(RendererLoss, WriteGivenUpOnIsNotCarriedOutLater) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>before</p>"));
    h.view()->page()->runJavaScript(QStringLiteral("for (const t = Date.now(); Date.now() - t < 9000;);"),
                                    QWebEngineScript::ApplicationWorld);
    EXPECT_THROW(h.control().setBodyHTML(QStringLiteral("<p>given up</p>")), contract::RuntimeError);
    EXPECT_TRUE(waitFor([&] { return sourceOf(h).contains(QStringLiteral("before")); }));
    EXPECT_FALSE(sourceOf(h).contains(QStringLiteral("given up")));
    EXPECT_EQ(h.control().view().bodyHtml(), QStringLiteral("<p>before</p>"));
}

}  // namespace

namespace {

std::shared_ptr<contract::IHTMLElement> paragraph(contract::HtmlViewControl& control) {
    auto all = control.Document().as<contract::IHTMLDocument2>()->all().as<contract::IHTMLElementCollection>();
    for (int i = 0; i < all->length(); ++i)
        if (auto e = all->item(i).as<contract::IHTMLElement>(); e->tagName() == QLatin1String("P"))
            return e;
    return nullptr;
}

TEST(RendererLoss, ElementsOfTheLostPageTakeStyleWithoutTouchingTheNewPage) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>content</p>"));
    auto before = paragraph(h.control());
    ASSERT_NE(before, nullptr);
    const lumetto::HtmlElement lostBody = h.control().view().document().body();
    ASSERT_FALSE(lostBody.isNull());
    ASSERT_EQ(::kill(static_cast<pid_t>(h.view()->page()->renderProcessPid()), SIGKILL), 0);
    std::shared_ptr<contract::IHTMLElement> after;
    ASSERT_TRUE(waitFor([&] {
        try {
            after = paragraph(h.control());
        } catch (const contract::RuntimeError&) {
        }
        return after != nullptr;
    }));

    before->style()->setBackgroundColor(contract::Variant::fromString(QStringLiteral("red")));  // no error, no effect
    EXPECT_EQ(before->style()->backgroundColor().toText(), QString());
    EXPECT_EQ(after->style()->backgroundColor().toText(), QString()) << "the new page's element is untouched";
    EXPECT_NE(before, after);

    // In the library's own terms the element of the lost page is null, and a call on it says
    // so with a value.
    EXPECT_TRUE(lostBody.isNull());
    lumetto::HtmlError error;
    EXPECT_EQ(lostBody.id(&error), QString());
    EXPECT_EQ(error.type(), lumetto::HtmlError::ElementGone);
    EXPECT_FALSE(h.control().view().document().body().isNull());
}

// The page of a view that was destroyed is gone as well: its elements are null, and say so.
TEST(RendererLoss, ElementOfADestroyedViewIsNullAndItsCallsFailAsGone) {
    auto view = std::make_unique<lumetto::HtmlView>();
    view->setBodyHtml(QStringLiteral("<p>content</p>"));
    view->show();
    lumetto::HtmlElement body = view->document().body();
    ASSERT_FALSE(body.isNull());
    view.reset();

    EXPECT_TRUE(body.isNull());
    lumetto::HtmlError error;
    EXPECT_EQ(body.id(&error), QString());
    EXPECT_EQ(error.type(), lumetto::HtmlError::ElementGone) << error.description().toStdString();
    body.setStyleProperty(QStringLiteral("color"), QStringLiteral("red"), &error);
    EXPECT_EQ(error.type(), lumetto::HtmlError::ElementGone);
}

}  // namespace

namespace {

pid_t pageProcess(ControlHarness& h) {
    return static_cast<pid_t>(h.view()->page()->renderProcessPid());
}

// The controls of a process share one page process. Losing it, once or twice in a row, costs
// neither control what it showed: the content however the host wrote it, the style rules, and
// what the user typed or chose in the form fields.
TEST(RendererLoss, EveryControlComesBackWithWhatItShowedAndKeepsWorking) {
    ControlHarness upper;
    ControlHarness lower;
    const QString form = QStringLiteral(
        "<form><input id='who'><select id='pick'><option>a</option><option value='b'>b</option></select>"
        "<input type='checkbox' id='tick'></form>");
    upper.control().setBodyHTML(form);
    upper.control().setCSSText(QStringLiteral("input { color: rgb(1, 2, 3) }"));
    lower.control().setBodyHTML(QStringLiteral("<p>first written</p>"));
    lower.control().Document().as<contract::IHTMLDocument2>()->body().as<contract::IHTMLElement>()->setInnerHTML(
        QStringLiteral("<p id='mirrored'>written through the document</p>"));

    upper.view()->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(upper.view()->window()));
    upper.click(upper.centreOf(QStringLiteral("who")));
    ASSERT_TRUE(waitFor([&] { return upper.inPage(QStringLiteral("document.activeElement === who")).toBool(); }));
    QTest::keyClicks(upper.view()->focusProxy(), QStringLiteral("typed"));
    upper.click(upper.centreOf(QStringLiteral("tick")));
    upper.inPage(QStringLiteral("const s = document.getElementById('pick'); s.value = 'b';"
                                "s.dispatchEvent(new Event('change', {bubbles: true})); true"));
    const QString fields = QStringLiteral("[who.value, pick.value, tick.checked].join()");
    ASSERT_TRUE(waitFor([&] { return upper.inPage(fields).toString() == QLatin1String("typed,b,true"); }))
        << upper.inPage(fields).toString().toStdString();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(pageProcess(upper), pageProcess(lower));
        ASSERT_EQ(::kill(pageProcess(upper), SIGKILL), 0);
        EXPECT_TRUE(waitFor([&] { return sourceOf(lower).contains(QStringLiteral("written through the document")); }))
            << sourceOf(lower).toStdString();
        EXPECT_TRUE(waitFor([&] { return sourceOf(upper).contains(QStringLiteral("rgb(1, 2, 3)")); }));
        EXPECT_TRUE(waitFor([&] { return upper.inPage(fields).toString() == QLatin1String("typed,b,true"); }))
            << upper.inPage(fields).toString().toStdString();
    }
    lower.control().setBodyHTML(QStringLiteral("<p>after</p>"));
    EXPECT_TRUE(sourceOf(lower).contains(QStringLiteral("<p>after</p>"))) << "the control works on";

    // The mouse's back button asks for the page loaded before the restarts; the page stays.
    QTest::mouseClick(upper.view()->focusProxy(), Qt::BackButton, {}, QPoint(5, 5));
    QTest::qWait(300);
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(sourceOf(upper).contains(QStringLiteral("rgb(1, 2, 3)")));
    EXPECT_LT(timer.elapsed(), 1000);

    // Markup written over the fields takes what was entered in them along.
    upper.control().Document().as<contract::IHTMLDocument2>()->body().as<contract::IHTMLElement>()->setInnerHTML(form);
    const pid_t lost = pageProcess(upper);
    ASSERT_EQ(::kill(lost, SIGKILL), 0);
    ASSERT_TRUE(waitFor([&] { return pageProcess(upper) != lost && sourceOf(upper).contains(QStringLiteral("tick")); }));
    EXPECT_EQ(upper.inPage(fields).toString(), QStringLiteral(",a,false"));
}

}  // namespace

namespace {

// Content that ends the page process each time it is drawn is not restored into a loop: the
// control that shows it comes back without it and says so, the other control keeps what it
// shows, and both take new content.
TEST(RendererLoss, ContentThatEndsThePageProcessIsNotRestoredAgainAndAgain) {
    ControlHarness deadly;
    ControlHarness other;
    other.control().setBodyHTML(QStringLiteral("<p>the other control</p>"));
    int ended = 0;
    QObject::connect(deadly.view()->page(), &QWebEnginePage::renderProcessTerminated, [&] { ++ended; });
    QSignalSpy discarded(&deadly.control().view(), &lumetto::HtmlView::contentDiscarded);

    deadly.control().setBodyHTML(QStringLiteral("<table><tr><td>").repeated(1500) + QStringLiteral("deep"));
    ASSERT_TRUE(waitFor([&] { return discarded.count() == 1; })) << ended << " page processes ended";
    const int endedBefore = ended;
    QTest::qWait(3000);  // time for more, were the content restored again
    EXPECT_EQ(ended, endedBefore);
    EXPECT_EQ(discarded.count(), 1);
    EXPECT_EQ(deadly.control().view().bodyHtml(), QString());
    EXPECT_TRUE(waitFor([&] { return sourceOf(other).contains(QStringLiteral("the other control")); }));

    deadly.control().setBodyHTML(QStringLiteral("<p>harmless</p>"));
    EXPECT_TRUE(sourceOf(deadly).contains(QStringLiteral("harmless")));
}

}  // namespace

namespace {

// Should the page ever leave its shell, which content cannot make it do (here the control's own
// script world follows an SVG link outside the document to an address the engine cannot read,
// which the engine does without asking the page), the control comes back with what it showed,
// as after a crash.
TEST(RendererLoss, PageTakenFromItsShellComesBackWithWhatItShowed) {
    ControlHarness h;
    h.control().setBaseURL(h.baseDirectory());
    h.control().setBodyHTML(QStringLiteral("<p id='kept' style='margin:0;height:400px;background:#0000ff'>kept</p>"));
    const QUrl shell = h.view()->page()->url();
    QSignalSpy urls(h.view()->page(), &QWebEnginePage::urlChanged);
    h.view()->page()->runJavaScript(QStringLiteral("const link = document.createElementNS('http://www.w3.org/2000/svg', 'a');"
                                                   "link.setAttributeNS('http://www.w3.org/1999/xlink', 'xlink:href', 'http://[::1');"
                                                   "link.dispatchEvent(new MouseEvent('click', {cancelable: true}));"),
                                    QWebEngineScript::ApplicationWorld);
    ASSERT_TRUE(waitFor([&] {
        return std::any_of(urls.cbegin(), urls.cend(), [&](const QList<QVariant>& url) { return url[0].toUrl() != shell; });
    }));
    EXPECT_TRUE(waitFor([&] { return sourceOf(h).contains(QStringLiteral("id=\"kept\"")); }));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 200)) == QColor(0, 0, 255); }));
    EXPECT_EQ(h.view()->page()->url(), shell);
}

// A page process that hangs holds every control of the process. It is ended once a call has
// waited its bound for it, and the controls come back as after a crash: the one whose write
// hung it without that write, the other, frozen meanwhile, with its paragraph drawn and
// answering again within a few seconds. Were the process not ended, it would hang for the
// best part of a minute, until its stack overflows.
TEST(RendererLoss, PageProcessThatHangsIsEndedAndEveryControlComesBack) {
    ControlHarness hanging;
    ControlHarness other;
    const QPoint inside(300, 200);
    const QColor blue(0, 0, 255);
    other.control().setBodyHTML(QStringLiteral("<p id='para' style='margin:0;height:400px;background:#0000ff'>other</p>"));
    hanging.control().setBodyHTML(QStringLiteral("<p>before</p>"));
    ASSERT_TRUE(waitFor([&] { return other.pixelAt(inside) == blue; }));

    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(hanging.control().setBodyHTML(QStringLiteral("<table><tr><td>").repeated(10000) + QStringLiteral("deep")),
                 contract::RuntimeError);
    const qint64 failedAfter = timer.elapsed();
    EXPECT_LT(failedAfter, 15000) << "the write ends within its bound, with room for a busy machine";

    // Some seconds for the new page process to start and load on a busy machine.
    constexpr int RecoveryBoundMs = 10000;
    timer.restart();
    EXPECT_TRUE(waitFor([&] { return sourceOf(other).contains(QStringLiteral("id=\"para\"")); }, RecoveryBoundMs));
    EXPECT_TRUE(waitFor([&] { return other.pixelAt(inside) == blue; }, RecoveryBoundMs));
    EXPECT_TRUE(waitFor([&] { return sourceOf(hanging).contains(QStringLiteral("before")); }, RecoveryBoundMs));
    RecordProperty("writeFailedAfterMs", static_cast<int>(failedAfter));
    RecordProperty("recoveredAfterMs", static_cast<int>(timer.elapsed()));
    EXPECT_FALSE(sourceOf(hanging).contains(QStringLiteral("deep")));
    hanging.control().setBodyHTML(QStringLiteral("<p>after</p>"));
    EXPECT_TRUE(sourceOf(hanging).contains(QStringLiteral("after")));
}

// On a busy machine a control restoring its content alone may draw it so slowly that its turn
// passes and the next control starts beside it. When the page process ends then, with two
// controls' restored content undrawn in it, neither is judged the cause: both come back with
// their content. Here the first control's content cannot draw, its image being a pipe nobody
// writes to yet, and the page process is killed as soon as the controls' loads have begun in
// it: together, then the second beside the first, whose turn has passed.
TEST(RendererLoss, NoControlIsJudgedTheCauseWhileAnotherControlsRestoredContentIsUndrawnBesideIt) {
    ControlHarness first;
    ControlHarness second;
    first.control().setBaseURL(first.baseDirectory());
    const QByteArray pipe = QFile::encodeName(first.baseDirectory() + QStringLiteral("slow.gif"));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    // Opened to write and closed, the pipe ends the image's load: also when the test ends early,
    // so that the engine's reader does not wait for good.
    std::unique_ptr<const QByteArray, void (*)(const QByteArray*)> releasePipe(&pipe, [](const QByteArray* path) {
        ::close(::open(path->constData(), O_RDWR | O_NONBLOCK));
    });
    first.control().setBodyHTML(QStringLiteral("<p style='margin:0;height:400px;background:#0000ff'>first</p><img src='slow.gif'>"));
    second.control().setBodyHTML(QStringLiteral("<p style='margin:0;height:400px;background:#00ff00'>second</p>"));
    ASSERT_TRUE(waitFor([&] { return second.pixelAt(QPoint(300, 200)) == QColor(0, 255, 0); }));
    QSignalSpy firstDiscarded(&first.control().view(), &lumetto::HtmlView::contentDiscarded);
    QSignalSpy secondDiscarded(&second.control().view(), &lumetto::HtmlView::contentDiscarded);

    // The new process is killed once the second control's load has begun, and the process
    // runs: it tells its id as it starts, which is looked for as often as the event loop allows,
    // long before it has drawn.
    int loads = 0;
    int killAt = 0;
    QTimer killer;
    QObject::connect(&killer, &QTimer::timeout, [&] {
        if (loads >= killAt && pageProcess(first) > 0 && ::kill(pageProcess(first), SIGKILL) == 0)
            killer.stop();
    });
    const auto counting = QObject::connect(second.view()->page(), &QWebEnginePage::loadStarted, [&] { ++loads; });
    ASSERT_EQ(::kill(pageProcess(first), SIGKILL), 0);
    for (const int round : {1, 2}) {
        SCOPED_TRACE(round);
        killAt = loads + 1;
        killer.start(1);
        ASSERT_TRUE(waitFor([&] { return !killer.isActive(); }));
    }
    QObject::disconnect(counting);

    EXPECT_TRUE(waitFor([&] { return sourceOf(second).contains(QStringLiteral("second")); }));
    EXPECT_TRUE(waitFor([&] { return second.pixelAt(QPoint(300, 200)) == QColor(0, 255, 0); }));
    releasePipe.reset();
    EXPECT_TRUE(waitFor([&] { return sourceOf(first).contains(QStringLiteral("first")); }));
    EXPECT_TRUE(waitFor([&] { return first.pixelAt(QPoint(300, 200)) == QColor(0, 0, 255); }));
    EXPECT_TRUE(firstDiscarded.isEmpty());
    EXPECT_TRUE(secondDiscarded.isEmpty());
}

}  // namespace

namespace {

// Runs through ctest, whose entry for it puts a program that fails at once in front of the
// engine's page process, as a broken helper process of the engine does.
TEST(EngineCannotStart, ACallWaitingForThePageFailsAtOnceAndTheHostIsToldOnce) {
    if (!qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--renderer-cmd-prefix=/bin/false"))
        GTEST_SKIP() << "needs a page process that cannot start";
    ControlHarness h;
    QSignalSpy failed(&h.control().view(), &lumetto::HtmlView::errorOccurred);

    for (int call = 0; call < 2; ++call) {
        SCOPED_TRACE(call);
        QElapsedTimer timer;
        timer.start();
        try {
            h.control().SourceHTML();
            ADD_FAILURE() << "a page that never loaded answered";
        } catch (const contract::RuntimeError& e) {
            EXPECT_EQ(e.code(), contract::ErrorCode::AutomationError);
            EXPECT_TRUE(e.description().contains(QStringLiteral("cannot start"))) << e.what();
        }
        EXPECT_LT(timer.elapsed(), 5000) << "the call waited for a page that cannot come";
    }
    ASSERT_TRUE(waitFor([&] { return !failed.isEmpty(); }, 5000));
    EXPECT_EQ(reportedFailure(failed[0]).code(), contract::ErrorCode::AutomationError);
    EXPECT_TRUE(reportedFailure(failed[0]).description().contains(QStringLiteral("cannot start"))) << reportedFailure(failed[0]).description().toStdString();
    QTest::qWait(1000);  // what the engine tells again of the same page process
    EXPECT_EQ(failed.size(), 1);
}

// The first view sets the engine's environment before the engine starts, unless the host asked
// it not to; ctest runs this once each way. Once set, a host's call sets nothing again.
TEST(EngineEnvironment, IsSetBeforeTheEngineStartsUnlessTheHostOptsOut) {
    const bool keep = qEnvironmentVariableIsSet("LUMETTO_KEEP_ENGINE_ENVIRONMENT");
    const bool accessibilitySet = qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY");
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>started</p>"));
    EXPECT_EQ(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--renderer-process-limit=1"), !keep);
    if (!accessibilitySet)
        EXPECT_EQ(qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"), !keep);
    lumetto::prepareEngineEnvironment();
    EXPECT_EQ(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").count("--renderer-process-limit=1"), keep ? 0 : 1);
}

}  // namespace
