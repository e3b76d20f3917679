#include "driving/ScreenGrab.h"

#include "driving/Wait.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

namespace {

bool saveCompositorScreen(const QString& path) {
    // The screenshooter writes its file into its working directory, under a name of its own.
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setWorkingDirectory(folder.path());
    shooter.start(QStringLiteral("weston-screenshooter"), QStringList());
    if (!waitFor([&] { return shooter.state() == QProcess::NotRunning; }, 10000) || shooter.exitCode() != 0)
        return false;
    const QStringList taken = QDir(folder.path()).entryList({QStringLiteral("*.png")}, QDir::Files);
    if (taken.size() != 1)
        return false;
    QFile::remove(path);
    return QFile::copy(QDir(folder.path()).filePath(taken.first()), path);
}

}  // namespace

bool saveScreen(const QRect& area, const QString& path) {
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        return saveCompositorScreen(path);
    return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(path);
}
