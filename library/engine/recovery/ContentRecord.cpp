#include "engine/recovery/ContentRecord.h"

#include <algorithm>

namespace lumetto::engine {
namespace {

// Whether the element at path lies at or below the one at place.
bool within(const QJsonArray& path, const QJsonArray& place) {
    if (path.size() < place.size())
        return false;
    for (qsizetype i = 0; i < place.size(); ++i)
        if (path.at(i) != place.at(i))
            return false;
    return true;
}

template <typename Entries>
void dropWithin(Entries& entries, const QJsonArray& place) {
    entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const auto& e) { return within(e.first, place); }),
                  entries.end());
}

}  // namespace

void ContentRecord::bodySet(const QString& html, const QUrl& source) {
    body_ = html;
    source_ = source;
    writes_.clear();
    fields_.clear();
}

// New markup replaces what was written or entered below the element before.
void ContentRecord::innerHtmlSet(const QJsonArray& path, const QString& html) {
    dropWithin(writes_, path);
    dropWithin(fields_, path);
    writes_.emplace_back(path, html);
}

// The latest entry of a field counts, in the order made: choosing one radio button clears another.
void ContentRecord::fieldChanged(const QJsonArray& path, const QJsonObject& state) {
    fields_.erase(std::remove_if(fields_.begin(), fields_.end(), [&](const auto& e) { return e.first == path; }),
                  fields_.end());
    fields_.emplace_back(path, state);
}

std::vector<ContentRecord::Step> ContentRecord::replay() const {
    std::vector<Step> steps;
    if (!body_.isEmpty())
        steps.push_back({source_.isEmpty() ? QStringLiteral("setBody") : QStringLiteral("setDocument"), {body_}});
    for (const auto& [path, html] : writes_)
        steps.push_back({QStringLiteral("setInnerHTMLAt"), {path, html}});
    for (const auto& [path, state] : fields_)
        steps.push_back({QStringLiteral("setFieldAt"), {path, state}});
    return steps;
}

}  // namespace lumetto::engine
