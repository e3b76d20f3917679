#include "engine/page/PageFailure.h"

#include "engine/view/Logging.h"

namespace lumetto::engine {

PageFailure pageFailure(const char* call, const QString& reason, int pageCode) {
    const auto type = pageCode == HtmlError::ElementGone || pageCode == HtmlError::NoSuchProperty
                          ? static_cast<HtmlError::Type>(pageCode)
                          : HtmlError::PageFailed;
    return {HtmlError(type, reason, QString::fromLatin1(call))};
}

void reportFailure(HtmlError* error, const HtmlError& failure) {
    if (error) {
        if (!error->isValid())
            *error = failure;  // the first failure of a series of calls is the one to tell
    }
    else
        qCWarning(failure.call().startsWith(QLatin1String("HtmlDataMapper::")) ? bindingLog : viewLog,
                  "%s failed: %s", qPrintable(failure.call()), qPrintable(failure.description()));
}

}  // namespace lumetto::engine
