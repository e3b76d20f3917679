#include "control/ControlHarness.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>

namespace {

using contract::Variant;

const QString GreenRules = QStringLiteral("BODY { background-color : green; font-family: Arial;}");
const QString WhiteRules = QStringLiteral("BODY { background-color : white; font-family: Verdana;}");

TEST(Style, RulesStringTakesOverFromAStyleSheetLocation) {
    ControlHarness h({{QStringLiteral("csshttp"), Variant::fromBool(true)}});
    QFile sheet(h.baseDirectory() + QStringLiteral("blue.css"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write("body { background: #0000ff; }");
    sheet.close();
    h.control().setBaseURL(h.baseDirectory());
    h.control().setBodyHTML(QStringLiteral("<p>styled</p>"));
    h.control().setCSSText(QStringLiteral("blue.css"));
    ASSERT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 0, 255); }));

    h.control().setCSSFromURL(Variant::fromBool(false));
    h.control().setCSSText(GreenRules);
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 128, 0); }));
    EXPECT_FALSE(h.control().SourceHTML().toText().contains(QStringLiteral("blue.css")));
}

TEST(Style, RefusedRulesLeaveThePreviousOnesAlsoAfterTheControlRecovers) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>styled</p>"));
    h.control().setCSSText(WhiteRules);
    ASSERT_EQ(::kill(static_cast<pid_t>(h.view()->page()->renderProcessPid()), SIGKILL), 0);

    EXPECT_THROW(h.control().setCSSText(GreenRules), contract::RuntimeError);
    EXPECT_TRUE(waitFor([&] {
        try {
            return h.control().SourceHTML().toText().contains(QStringLiteral("<p>styled</p>"));
        } catch (const contract::RuntimeError&) {
            return false;
        }
    }));
    const QString source = h.control().SourceHTML().toText();
    EXPECT_TRUE(source.contains(WhiteRules));
    EXPECT_FALSE(source.contains(QStringLiteral("green")));
}

}  // namespace
