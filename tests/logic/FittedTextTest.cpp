#include "forms/FittedText.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QSize>
#include <QStringList>

namespace {

TEST(FittedText, TextThatFitsIsShownAsItIsAndLongTextIsWrappedAndCutToTheArea) {
    const QFont font;
    const QSize area(300, 200);
    const QString error = QStringLiteral("Run-time error '440':\n\n<b>Automation</b> error ");
    EXPECT_EQ(forms::fitText(error, font, area), error);

    const QFontMetrics metrics(font);
    const QString longWords = QStringLiteral("word ").repeated(20000);
    for (const QString& text : {QStringLiteral("x").repeated(100000), longWords, QStringLiteral("line\n").repeated(500)}) {
        const QStringList lines = forms::fitText(text, font, area).split(QLatin1Char('\n'));
        EXPECT_LE(lines.size() * metrics.lineSpacing(), area.height()) << text.left(10).toStdString();
        EXPECT_GT(lines.size(), area.height() / metrics.lineSpacing() - 1) << "the area is used";
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line), area.width()) << line.toStdString();
        EXPECT_TRUE(lines.last().endsWith(QChar(0x2026))) << "the cut is marked";
        EXPECT_TRUE(text.startsWith(lines.first())) << "the text begins the box";
    }
    const QStringList wrapped = forms::fitText(QStringLiteral("word ").repeated(100), font, area).split(QLatin1Char('\n'));
    EXPECT_GT(wrapped.size(), 1);
    EXPECT_EQ(wrapped.join(QLatin1Char(' ')).simplified(), QStringLiteral("word ").repeated(100).simplified())
        << "wrapping loses no word";
}

}  // namespace
