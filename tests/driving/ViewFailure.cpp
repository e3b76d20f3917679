#include "driving/ViewFailure.h"

#include <QSignalSpy>

lumetto::HtmlError failureOf(lumetto::HtmlView& view, const std::function<void()>& write) {
    QSignalSpy reported(&view, &lumetto::HtmlView::errorOccurred);
    write();
    return reported.isEmpty() ? lumetto::HtmlError() : reported.last().at(0).value<lumetto::HtmlError>();
}
