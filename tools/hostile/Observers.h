#pragma once

#include "hostile/HostileDocuments.h"
#include "hostile/LoopbackServer.h"
#include "hostile/OpenWatch.h"
#include "hostile/Places.h"

#include <QHash>
#include <QPointer>
#include <QTimer>

namespace lumetto {
class HtmlView;
}
class QWebEnginePage;

// What content must never do, observed from outside the views: requests reaching the
// loopback servers (nothing else is on the network), files outside the base folder opened,
// pages leaving the views' shell, windows opened.
class Observers {
public:
    Observers();

    const Places& places() const { return places_; }
    Targets targets() const;

    // Follows the view's page: a page URL other than the shell's is a navigation.
    void follow(lumetto::HtmlView* view);
    // Whether the view's page has left its shell since it was followed.
    bool navigated(lumetto::HtmlView* view);
    // Where the view's page went: the first URL outside its shell.
    QUrl leftFor(lumetto::HtmlView* view);

    int requests() const;
    int scriptRequests() const;
    int openedByPath();
    int openedByLink();
    // Top-level windows shown besides the run's own, so far: each is closed as soon as it shows
    // (a modal one, such as a file chooser, would hold the run in its loop).
    int windows() const { return windows_; }
    // File choosers shown for a click on a file field, so far, closed as well.
    int fileChoosers() const { return fileChoosers_; }
    // What the last of them was: its class and title.
    const QString& lastWindow() const { return lastWindow_; }
    // The paths requested since the last call, for the report of a finding.
    QStringList newPaths();

private:
    Places places_;
    LoopbackServer server_;
    LoopbackServer otherServer_;
    OpenWatch opens_;
    QHash<QWebEnginePage*, QUrl> left_;  // the page's first URL outside its shell
    QTimer windowWatch_;
    int windows_ = 0;
    int fileChoosers_ = 0;
    QString lastWindow_;
    int pathsSeen_ = 0;
    int otherPathsSeen_ = 0;
};
