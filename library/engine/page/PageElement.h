#pragma once

#include "engine/page/PageCalls.h"

#include <lumetto/HtmlElement.h>

#include <QJsonValue>

#include <functional>
#include <memory>
#include <optional>

namespace lumetto::engine {

class ContentRecord;

// An element of a view's page, held through its handle: what every HtmlElement copy of it
// shares. The page keeps the element alive while this object exists, also after the content it
// came from was replaced. Its end calls release.
class PageElement {
public:
    PageElement(std::shared_ptr<PageCalls> calls, std::shared_ptr<ContentRecord> record, int generation, qint64 handle,
                QString tagName, std::function<void()> release);
    ~PageElement();

    // The public handle of an element; null for none.
    static HtmlElement handleOf(std::shared_ptr<PageElement> element);
    // The element behind a public handle; null for none.
    static const PageElement* behind(const HtmlElement& handle);

    // Whether the page that held the element is gone: loaded anew since, or its control destroyed.
    bool isGone() const;
    const QString& tagName() const { return tagName_; }

    // A call or a write of op on this element: the page takes the handle ahead of args.
    QVariant call(const char* caller, const QString& op, QJsonArray args) const;
    // The asynchronous call, as PageCalls::request: a gone element fails it at once.
    void request(const char* caller, const QString& op, QJsonArray args, PageCalls::Answer answer) const;
    void send(const char* caller, const QString& op, QJsonArray args) const;
    void setInnerHtml(const QString& html);

    // The name and value the page reported with the element, current until the epoch passes.
    void remember(const QJsonValue& name, const QJsonValue& value, quint64 epoch);
    // The attribute, answered from what the page reported while nothing can have changed it.
    QVariant attribute(const QString& name) const;
    void attribute(const QString& name, PageCalls::Answer answer) const;

private:
    // ElementGone once the page that held the element is gone; else no error.
    HtmlError gone(const char* caller) const;
    // The attribute as the page reported it with the element, while nothing can have changed it.
    std::optional<QVariant> remembered(const QString& name) const;

    std::shared_ptr<PageCalls> calls_;
    std::shared_ptr<ContentRecord> record_;  // what the host wrote, to show again after a reload
    int generation_;
    qint64 handle_;
    std::function<void()> release_;
    QString tagName_;  // an element's tag never changes

    quint64 snapshotEpoch_ = 0;
    bool hasSnapshot_ = false;
    QJsonValue name_;
    QJsonValue value_;
};

}  // namespace lumetto::engine
