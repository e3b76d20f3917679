#include "engine/page/ElementHandles.h"

#include "engine/page/PageCalls.h"
#include "engine/page/PageElement.h"

namespace lumetto::engine {

ElementHandles::ElementHandles(std::shared_ptr<PageCalls> calls, std::shared_ptr<ContentRecord> record)
    : calls_(std::move(calls)), record_(std::move(record)) {
    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(0);
    connect(&releaseTimer_, &QTimer::timeout, this, &ElementHandles::flushReleases);
    connect(calls_.get(), &PageCalls::aboutToCall, this, &ElementHandles::flushReleases);
    connect(calls_.get(), &PageCalls::newGeneration, this, &ElementHandles::newGeneration);
}

std::shared_ptr<PageElement> ElementHandles::elementFor(const QVariant& ref) {
    const QVariantMap map = ref.toMap();
    if (map.isEmpty())
        return nullptr;
    return elementFor(map.value(QStringLiteral("h")).toLongLong(), map.value(QStringLiteral("tag")).toString());
}

std::shared_ptr<PageElement> ElementHandles::elementFor(qint64 handle, const QString& tagName) {
    Known& known = elements_[handle];
    ++known.received;
    auto element = known.element.lock();
    if (!element) {
        const int generation = calls_->generation();
        element = std::make_shared<PageElement>(calls_, record_, generation, handle, tagName,
                                               [self = shared_from_this(), handle, generation] {
                                                   self->release(handle, generation);
                                               });
        known.element = element;
    }
    return element;
}

void ElementHandles::release(qint64 handle, int generation) {
    if (generation != calls_->generation())
        return;  // that page is gone, and its handles with it
    const auto known = elements_.find(handle);
    if (known == elements_.end())
        return;
    pendingReleases_.append(QJsonArray{handle, known->second.received});
    elements_.erase(known);
    releaseTimer_.start();
}

void ElementHandles::newGeneration() {
    elements_.clear();
    pendingReleases_ = QJsonArray();
}

void ElementHandles::flushReleases() {
    if (pendingReleases_.isEmpty())
        return;
    calls_->post(QStringLiteral("release"), QJsonArray{pendingReleases_});
    pendingReleases_ = QJsonArray();
}

}  // namespace lumetto::engine
