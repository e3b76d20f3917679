#pragma once

#include <QJsonValue>
#include <QVariant>

class QLocale;

namespace lumetto::engine {

// How a cell reaches the page. Its text is what elements and attributes show, the display role
// as Qt's views show it (QStyledItemDelegate::displayText: numbers and dates in the view's
// locale); its edit text is what a form field edits (the edit role as QVariant::toString()
// gives it: plain numbers, ISO dates, true or false). NULL is null. The cell is sent as its text
// when the two agree and the field takes edits, else as {text, edit} with readOnly, refused and
// pending where they hold; a BLOB (QByteArray) as {"image": data URL}, the URL null unless its bytes are
// a PNG, JPEG, GIF or WebP image.
struct CellValues {
    QVariant display;
    QVariant edit;
    bool editable = true;
    bool refused = false;  // the model refused the user's value or could not store it
    bool pending = false;  // the user's entry, not yet handed to the model
};
QJsonValue boundCell(const CellValues& cell, const QLocale& locale);

}  // namespace lumetto::engine
