#pragma once

#include <QSqlDatabase>

class QSqlTableModel;

// The paint shop's stock that the records examples browse: a SQLite table "paints" (id, name,
// description, price above zero, picture as PNG bytes) of three shades of twelve colours and
// thousands of blends, the last one "Last Blend" in a colour of its own.
// Opens the database named on the command line, else the one in the user's data folder, and
// makes and fills the table when it has none yet; false, with the reason on the error output,
// when it cannot.
bool openPaintStock(QSqlDatabase& db);
// Has the model show the table of paints, keeping edits until they are submitted (an
// HtmlDataMapper's submit() stores them).
void selectPaints(QSqlTableModel& model);
