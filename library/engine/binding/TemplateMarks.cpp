#include "engine/binding/TemplateMarks.h"

#include <QHash>
#include <QRegularExpression>

namespace lumetto::engine {
namespace {

// An attribute value as the page reads it: character references decoded.
QString decoded(QString value) {
    static const QRegularExpression reference(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|amp|lt|gt|quot|apos);"));
    QString out;
    qsizetype from = 0;
    for (auto it = reference.globalMatch(value); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(value).mid(from, m.capturedStart() - from);
        const QString name = m.captured(1);
        if (name.startsWith(QLatin1Char('#'))) {
            const bool hex = name.size() > 1 && (name.at(1) == QLatin1Char('x') || name.at(1) == QLatin1Char('X'));
            const char32_t code = name.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
            out += QString::fromUcs4(&code, 1);
        } else {
            static const QHash<QString, QChar> named{{QStringLiteral("amp"), QLatin1Char('&')},
                                                      {QStringLiteral("lt"), QLatin1Char('<')},
                                                      {QStringLiteral("gt"), QLatin1Char('>')},
                                                      {QStringLiteral("quot"), QLatin1Char('"')},
                                                      {QStringLiteral("apos"), QLatin1Char('\'')}};
            out += named.value(name);
        }
        from = m.capturedEnd();
    }
    return out + QStringView(value).mid(from).toString();
}

// Each start tag of a template as the page reads it: its name, lower case, and its attributes'
// text. A comment, the content of an element that holds no markup, or a start tag with its
// attributes (a quoted value may hold ">").
template <typename Visit>
void forEachStartTag(const QString& html, Visit visit) {
    static const QRegularExpression token(QStringLiteral(
        R"re(<!--[\s\S]*?(?:-->|$)|<(script|style|textarea|title|xmp)\b((?:[^>"']|"[^"]*"|'[^']*')*)>[\s\S]*?(?:</\1\s*>|$))re"
        R"re(|<([A-Za-z][^\s/>]*)((?:[^>"']|"[^"]*"|'[^']*')*)>)re"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto tags = token.globalMatch(html); tags.hasNext();) {
        const QRegularExpressionMatch tag = tags.next();
        // A textarea's own start tag is markup; what it holds is not.
        if (!tag.captured(1).isNull())
            visit(tag.captured(1).toLower(), tag.captured(2));
        else if (!tag.captured(3).isNull())
            visit(tag.captured(3).toLower(), tag.captured(4));
    }
}

}  // namespace

QStringList templateColumns(const QString& html) {
    static const QRegularExpression mark(QStringLiteral(
        R"re((?:^|[\s/"'])data-column(?:-[^\s"'>/=]+)?\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'=<>`]+)))re"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    forEachStartTag(html, [&](const QString&, const QString& attributes) {
        for (auto marks = mark.globalMatch(attributes); marks.hasNext();) {
            const QRegularExpressionMatch m = marks.next();
            const QString name = decoded(m.captured(1) + m.captured(2) + m.captured(3));
            if (!names.contains(name))
                names.append(name);
        }
    });
    return names;
}

QStringList templateScripts(const QString& html) {
    static const QRegularExpression attribute(QStringLiteral(R"re(([^\s"'>/=]+)(?:\s*=\s*(?:"[^"]*"|'[^']*'|[^\s"'=<>`]+))?)re"));
    static const QRegularExpression handler(QStringLiteral("^(data-column-)?on"), QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    forEachStartTag(html, [&](const QString& tag, const QString& attributes) {
        if (tag == QLatin1String("script"))
            found.append(QStringLiteral("<script>"));
        for (auto names = attribute.globalMatch(attributes); names.hasNext();)
            if (const QString name = names.next().captured(1); handler.match(name).hasMatch())
                found.append(QStringLiteral("<%1 %2>").arg(tag, name.toLower()));
    });
    return found;
}

}  // namespace lumetto::engine
