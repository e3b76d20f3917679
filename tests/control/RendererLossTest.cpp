#include "control/ControlHarness.h"
#include "contract/RuntimeError.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <lumetto/HtmlDocument.h>
#include <lumetto/HtmlView.h>

#include "contract/DocumentObjects.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <csignal>

namespace {

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
// carried out once the page is free: the page, the control's record and a page restored
// after a crash all keep what was there before.
TEST(RendererLoss, WriteGivenUpOnIsNotCarriedOutLater) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>before</p>"));
    h.view()->page()->runJavaScript(QStringLiteral("for (const t = Date.now(); Date.now() - t < 9000;);"),
                                    QWebEngineScript::ApplicationWorld);
    EXPECT_THROW(h.control().setBodyHTML(QStringLiteral("<p>given up</p>")), contract::RuntimeError);
    EXPECT_TRUE(waitFor([&] { return h.control().SourceHTML().toText().contains(QStringLiteral("before")); }));
    EXPECT_FALSE(h.control().SourceHTML().toText().contains(QStringLiteral("given up")));
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

// A member call that does not fail, or a null text while the page is still down.
QString sourceOf(ControlHarness& h) {
    try {
        return h.control().SourceHTML().toText();
    } catch (const contract::RuntimeError&) {
        return QString();
    }
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

// Runs through ctest, whose entry for it puts a program that fails at once in front of the
// engine's page process, as a broken helper process of the engine does.
TEST(EngineCannotStart, ACallWaitingForThePageFailsAtOnceAndTheHostIsToldOnce) {
    if (!qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--renderer-cmd-prefix=/bin/false"))
        GTEST_SKIP() << "needs a page process that cannot start";
    ControlHarness h;
    QSignalSpy failed(&h.control().view(), &lumetto::HtmlView::failed);

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
// it not to; ctest runs this once each way.
TEST(EngineEnvironment, IsSetBeforeTheEngineStartsUnlessTheHostOptsOut) {
    const bool keep = qEnvironmentVariableIsSet("LUMETTO_KEEP_ENGINE_ENVIRONMENT");
    const bool accessibilitySet = qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY");
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>started</p>"));
    EXPECT_EQ(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--renderer-process-limit=1"), !keep);
    if (!accessibilitySet)
        EXPECT_EQ(qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"), !keep);
}

}  // namespace
