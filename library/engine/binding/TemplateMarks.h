#pragma once

#include <QStringList>

namespace lumetto::engine {

// The model columns a data template names in its marks (data-column="Name",
// data-column-<attribute>="Name"), each once, in the order they first appear. The marks are
// read from the template's start tags as the page reads them: comments and the text of
// elements whose content is not markup (script, style, textarea, title) name nothing, and the
// names are decoded as attribute values are (&amp;, &#39;, ...).
QStringList templateColumns(const QString& html);

// What of a template would be script in a page that ran it: each <script> element and each event
// handler attribute (on...), a mark that would set one (data-column-on...) included, as
// "<tag attribute>". The page runs none of them and sets no such mark.
QStringList templateScripts(const QString& html);

}  // namespace lumetto::engine
