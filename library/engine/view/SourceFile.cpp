#include "engine/view/SourceFile.h"

#include "engine/page/PageFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace lumetto::engine {
namespace {

// A URL is named in a failure up to this many characters: a data: URL can be megabytes.
constexpr qsizetype NamedUrlLength = 200;

[[noreturn]] void refuse(const QUrl& url, const QString& why) {
    QString named = url.toDisplayString();
    if (named.size() > NamedUrlLength)
        named = named.left(NamedUrlLength - 1) + QChar(0x2026);
    throw PageFailure{HtmlError(HtmlError::SourceUnreadable, QStringLiteral("cannot show %1: %2").arg(named, why),
                                QStringLiteral("setSource"))};
}

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The decoder a browser decodes the file's bytes with: its byte order mark's, else its <meta>
// charset's, else UTF-8, also for a charset the decoders do not know. A <meta> that names a
// UTF-16 or UTF-32 encoding was read as ASCII bytes, so the file is none of those: without a
// byte order mark, it means UTF-8.
QStringDecoder decoderOf(const QByteArray& data) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    const QString name = QString::fromLatin1(decoder.name());
    const bool wide = name.startsWith(QLatin1String("UTF-16"), Qt::CaseInsensitive) ||
                      name.startsWith(QLatin1String("UTF-32"), Qt::CaseInsensitive);
    if (!decoder.isValid() || (wide && !QStringConverter::encodingForData(data)))
        return QStringDecoder(QStringDecoder::Utf8);
    return decoder;
}

}  // namespace

SourceFile SourceFile::read(const QUrl& url) {
    QString path;
    QUrl folder;
    if (url.isLocalFile()) {
        path = url.toLocalFile();
        folder = QUrl::fromLocalFile(withSlash(QFileInfo(path).absolutePath()));
    } else if (url.scheme() == QLatin1String("qrc")) {
        const QString resource = QDir::cleanPath(QLatin1Char('/') + url.path());
        path = QLatin1Char(':') + resource;
        folder.setScheme(QStringLiteral("qrc"));
        folder.setPath(resource.left(resource.lastIndexOf(QLatin1Char('/')) + 1));
    } else {
        refuse(url, url.scheme().isEmpty() ? QStringLiteral("only file: and qrc: URLs are read")
                                           : QStringLiteral("%1: URLs are not read, only file: and qrc:").arg(url.scheme()));
    }
    if (QFileInfo(path).isDir())
        refuse(url, QStringLiteral("it is a folder"));  // a folder of the resources opens as an empty file
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(url, file.errorString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        refuse(url, file.errorString());
    QStringDecoder decoder = decoderOf(data);
    return {decoder.decode(data), folder};
}

}  // namespace lumetto::engine
