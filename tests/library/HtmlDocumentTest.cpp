#include "library/ViewHarness.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

TEST(HtmlDocument, ElementsAreEveryElementOnceInDocumentOrder) {
    ViewHarness h;
    h.view().setBodyHtml(QStringLiteral("<div id='a'><p id='b'><span id='c'></span></p></div><i id='d'></i>"));
    const QList<lumetto::HtmlElement> elements = h.view().document().elements();
    QStringList tags;
    for (const lumetto::HtmlElement& element : elements)
        tags << element.tagName();
    EXPECT_EQ(tags.join(QLatin1Char(' ')), QStringLiteral("HTML HEAD BASE STYLE LINK BODY DIV P SPAN I"));
    ASSERT_EQ(elements.size(), 10);
    EXPECT_EQ(elements[8].id(), QStringLiteral("c"));
    EXPECT_EQ(elements[6], h.view().document().elements()[6]) << "one element, one handle";
    EXPECT_NE(elements[6], elements[7]);
}

}  // namespace
