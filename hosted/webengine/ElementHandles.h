#pragma once

#include <QJsonArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <map>
#include <memory>

namespace lumetto {

class PageCalls;
class WebElement;

// The elements of one control's page that the host holds, by the handle the page gave each.
// The page keeps an element alive until the host has released its last reference to it.
class ElementHandles : public QObject, public std::enable_shared_from_this<ElementHandles> {
    Q_OBJECT
public:
    explicit ElementHandles(std::shared_ptr<PageCalls> calls);

    PageCalls& calls() const { return *calls_; }

    // The host object of the element a page reference ({h, tag}) names; the same element
    // gives the same object for as long as the host holds it. Null for a null reference.
    std::shared_ptr<WebElement> elementFor(const QVariant& ref);
    std::shared_ptr<WebElement> elementFor(qint64 handle, const QString& tagName);

private:
    // The host released its last reference to an element of that generation of the page.
    void release(qint64 handle, int generation);
    void newGeneration();
    void flushReleases();

    std::shared_ptr<PageCalls> calls_;
    std::map<qint64, std::weak_ptr<WebElement>> elements_;
    // Releases go to the page together, ahead of the next call, so that a handle is never
    // released after the page handed it out again.
    QJsonArray pendingReleases_;
    QTimer releaseTimer_;
};

}  // namespace lumetto
