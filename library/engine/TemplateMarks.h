#pragma once

#include <QStringList>

namespace lumetto {

// The model columns a data template names in its marks (data-column="Name",
// data-column-<attribute>="Name"), each once, in the order they first appear. The marks are
// read from the template's start tags as the page reads them: comments and the text of
// elements whose content is not markup (script, style, textarea, title) name nothing, and the
// names are decoded as attribute values are (&amp;, &#39;, ...).
QStringList templateColumns(const QString& html);

}  // namespace lumetto
