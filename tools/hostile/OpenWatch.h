#pragma once

#include <QHash>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <memory>

// Counts the openings of the files in folders, by any process (inotify): what the content
// must never open. Events are read as the event loop runs.
class OpenWatch : public QObject {
public:
    OpenWatch();
    ~OpenWatch() override;

    // Watches the files of a folder (not its subfolders); false if it cannot.
    bool watch(const QString& folder);
    // Reads the events that came; the openings of files in that folder so far.
    int openings(const QString& folder);

private:
    void read();

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    QHash<int, QString> folders_;
    QHash<QString, int> openings_;
};
