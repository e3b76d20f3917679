#include "engine/page/LocalFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QWebEngineUrlRequestInfo>

namespace lumetto::engine {
namespace {

QString withSlash(const QString& directory) {
    return directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
}

}  // namespace

QString filesScheme(const QUrl& base) {
    if (base.isLocalFile())
        return QStringLiteral("file");
    if (base.scheme() == QLatin1String("qrc"))
        return QStringLiteral("qrc");
    return {};
}

// Whether the file url names lies below the root directory. A local file is judged by where it
// really is, links resolved (of the directory as well): a link below the directory to a file
// elsewhere does not bring that file in. A file that does not exist is below nothing.
bool LocalFilesOnly::isBelowRoot(const QUrl& url) const {
    const QString files = filesScheme(root_);
    if (files.isEmpty() || url.scheme() != files || url.host() != root_.host())
        return false;
    if (files == QLatin1String("qrc"))
        return QDir::cleanPath(url.path()).startsWith(withSlash(root_.path()));
    const QString file = QFileInfo(url.toLocalFile()).canonicalFilePath();
    const QString root = QFileInfo(root_.toLocalFile()).canonicalFilePath();
    return !file.isEmpty() && !root.isEmpty() && file.startsWith(withSlash(root));
}

void LocalFilesOnly::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (info.requestUrl().scheme() != QLatin1String("data") && !isBelowRoot(info.requestUrl()))
        info.block(true);
}

}  // namespace lumetto::engine
