#include "control/ControlHarness.h"
#include "hosted/DocumentObjects.h"
#include "hosted/RuntimeError.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

namespace {

using hosted::IHTMLDocument2;
using hosted::IHTMLElement;
using hosted::IHTMLElementCollection;

TEST(BadInput, MarkupNestedTenThousandDeepIsShownAndWalked) {
    ControlHarness h;
    QElapsedTimer timer;
    timer.start();
    h.control().setBodyHTML(QStringLiteral("<div>").repeated(10000) + QStringLiteral("deep") +
                            QStringLiteral("</div>").repeated(10000));
    auto all = h.control().Document().as<IHTMLDocument2>()->all().as<IHTMLElementCollection>();
    EXPECT_GT(all->length(), 100);
    EXPECT_TRUE(h.control().SourceHTML().toText().contains(QStringLiteral("deep")));
    EXPECT_LT(timer.elapsed(), 15000) << "shown and walked in a few seconds, with room for a busy machine";
}

// The page reports its failures with the host's codes: a member the element lacks is the same
// run-time error here as anywhere else.
TEST(BadInput, AMemberTheElementLacksFailsWithTheCodeTheHostKnows) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>text</p>"));
    auto body = h.control().Document().as<IHTMLDocument2>()->body().as<IHTMLElement>();
    try {
        body->readMember(QStringLiteral("noSuchMember"));
        ADD_FAILURE() << "a member the element lacks was read";
    } catch (const hosted::RuntimeError& e) {
        EXPECT_EQ(e.code(), hosted::ErrorCode::MemberNotSupported);
        EXPECT_TRUE(e.description().endsWith(hosted::errorDescription(e.code()))) << e.what();
    }
}

TEST(BadInput, InvalidRulesAreIgnoredAndRulesNeverBecomeMarkup) {
    ControlHarness h;
    h.control().setBodyHTML(QStringLiteral("<p>text</p>"));
    h.control().setCSSText(QStringLiteral("BODY { background-color : ; } }}} {{{ not css @@ ;"));
    h.control().setCSSText(QStringLiteral("</style><script>document.body.setAttribute('data-ran','yes')</script>"));
    auto body = h.control().Document().as<IHTMLDocument2>()->body().as<IHTMLElement>();
    EXPECT_TRUE(body->getAttribute(QStringLiteral("data-ran")).isNull()) << "rules are style text, never markup";
    h.control().setCSSText(QStringLiteral("BODY { background-color : green; }"));
    EXPECT_TRUE(waitFor([&] { return h.pixelAt(QPoint(300, 300)) == QColor(0, 128, 0); }));
}

TEST(BadInput, BaseDirectoryWithSpacesNonAsciiCharactersAndABackslashServesTheImage) {
    QTemporaryDir parent;
    const QString directory = parent.filePath(QStringLiteral("my demo ünï € back\\slash"));
    ASSERT_TRUE(QDir().mkpath(directory));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMETTO_ICON), directory + QStringLiteral("/icon-logo.gif")));
    ControlHarness h;
    h.control().setBaseURL(directory + QLatin1Char('/'));
    h.control().setBodyHTML(QStringLiteral("<img src='icon-logo.gif'>"));
    auto all = h.control().Document().as<IHTMLDocument2>()->all().as<IHTMLElementCollection>();
    auto image = all->item(all->length() - 1).as<IHTMLElement>();
    ASSERT_EQ(image->tagName(), QStringLiteral("IMG"));
    EXPECT_TRUE(waitFor([&] { return image->readMember(QStringLiteral("naturalWidth")).toText() == QLatin1String("32"); }));
}

}  // namespace
