#pragma once

#include <QString>

class QFont;
class QSize;

namespace forms {

// A text as a box shows it within an area of the screen: wrapped into lines no wider than the
// area (between words, or inside a word too long for a line) and cut after the last line that
// fits, the cut marked with "…". Text that fits comes back as it was.
QString fitText(const QString& text, const QFont& font, const QSize& area);

}  // namespace forms
