#pragma once

#include <lumetto/DocumentObjects.h>

#include <QJsonValue>

#include <functional>
#include <memory>

namespace lumetto {

class ContentRecord;
class PageCalls;

// An element of a control's page, held through its handle. The page keeps the element alive
// while this object exists, also after the content it came from was replaced. An element of a
// page that has since been loaded anew (its page process ended) is gone: its style still takes
// reads and writes, without effect, like that of replaced content. Its end calls release.
class WebElement : public lumetto::IHTMLElement, public std::enable_shared_from_this<WebElement> {
public:
    WebElement(std::shared_ptr<PageCalls> calls, std::shared_ptr<ContentRecord> record, int generation,
               qint64 handle, QString tagName, std::function<void()> release);
    ~WebElement() override;

    QString tagName() override;
    QString id() override;
    std::shared_ptr<lumetto::IHTMLStyle> style() override;
    void setInnerHTML(const QString& html) override;
    lumetto::Variant getAttribute(const QString& name) override;
    lumetto::Variant readMember(const QString& name) override;

    // The name and value the page reported with the element, current until the epoch passes.
    void remember(const QJsonValue& name, const QJsonValue& value, quint64 epoch);

    // Whether the page that held the element has been loaded anew since.
    bool isGone() const;
    qint64 handle() const { return handle_; }
    PageCalls& calls() const { return *calls_; }

private:
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

// The inline style of one element.
class WebStyle : public lumetto::IHTMLStyle {
public:
    explicit WebStyle(std::shared_ptr<WebElement> element);

    lumetto::Variant backgroundColor() override;
    void setBackgroundColor(const lumetto::Variant& colour) override;

private:
    std::shared_ptr<WebElement> element_;  // keeps the element's handle alive
};

}  // namespace lumetto
