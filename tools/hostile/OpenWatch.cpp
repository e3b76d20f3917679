#include "hostile/OpenWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

OpenWatch::OpenWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { read(); });
}

OpenWatch::~OpenWatch() {
    notifier_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

bool OpenWatch::watch(const QString& folder) {
    if (fd_ < 0)
        return false;
    const int wd = inotify_add_watch(fd_, folder.toLocal8Bit().constData(), IN_OPEN);
    if (wd < 0)
        return false;
    folders_.insert(wd, folder);
    openings_.insert(folder, 0);
    return true;
}

int OpenWatch::openings(const QString& folder) {
    read();
    return openings_.value(folder);
}

void OpenWatch::read() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = ::read(fd_, buffer, sizeof buffer);
        if (length <= 0)
            return;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            // A folder's own listing is an opening too: the content read what it holds.
            if (event->mask & IN_OPEN)
                ++openings_[folders_.value(event->wd)];
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}
