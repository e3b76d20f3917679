#include <lumetto/HtmlDocument.h>

#include "engine/page/ElementHandles.h"
#include "engine/page/PageCalls.h"
#include "engine/page/PageElement.h"
#include "engine/page/PageFailure.h"
#include "engine/page/PendingRead.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace lumetto {
namespace {

using engine::attempt;
using engine::ElementHandles;
using engine::PageCalls;
using engine::PageElement;
using engine::PageFailure;
using engine::PendingRead;

// One read of the document: the library's call, the page's operation, and how the page's value
// becomes the result.
template <typename T>
struct Read {
    const char* call;
    const char* op;
    T (*result)(ElementHandles& handles, const QVariant& value);
};

HtmlError noView(const char* call) {
    return HtmlError(HtmlError::PageFailed, QStringLiteral("the document is of no view"), QString::fromLatin1(call));
}

// The read, waiting for the page; a failure, or the lack of a view, goes to error.
template <typename T>
T readNow(const std::shared_ptr<ElementHandles>& handles, const Read<T>& read, HtmlError* error) {
    return attempt(error, read.call, [&] {
        if (!handles)
            throw PageFailure{noView(read.call)};
        return read.result(*handles, handles->calls().call(read.call, QString::fromLatin1(read.op)));
    });
}

// The read, its result handed to done from the event loop.
template <typename T>
void readLater(const std::shared_ptr<ElementHandles>& handles, const Read<T>& read, const QObject* context,
               typename PendingRead<T>::Done done) {
    const PendingRead<T> pending(context, std::move(done));
    if (!handles)
        return pending(T(), noView(read.call));
    handles->calls().request(read.call, QString::fromLatin1(read.op), {},
                             [handles, result = read.result, pending](const QVariant& value, const HtmlError& failure) {
                                 pending(failure.isValid() ? T() : result(*handles, value), failure);
                             });
}

const Read<HtmlElement> Body{"HtmlDocument::body", "body", [](ElementHandles& handles, const QVariant& value) {
                                 return PageElement::handleOf(handles.elementFor(value));
                             }};

const Read<QList<HtmlElement>> Elements{"HtmlDocument::elements", "all", [](ElementHandles& handles, const QVariant& value) {
    const QJsonArray rows = QJsonDocument::fromJson(value.toString().toUtf8()).array();
    QList<HtmlElement> elements;
    elements.reserve(rows.size());
    for (const QJsonValue& row : rows) {
        const QJsonArray fields = row.toArray();  // handle, tag, name, value
        auto element = handles.elementFor(fields.at(0).toInteger(), fields.at(1).toString());
        element->remember(fields.at(2), fields.at(3), handles.calls().epoch());
        elements.append(PageElement::handleOf(std::move(element)));
    }
    return elements;
}};

const Read<QString> SelectedText{"HtmlDocument::selectedText", "createRange", [](ElementHandles&, const QVariant& value) {
                                     return value.toMap().value(QStringLiteral("text")).toString();
                                 }};

const Read<bool> HasSelectedControls{"HtmlDocument::hasSelectedControls", "createRange", [](ElementHandles&, const QVariant& value) {
                                         return value.toMap().value(QStringLiteral("controls")).toBool();
                                     }};

QString text(ElementHandles&, const QVariant& value) {
    return value.toString();
}

const Read<QString> SelectedHtml{"HtmlDocument::selectedHtml", "selectionHtml", text};
const Read<QString> Source{"HtmlDocument::source", "source", text};

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
    return readNow(d, Body, error);
}

QList<HtmlElement> HtmlDocument::elements(HtmlError* error) const {
    return readNow(d, Elements, error);
}

QString HtmlDocument::selectedText(HtmlError* error) const {
    return readNow(d, SelectedText, error);
}

bool HtmlDocument::hasSelectedControls(HtmlError* error) const {
    return readNow(d, HasSelectedControls, error);
}

QString HtmlDocument::selectedHtml(HtmlError* error) const {
    return readNow(d, SelectedHtml, error);
}

QString HtmlDocument::source(HtmlError* error) const {
    return readNow(d, Source, error);
}

void HtmlDocument::body(const QObject* context, std::function<void(const HtmlElement&, const HtmlError&)> done) const {
    readLater(d, Body, context, std::move(done));
}

void HtmlDocument::elements(const QObject* context, std::function<void(const QList<HtmlElement>&, const HtmlError&)> done) const {
    readLater(d, Elements, context, std::move(done));
}

void HtmlDocument::selectedText(const QObject* context, std::function<void(const QString&, const HtmlError&)> done) const {
    readLater(d, SelectedText, context, std::move(done));
}

void HtmlDocument::hasSelectedControls(const QObject* context, std::function<void(bool, const HtmlError&)> done) const {
    readLater(d, HasSelectedControls, context, std::move(done));
}

void HtmlDocument::selectedHtml(const QObject* context, std::function<void(const QString&, const HtmlError&)> done) const {
    readLater(d, SelectedHtml, context, std::move(done));
}

void HtmlDocument::source(const QObject* context, std::function<void(const QString&, const HtmlError&)> done) const {
    readLater(d, Source, context, std::move(done));
}

}  // namespace lumetto
