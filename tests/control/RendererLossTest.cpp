#include "control/ControlHarness.h"
#include "hosted/RuntimeError.h"

#include "support/Wait.h"

#include <gtest/gtest.h>

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
    EXPECT_LT(timer.elapsed(), 6000) << "the call ends within its bound";

    EXPECT_TRUE(waitFor(
        [&] {
            try {
                return h.control().SourceHTML().toText().contains(QStringLiteral("still here"));
            } catch (const hosted::RuntimeError&) {
                return false;
            }
        },
        2000))
        << "the control brings its last content back by itself";
}

}  // namespace
