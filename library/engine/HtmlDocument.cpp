#include <lumetto/HtmlDocument.h>

#include "engine/ElementHandles.h"
#include "engine/PageCalls.h"
#include "engine/PageElement.h"
#include "engine/PageFailure.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace lumetto {
namespace {

using engine::attempt;
using engine::ElementHandles;
using engine::PageElement;
using engine::PageFailure;

// Runs work with the view's element handles, reporting a failure, or the lack of a view, to error.
template <typename Work>
auto onPage(const std::shared_ptr<ElementHandles>& handles, HtmlError* error, const char* call, Work&& work) {
    return attempt(error, call, [&] {
        if (!handles)
            throw PageFailure{HtmlError(HtmlError::PageFailed, QStringLiteral("the document is of no view"), QString::fromLatin1(call))};
        return work(*handles);
    });
}

}  // namespace

HtmlDocument::HtmlDocument() = default;
HtmlDocument::~HtmlDocument() = default;
HtmlDocument::HtmlDocument(const HtmlDocument& other) = default;
HtmlDocument& HtmlDocument::operator=(const HtmlDocument& other) = default;
HtmlDocument::HtmlDocument(std::shared_ptr<engine::ElementHandles> handles) : d(std::move(handles)) {}

bool HtmlDocument::isNull() const {
    return !d;
}

HtmlElement HtmlDocument::body(HtmlError* error) const {
    constexpr const char* call = "HtmlDocument::body";
    return onPage(d, error, call, [&](ElementHandles& handles) {
        return PageElement::handleOf(handles.elementFor(handles.calls().call(call, QStringLiteral("body"))));
    });
}

QList<HtmlElement> HtmlDocument::elements(HtmlError* error) const {
    constexpr const char* call = "HtmlDocument::elements";
    return onPage(d, error, call, [&](ElementHandles& handles) {
        const QJsonArray rows = QJsonDocument::fromJson(handles.calls().call(call, QStringLiteral("all")).toString().toUtf8()).array();
        QList<HtmlElement> elements;
        elements.reserve(rows.size());
        for (const QJsonValue& row : rows) {
            const QJsonArray fields = row.toArray();  // handle, tag, name, value
            auto element = handles.elementFor(fields.at(0).toInteger(), fields.at(1).toString());
            element->remember(fields.at(2), fields.at(3), handles.calls().epoch());
            elements.append(PageElement::handleOf(std::move(element)));
        }
        return elements;
    });
}

QString HtmlDocument::selectedText(HtmlError* error) const {
    constexpr const char* call = "HtmlDocument::selectedText";
    return onPage(d, error, call, [&](ElementHandles& handles) {
        return handles.calls().call(call, QStringLiteral("createRange")).toMap().value(QStringLiteral("text")).toString();
    });
}

bool HtmlDocument::hasSelectedControls(HtmlError* error) const {
    constexpr const char* call = "HtmlDocument::hasSelectedControls";
    return onPage(d, error, call, [&](ElementHandles& handles) {
        return handles.calls().call(call, QStringLiteral("createRange")).toMap().value(QStringLiteral("controls")).toBool();
    });
}

QString HtmlDocument::selectedHtml(HtmlError* error) const {
    constexpr const char* call = "HtmlDocument::selectedHtml";
    return onPage(d, error, call, [&](ElementHandles& handles) { return handles.calls().call(call, QStringLiteral("selectionHtml")).toString(); });
}

QString HtmlDocument::source(HtmlError* error) const {
    constexpr const char* call = "HtmlDocument::source";
    return onPage(d, error, call, [&](ElementHandles& handles) { return handles.calls().call(call, QStringLiteral("source")).toString(); });
}

}  // namespace lumetto
