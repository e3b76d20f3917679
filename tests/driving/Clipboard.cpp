#include "driving/Clipboard.h"

#include "driving/Wait.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>

QString clipboardAs(const QString& mimeType) {
    if (QGuiApplication::platformName() != QLatin1String("wayland")) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return data ? QString::fromUtf8(data->data(mimeType)) : QString();
    }
    // The program that owns the clipboard hands it over through its own event loop, which
    // runs while this waits.
    QProcess paste;
    paste.start(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline"), QStringLiteral("--type"), mimeType});
    if (!waitFor([&] { return paste.state() == QProcess::NotRunning; }, 10000)) {
        paste.kill();
        paste.waitForFinished();
        return {};
    }
    return QString::fromUtf8(paste.readAllStandardOutput());
}
