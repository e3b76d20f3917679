#include "hostile/Places.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace {

QByteArray pngOf(QRgb colour) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// The same set of files in a folder: a page, a style sheet, an image, a font, an SVG image.
void placeSecrets(const QString& folder) {
    QDir().mkpath(folder);
    write(folder + QStringLiteral("/secret.html"), "<p id='secret'>outside the base folder</p>");
    write(folder + QStringLiteral("/secret.css"), "body { background: rgb(255, 0, 255) }");
    write(folder + QStringLiteral("/secret.png"), pngOf(qRgb(255, 0, 255)));
    write(folder + QStringLiteral("/secret.ttf"), QByteArray(64, 'f'));
    write(folder + QStringLiteral("/secret.svg"), "<svg xmlns='http://www.w3.org/2000/svg'><rect width='9' height='9'/></svg>");
}

}  // namespace

Places::Places() {
    if (!root_.isValid())
        return;
    QDir().mkpath(base());
    write(base() + QStringLiteral("inside.png"), pngOf(qRgb(0, 128, 0)));
    write(base() + QStringLiteral("inside.css"), "p { color: rgb(0, 0, 128) }");
    placeSecrets(outside());
    placeSecrets(linkedTarget());
    placeSecrets(sibling());
    for (const char* name : {"secret.html", "secret.css", "secret.png", "secret.ttf", "secret.svg"}) {
        const QString file = QString::fromLatin1(name);
        QFile::link(linkedTarget() + file, base() + QStringLiteral("link-") + file);
    }
    QFile::link(linkedTarget(), base() + QStringLiteral("folder-link"));
}

QString Places::base() const {
    return root_.path() + QStringLiteral("/base/");
}

QUrl Places::baseUrl() const {
    return QUrl::fromLocalFile(base());
}

QString Places::outside() const {
    return root_.path() + QStringLiteral("/outside/");
}

QString Places::linkedTarget() const {
    return root_.path() + QStringLiteral("/outside/linked/");
}

QString Places::sibling() const {
    return root_.path() + QStringLiteral("/base-sibling/");
}

QUrl Places::writeInBase(const QString& name, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(base() + name).absolutePath());
    write(base() + name, bytes);
    return QUrl::fromLocalFile(base() + name);
}
