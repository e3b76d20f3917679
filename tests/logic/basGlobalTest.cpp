#include "content/basGlobal.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

int count(const QString& text, const QString& pattern) {
    return static_cast<int>(text.count(QRegularExpression(pattern)));
}

TEST(BuildPages, ProductPageIsTheExactSingleLineMarkup) {
    basGlobal::BuildPages();
    const QString& page = basGlobal::ProductPageHTML;
    EXPECT_EQ(page.size(), 1525);
    EXPECT_FALSE(page.contains(QLatin1Char('\n')) || page.contains(QLatin1Char('\r')));
    EXPECT_TRUE(page.startsWith(QStringLiteral("<table width='100%'  border='0'>  <tr>    <td width='96%' valign='top'>")));
    EXPECT_TRUE(page.endsWith(QStringLiteral("</td>  </tr></table>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<li>Collect information from HTML <A href=Forms>forms</A> </li>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<p align=center><B>And, its only $US20</B><br><BR>    </p>    </td>")));
    EXPECT_EQ(count(page, QStringLiteral("<A ")), 1);
    EXPECT_EQ(count(page, QStringLiteral("<img src='icon-logo.gif' width='32' height='32' align='top'>")), 2);
}

TEST(BuildPages, FormPageIsTheExactSingleLineQuestionnaire) {
    basGlobal::BuildPages();
    const QString& page = basGlobal::FormsPageHTML;
    EXPECT_EQ(page.size(), 801);
    EXPECT_FALSE(page.contains(QLatin1Char('\n')) || page.contains(QLatin1Char('\r')));
    EXPECT_TRUE(page.startsWith(QStringLiteral("<form name='form1' method='post' action=''>  <table width='100%'  border='0'>")));
    EXPECT_TRUE(page.endsWith(QStringLiteral("  </table></form>")));
    EXPECT_EQ(count(page, QStringLiteral("<form ")), 1);
    EXPECT_EQ(count(page, QStringLiteral(" name='")), 4);  // the form and its three fields
    EXPECT_TRUE(page.contains(QStringLiteral("<input type='text' name='Question1'>")));
    EXPECT_TRUE(page.contains(QStringLiteral(
        "<select name='Question2' id='Question2'>            <option value='Yes' selected>Yes</option>"
        "            <option value='No'>No</option>          </select>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<input id='SubmitButton' type='submit' name='Submit' value='Submit'>")));
    EXPECT_EQ(count(page, QStringLiteral("<img ")), 1);
}

}  // namespace
