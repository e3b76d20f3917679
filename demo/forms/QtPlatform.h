#pragma once

#include "forms/Platform.h"

namespace forms {

class QtPlatform : public Platform {
public:
    QString applicationDirectory() override;
    QChar directorySeparator() override;
    QString clipboardText() override;
    void messageBox(const QString& prompt) override;
    void showModal(QDialog& window) override;
};

}  // namespace forms
