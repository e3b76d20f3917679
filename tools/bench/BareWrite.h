#pragma once

#include <QString>

class QWebEngineView;

// The bare view's write: a click on a link of its page, instead of navigating, has the view
// show a document with setHtml, as a host shows new content in a bare view. setHtml cannot
// show a document larger than its data: URL takes; such a one is loaded from memory through a
// URL scheme of the program's own instead, the same load without that limit.

// Makes the scheme known to the engine: before the application object is made.
void registerWrittenScheme();
// The view shows the document once a link of its page is clicked.
void writeOnLinkClick(QWebEngineView& view, const QString& document);
