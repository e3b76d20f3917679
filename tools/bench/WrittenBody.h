#pragma once

#include <QColor>
#include <QRect>
#include <QString>

// The body of the write benchmark: paragraphs of text, about the given number of characters of
// markup, and last a paragraph fixed at the page's top left in a colour of its own. That one
// shows once the whole body is in the page and drawn; the observer waits for its colour.
QString writtenBody(qsizetype characters);

// Where the last paragraph shows, in the page, and its colour.
constexpr QRect LastParagraphBox(0, 0, 40, 16);
inline const QColor LastParagraphColour(46, 139, 87);

// Whether a view's setHtml can show the document: setHtml puts it into a data: URL, which
// the engine takes only up to 2 MiB.
bool setHtmlTakes(const QString& document);
