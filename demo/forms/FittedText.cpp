#include "forms/FittedText.h"

#include <QFontMetrics>
#include <QSize>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>

namespace forms {
namespace {

const QChar Ellipsis(0x2026);

QString trimmedEnd(QString line) {
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    return line;
}

// The lines of one paragraph, at most maxLines of them; more tells whether any were left over.
// A line broken between words loses the blanks at its end: the break stands in for them.
QStringList wrap(const QString& paragraph, const QFont& font, int width, int maxLines, bool& more) {
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (lines.size() == maxLines) {
            more = true;
            break;
        }
        line.setLineWidth(width);
        if (!lines.isEmpty())
            lines.last() = trimmedEnd(lines.last());
        lines << paragraph.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

}  // namespace

QString fitText(const QString& text, const QFont& font, const QSize& area) {
    const QFontMetrics metrics(font);
    const int width = std::max(area.width(), metrics.maxWidth());
    const int maxLines = std::max(1, area.height() / metrics.lineSpacing());

    // Every character is at least a pixel wide, so nothing beyond this many can be shown.
    qsizetype shown = std::min<qsizetype>(text.size(), qsizetype(maxLines) * (width + 1));
    if (shown > 0 && shown < text.size() && text.at(shown - 1).isHighSurrogate())
        --shown;
    bool more = shown < text.size();

    QStringList lines;
    bool wrapped = false;
    for (const QString& paragraph : text.left(shown).split(QLatin1Char('\n'))) {
        if (lines.size() == maxLines) {
            more = true;
            break;
        }
        const QStringList paragraphLines = wrap(paragraph, font, width, maxLines - lines.size(), more);
        wrapped = wrapped || paragraphLines.size() > 1;
        lines << paragraphLines;
    }
    if (!more && !wrapped)
        return text;
    if (more)
        lines.last() = metrics.elidedText(lines.last() + Ellipsis, Qt::ElideRight, width);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace forms
