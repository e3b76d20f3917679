#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QUrl>

// The files a hostile run places: the views' base folder, with pages and an image of its own,
// and beside it files the content must never open: some named by their path, some reached
// through symbolic links inside the base folder, and a sibling folder whose name begins with
// the base folder's.
class Places {
public:
    Places();

    bool isValid() const { return root_.isValid(); }
    QString root() const { return root_.path(); }
    // The base folder, with its final slash.
    QString base() const;
    QUrl baseUrl() const;
    // A folder of files named by their path (outside/secret.*).
    QString outside() const;
    // The folder the base folder's symbolic links lead to (outside/linked/*).
    QString linkedTarget() const;
    // The sibling folder whose name starts with the base folder's (base-sibling/).
    QString sibling() const;

    // Writes a file into the base folder (a name may hold folders); its URL.
    QUrl writeInBase(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir root_;
};
