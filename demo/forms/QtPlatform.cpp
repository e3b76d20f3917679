#include "forms/QtPlatform.h"

#include "forms/FittedText.h"
#include "contract/RuntimeError.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace forms {
namespace {

// A message box keeps its text on unwrapped lines up to half the screen's width or this, the
// lesser, margins included; less is asked of the text, so that the box never wraps it again.
constexpr int MaxPromptWidth = 500;
constexpr int PromptMargin = 100;
// What a message box needs beside its text: title bar, margins and the button row.
constexpr int BoxFrameHeight = 160;

}  // namespace

QString QtPlatform::applicationDirectory() {
    const QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        throw contract::RuntimeError::pathFileAccess(QStringLiteral("the application directory cannot be read"));
    return QDir::toNativeSeparators(dir);
}

QChar QtPlatform::directorySeparator() {
    return QDir::separator();
}

QString QtPlatform::clipboardText() {
    return QGuiApplication::clipboard()->text();
}

// The prompt is shown as plain text, whatever markup it holds: it may come from the page or
// the user. A long prompt is wrapped and cut so that the box and its button stay on the screen.
void QtPlatform::messageBox(const QString& prompt) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), QString(), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    const QRect screen = box.screen()->availableGeometry();
    const QSize area(std::min(screen.width() / 2, MaxPromptWidth) - PromptMargin, screen.height() - BoxFrameHeight);
    box.setText(fitText(prompt, box.font(), area));
    box.exec();
}

void QtPlatform::showModal(QDialog& window) {
    window.exec();
}

}  // namespace forms
