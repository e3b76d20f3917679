#pragma once

#include <QJsonArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <map>
#include <memory>

namespace lumetto::engine {

class ContentRecord;
class PageCalls;
class PageElement;

// The elements of one control's page that the host holds, by the handle the page gave each.
// The page keeps an element alive until the host has released its last reference to it and
// has received every reference the page handed out (a release names how many it received, so
// that one still on its way to the host, in a queued event, keeps the element alive).
class ElementHandles : public QObject, public std::enable_shared_from_this<ElementHandles> {
    Q_OBJECT
public:
    ElementHandles(std::shared_ptr<PageCalls> calls, std::shared_ptr<ContentRecord> record);

    PageCalls& calls() const { return *calls_; }

    // The host object of the element a page reference ({h, tag}) names; the same element
    // gives the same object for as long as the host holds it. Null for a null reference.
    std::shared_ptr<PageElement> elementFor(const QVariant& ref);
    std::shared_ptr<PageElement> elementFor(qint64 handle, const QString& tagName);

private:
    // The host released its last reference to an element of that generation of the page.
    void release(qint64 handle, int generation);
    void newGeneration();
    void flushReleases();

    // The host's object of each handle, and how many times the host received the handle since
    // it last released it.
    struct Known {
        std::weak_ptr<PageElement> element;
        int received = 0;
    };

    std::shared_ptr<PageCalls> calls_;
    std::shared_ptr<ContentRecord> record_;
    std::map<qint64, Known> elements_;
    // Releases go to the page together, ahead of the next call, so that a handle is never
    // released after the page handed it out again.
    QJsonArray pendingReleases_;
    QTimer releaseTimer_;
};

}  // namespace lumetto::engine
