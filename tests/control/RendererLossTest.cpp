#include "control/ControlHarness.h"
#include "hosted/RuntimeError.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include "hosted/DocumentObjects.h"

#include <QElapsedTimer>
#include <QWebEnginePage>
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
    } catch (const hosted::RuntimeError& e) {
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
            } catch (const hosted::RuntimeError&) {
                return false;
            }
        }))
        << "the control did not bring its last content back by itself";
}

}  // namespace

namespace {

std::shared_ptr<hosted::IHTMLElement> paragraph(lumetto::WebBrowserControl& control) {
    auto all = control.Document().as<hosted::IHTMLDocument2>()->all().as<hosted::IHTMLElementCollection>();
    for (int i = 0; i < all->length(); ++i)
        if (auto e = all->item(i).as<hosted::IHTMLElement>(); e->tagName() == QLatin1String("P"))
            return e;
    return nullptr;
}

TEST(RendererLoss, ElementsOfTheLostPageTakeStyleWithoutTouchingTheNewPage) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>content</p>"));
    auto before = paragraph(h.control());
    ASSERT_NE(before, nullptr);
    ASSERT_EQ(::kill(static_cast<pid_t>(h.view()->page()->renderProcessPid()), SIGKILL), 0);
    std::shared_ptr<hosted::IHTMLElement> after;
    ASSERT_TRUE(waitFor([&] {
        try {
            after = paragraph(h.control());
        } catch (const hosted::RuntimeError&) {
        }
        return after != nullptr;
    }));

    before->style()->setBackgroundColor(hosted::Variant::fromString(QStringLiteral("red")));  // no error, no effect
    EXPECT_EQ(before->style()->backgroundColor().toText(), QString());
    EXPECT_EQ(after->style()->backgroundColor().toText(), QString()) << "the new page's element is untouched";
    EXPECT_NE(before, after);
}

}  // namespace
