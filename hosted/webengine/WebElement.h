#pragma once

#include "hosted/DocumentObjects.h"

#include <memory>

namespace lumetto {

class PageBridge;

// An element of a control's page, held through its handle. The page keeps the element alive
// while this object exists, also after the content it came from was replaced.
class WebElement : public hosted::IHTMLElement, public std::enable_shared_from_this<WebElement> {
public:
    WebElement(std::shared_ptr<PageBridge> bridge, qint64 handle, QString tagName);
    ~WebElement() override;

    QString tagName() override;
    QString id() override;
    std::shared_ptr<hosted::IHTMLStyle> style() override;
    void setInnerHTML(const QString& html) override;
    hosted::Variant getAttribute(const QString& name) override;
    hosted::Variant readMember(const QString& name) override;

private:
    std::shared_ptr<PageBridge> bridge_;
    qint64 handle_;
    QString tagName_;  // an element's tag never changes
};

// The inline style of one element.
class WebStyle : public hosted::IHTMLStyle {
public:
    WebStyle(std::shared_ptr<PageBridge> bridge, std::shared_ptr<WebElement> element, qint64 handle);

    hosted::Variant backgroundColor() override;
    void setBackgroundColor(const hosted::Variant& colour) override;

private:
    std::shared_ptr<PageBridge> bridge_;
    std::shared_ptr<WebElement> element_;  // keeps the element's handle alive
    qint64 handle_;
};

}  // namespace lumetto
