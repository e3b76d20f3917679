#include "content/basGlobal.h"
#include "driving/RunningApp.h"
#include "support/QtPrinters.h"
#include "driving/ProductPage.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QWebEngineView>

namespace {

using product_page::HighlightStyle;
// The description cell of the product page's second row: its first line is the cell's own text.
const QString DescriptionCell = QStringLiteral("table tr:nth-child(2) > td");

bool formPageShown(RunningApp& app) {
    return app.inPage(QStringLiteral("!!document.querySelector('#SubmitButton')")).toBool();
}

bool productPageShown(RunningApp& app) {
    return app.inPage(QStringLiteral("!!document.querySelector('a')")).toBool();
}

TEST(Clicks, CellIsReportedAndHighlightedUntilTheNextClick) {
    RunningApp app;
    app.click(app.firstLineOf(DescriptionCell));
    ASSERT_TRUE(waitFor([&] { return app.label("Label1") == QLatin1String("TD"); }));
    EXPECT_TRUE(app.messages().isEmpty()) << app.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(app.label("Label2"), QStringLiteral("Last Click - LeftClick : "));
    EXPECT_EQ(app.inlineBackground(DescriptionCell), HighlightStyle);

    app.click(QStringLiteral("li"));
    ASSERT_TRUE(waitFor([&] { return app.label("Label1") == QLatin1String("LI"); }));
    EXPECT_EQ(app.inlineBackground(DescriptionCell), QString()) << "the cell has its own colour back";
    EXPECT_EQ(app.inlineBackground(QStringLiteral("li")), HighlightStyle);
    EXPECT_TRUE(app.messages().isEmpty());
}

TEST(Clicks, RightClickHighlightsTheLinkWithoutNavigatingAndNeverTheBody) {
    RunningApp app;
    app.click(QStringLiteral("a"), Qt::RightButton);
    ASSERT_TRUE(waitFor([&] { return app.label("Label2") == QLatin1String("Last Click - RightClick : "); }));
    EXPECT_EQ(app.label("Label1"), QStringLiteral("A"));
    EXPECT_EQ(app.inlineBackground(QStringLiteral("a")), HighlightStyle);
    EXPECT_TRUE(productPageShown(app));
    EXPECT_EQ(basGlobal::PageState, 0);

    app.click(QStringLiteral("a"));  // the questionnaire; its page ends well above the view's bottom
    ASSERT_TRUE(waitFor([&] { return formPageShown(app); }));
    const QSize view = app.pageView()->size();
    app.click(QPoint(view.width() / 2, view.height() - 10), Qt::RightButton);
    ASSERT_TRUE(waitFor([&] { return app.label("Label1") == QLatin1String("BODY"); }))
        << app.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(app.inlineBackground(QStringLiteral("body")), QString());
}

TEST(Clicks, QuestionnaireAnswersAreCollectedFromRealInput) {
    RunningApp app;
    app.click(QStringLiteral("a"));
    ASSERT_TRUE(waitFor([&] { return formPageShown(app); }));
    EXPECT_EQ(app.label("Label1"), QStringLiteral("A"));
    EXPECT_EQ(app.inlineBackground(QStringLiteral("form")), QString());
    EXPECT_EQ(basGlobal::PageState, 1);

    app.click(QStringLiteral("input[name=Question1]"));
    ASSERT_TRUE(waitFor([&] { return app.label("Label1") == QLatin1String("INPUT"); }));
    EXPECT_EQ(app.inlineBackground(QStringLiteral("input[name=Question1]")), QString()) << "no highlight on the form";
    app.type(QStringLiteral("Ada Lovelace"));
    app.press(Qt::Key_Tab);   // to the list
    app.press(Qt::Key_Down);  // "Yes" -> "No"
    ASSERT_TRUE(waitFor([&] { return app.inPage(QStringLiteral("document.querySelector('select').value")) == "No"; }));

    app.click(QStringLiteral("#SubmitButton"));
    ASSERT_TRUE(waitFor([&] { return app.label("lblClipCaption") == QLatin1String("Answers"); }));
    EXPECT_EQ(app.mirrorContent(), QStringLiteral("Thankyou for filling in the form<br><br>Question1 : Ada Lovelace<br>"
                                                  "Question2 : No<br>"));
    EXPECT_TRUE(waitFor([&] { return productPageShown(app); }));
    EXPECT_EQ(basGlobal::PageState, 0);
    EXPECT_EQ(app.label("Label1"), QStringLiteral("INPUT"));
    EXPECT_EQ(app.label("Label2"), QStringLiteral("Last Click - LeftClick : "));

    // The next click restores the submit button of the replaced page without effect or error.
    app.click(app.firstLineOf(DescriptionCell));
    ASSERT_TRUE(waitFor([&] { return app.label("Label1") == QLatin1String("TD"); }));
    EXPECT_TRUE(app.messages().isEmpty()) << app.messages().join(QLatin1Char('\n')).toStdString();
}

}  // namespace
