#include <lumetto/HtmlElement.h>

#include "engine/page/PageElement.h"
#include "engine/page/PageFailure.h"
#include "engine/page/PendingRead.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace lumetto {
namespace {

using engine::attempt;
using engine::PageCalls;
using engine::PageElement;
using engine::PageFailure;
using engine::PendingRead;

// The page's value as text; null and undefined are a null QString.
QString textOf(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

// A property's value; null and undefined are an invalid QVariant.
QVariant propertyOf(const QVariant& value) {
    return value.isNull() ? QVariant() : value;
}

HtmlError noElement(const char* call) {
    return HtmlError(HtmlError::ElementGone, QStringLiteral("there is no element"), QString::fromLatin1(call));
}

// Runs work on the element, reporting a failure, or the lack of an element, to error.
template <typename Work>
auto onElement(const std::shared_ptr<PageElement>& element, HtmlError* error, const char* call, Work&& work) {
    return attempt(error, call, [&] {
        if (!element)
            throw PageFailure{noElement(call)};
        return work(*element);
    });
}

// Asks the element, with ask(element, answer), and hands done result(value) from the event loop.
template <typename T, typename Ask, typename Result>
void readLater(const std::shared_ptr<PageElement>& element, const char* call, const QObject* context,
               typename PendingRead<T>::Done done, Ask ask, Result result) {
    const PendingRead<T> pending(context, std::move(done));
    if (!element)
        return pending(T(), noElement(call));
    ask(*element, [element, result, pending](const QVariant& value, const HtmlError& failure) {
        pending(failure.isValid() ? T() : T(result(value)), failure);
    });
}

// A read of op(args) on the element, asynchronous.
template <typename T, typename Result>
void requestLater(const std::shared_ptr<PageElement>& element, const char* call, const QString& op, const QJsonArray& args,
                  const QObject* context, typename PendingRead<T>::Done done, Result result) {
    readLater<T>(
        element, call, context, std::move(done),
        [call, op, args](PageElement& e, PageCalls::Answer answer) { e.request(call, op, args, std::move(answer)); }, result);
}

QString textOfValue(const QVariant& value) {
    return value.toString();
}

// A colour as the page states it: "rgb(1, 2, 3)", "rgba(1, 2, 3, 0.5)", "#010203" or a name.
QColor colourOf(const QString& text) {
    static const QRegularExpression functional(QStringLiteral("^rgba?\\(([^)]*)\\)$"));
    const QRegularExpressionMatch match = functional.match(text.trimmed());
    if (!match.hasMatch())
        return QColor::fromString(text.trimmed());
    const QStringList parts = match.captured(1).split(QLatin1Char(','));
    if (parts.size() < 3)
        return QColor();
    QColor colour(parts[0].trimmed().toInt(), parts[1].trimmed().toInt(), parts[2].trimmed().toInt());
    if (parts.size() > 3)
        colour.setAlphaF(parts[3].trimmed().toFloat());
    return colour;
}

}  // namespace

HtmlElement::HtmlElement() = default;
HtmlElement::~HtmlElement() = default;
HtmlElement::HtmlElement(const HtmlElement& other) = default;
HtmlElement& HtmlElement::operator=(const HtmlElement& other) = default;
HtmlElement::HtmlElement(std::shared_ptr<engine::PageElement> element) : d(std::move(element)) {}

size_t qHash(const HtmlElement& element, size_t seed) noexcept {
    return ::qHash(engine::PageElement::behind(element), seed);
}

bool HtmlElement::isNull() const {
    return !d || d->isGone();
}

bool HtmlElement::operator==(const HtmlElement& other) const {
    return d == other.d;
}

QString HtmlElement::tagName() const {
    return d ? d->tagName() : QString();
}

QString HtmlElement::id(HtmlError* error) const {
    constexpr const char* call = "HtmlElement::id";
    return onElement(d, error, call, [&](PageElement& e) { return e.call(call, QStringLiteral("id"), {}).toString(); });
}

QString HtmlElement::attribute(const QString& name, HtmlError* error) const {
    return onElement(d, error, "HtmlElement::attribute", [&](PageElement& e) { return textOf(e.attribute(name)); });
}

QVariant HtmlElement::property(const QString& name, HtmlError* error) const {
    constexpr const char* call = "HtmlElement::property";
    return onElement(d, error, call, [&](PageElement& e) { return propertyOf(e.call(call, QStringLiteral("member"), {name})); });
}

void HtmlElement::setInnerHtml(const QString& html, HtmlError* error) {
    onElement(d, error, "HtmlElement::setInnerHtml", [&](PageElement& e) { e.setInnerHtml(html); });
}

QString HtmlElement::styleProperty(const QString& name, HtmlError* error) const {
    constexpr const char* call = "HtmlElement::styleProperty";
    return onElement(d, error, call, [&](PageElement& e) { return e.call(call, QStringLiteral("styleProperty"), {name}).toString(); });
}

void HtmlElement::setStyleProperty(const QString& name, const QString& value, HtmlError* error) {
    constexpr const char* call = "HtmlElement::setStyleProperty";
    onElement(d, error, call, [&](PageElement& e) { e.send(call, QStringLiteral("setStyleProperty"), {name, value}); });
}

QColor HtmlElement::backgroundColor(HtmlError* error) const {
    return colourOf(styleProperty(QStringLiteral("background-color"), error));
}

void HtmlElement::setBackgroundColor(const QColor& colour, HtmlError* error) {
    const QString text = !colour.isValid() ? QString()
                         : colour.alpha() == 255
                             ? colour.name()
                             : QStringLiteral("rgba(%1, %2, %3, %4)").arg(colour.red()).arg(colour.green()).arg(colour.blue()).arg(colour.alphaF());
    setStyleProperty(QStringLiteral("background-color"), text, error);
}

void HtmlElement::id(const QObject* context, std::function<void(const QString&, const HtmlError&)> done) const {
    requestLater<QString>(d, "HtmlElement::id", QStringLiteral("id"), {}, context, std::move(done), textOfValue);
}

void HtmlElement::attribute(const QString& name, const QObject* context, std::function<void(const QString&, const HtmlError&)> done) const {
    readLater<QString>(
        d, "HtmlElement::attribute", context, std::move(done),
        [name](PageElement& e, PageCalls::Answer answer) { e.attribute(name, std::move(answer)); }, textOf);
}

void HtmlElement::property(const QString& name, const QObject* context, std::function<void(const QVariant&, const HtmlError&)> done) const {
    requestLater<QVariant>(d, "HtmlElement::property", QStringLiteral("member"), {name}, context, std::move(done), propertyOf);
}

void HtmlElement::innerHtml(const QObject* context, std::function<void(const QString&, const HtmlError&)> done) const {
    requestLater<QString>(d, "HtmlElement::property", QStringLiteral("member"), {QStringLiteral("innerHTML")}, context, std::move(done),
                          [](const QVariant& value) { return propertyOf(value).toString(); });
}

void HtmlElement::styleProperty(const QString& name, const QObject* context, std::function<void(const QString&, const HtmlError&)> done) const {
    requestLater<QString>(d, "HtmlElement::styleProperty", QStringLiteral("styleProperty"), {name}, context, std::move(done), textOfValue);
}

void HtmlElement::backgroundColor(const QObject* context, std::function<void(const QColor&, const HtmlError&)> done) const {
    requestLater<QColor>(d, "HtmlElement::styleProperty", QStringLiteral("styleProperty"), {QStringLiteral("background-color")}, context,
                         std::move(done), [](const QVariant& value) { return colourOf(value.toString()); });
}

}  // namespace lumetto
