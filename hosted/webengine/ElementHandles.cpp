#include "hosted/webengine/ElementHandles.h"

#include "hosted/webengine/PageCalls.h"
#include "hosted/webengine/WebElement.h"

namespace lumetto {

ElementHandles::ElementHandles(std::shared_ptr<PageCalls> calls) : calls_(std::move(calls)) {
    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(0);
    connect(&releaseTimer_, &QTimer::timeout, this, &ElementHandles::flushReleases);
    connect(calls_.get(), &PageCalls::aboutToCall, this, &ElementHandles::flushReleases);
    connect(calls_.get(), &PageCalls::newGeneration, this, &ElementHandles::newGeneration);
}

std::shared_ptr<WebElement> ElementHandles::elementFor(const QVariant& ref) {
    const QVariantMap map = ref.toMap();
    if (map.isEmpty())
        return nullptr;
    return elementFor(map.value(QStringLiteral("h")).toLongLong(), map.value(QStringLiteral("tag")).toString());
}

std::shared_ptr<WebElement> ElementHandles::elementFor(qint64 handle, const QString& tagName) {
    std::weak_ptr<WebElement>& known = elements_[handle];
    auto element = known.lock();
    if (!element) {
        const int generation = calls_->generation();
        element = std::make_shared<WebElement>(calls_, generation, handle, tagName,
                                               [self = shared_from_this(), handle, generation] {
                                                   self->release(handle, generation);
                                               });
        known = element;
    }
    return element;
}

void ElementHandles::release(qint64 handle, int generation) {
    if (generation != calls_->generation())
        return;  // that page is gone, and its handles with it
    elements_.erase(handle);
    pendingReleases_.append(handle);
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

}  // namespace lumetto
