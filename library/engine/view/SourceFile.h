#pragma once

#include <QString>
#include <QUrl>

namespace lumetto::engine {

// An HTML file a view is to show (HtmlView::setSource): a local file (file:) or one of the
// application's Qt resources (qrc:). Its text is decoded as a browser decodes a page: by its byte
// order mark, else by its <meta> charset, else as UTF-8. Its folder is where its relative
// references resolve, and the one place its content may load files from.
struct SourceFile {
    QString html;
    QUrl folder;

    // Reads the file url names; fails with a PageFailure (HtmlError::SourceUnreadable) naming the
    // URL and why: another scheme, no such file, a folder, a file that cannot be read.
    static SourceFile read(const QUrl& url);
};

}  // namespace lumetto::engine
