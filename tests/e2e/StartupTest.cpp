#include "driving/RunningApp.h"
#include "support/QtPrinters.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QWebEngineView>

namespace {

TEST(Startup, Form1ComesUpWithTheProductPagePaintedAndBothImagesLoaded) {
    RunningApp app;
    ASSERT_TRUE(app.messages().isEmpty()) << app.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(app.form().windowTitle(), QStringLiteral("Form1"));
    EXPECT_EQ(app.label("Label1"), QStringLiteral("Label1"));
    EXPECT_EQ(app.label("Label2"), QStringLiteral("Last Click :"));
    EXPECT_EQ(app.label("lblClipCaption"), QStringLiteral("Clipboard Contents"));

    auto link = app.first(QStringLiteral("A"));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->readMember(QStringLiteral("href")).toText().endsWith(QStringLiteral("/Forms")));

    // Both images come from the application directory: the top one beside the title, the
    // bottom one in the last row, which the page's layout must keep inside the view.
    const QSize view = app.pageView()->size();
    EXPECT_TRUE(waitFor([&] {
        return app.showsProductPage() &&
               app.showsLogo(QRect(view.width() - 64, view.height() / 2, 64, view.height() / 2 - 1));
    })) << "both images of the product page are painted";

    auto mirror = app.brClip().Document().as<contract::IHTMLDocument2>()->body().as<contract::IHTMLElement>();
    EXPECT_TRUE(mirror->readMember(QStringLiteral("innerHTML")).toText().isEmpty()) << "brClip shows nothing yet";
}

}  // namespace
