#include "forms/QtPlatform.h"

#include "hosted/RuntimeError.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QMessageBox>

namespace forms {

QString QtPlatform::applicationDirectory() {
    const QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        throw hosted::RuntimeError::pathFileAccess(QStringLiteral("the application directory cannot be read"));
    return QDir::toNativeSeparators(dir);
}

QString QtPlatform::clipboardText() {
    return QGuiApplication::clipboard()->text();
}

void QtPlatform::messageBox(const QString& prompt) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), prompt, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void QtPlatform::showModal(QDialog& window) {
    window.exec();
}

}  // namespace forms
