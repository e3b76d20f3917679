#pragma once

#include <lumetto/HtmlError.h>

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace lumetto::quick {

// A failure of the view or of a read, as QML reads it (`error.description`); `type` is one of
// the values of HtmlError's Type (HtmlError.PageFailed, ...).
class HtmlErrorValue {
    Q_GADGET
    QML_VALUE_TYPE(htmlError)
    Q_PROPERTY(bool valid READ valid FINAL)
    Q_PROPERTY(int type READ type FINAL)
    Q_PROPERTY(QString description READ description FINAL)
    Q_PROPERTY(QString call READ call FINAL)

public:
    HtmlErrorValue() = default;
    explicit HtmlErrorValue(const HtmlError& error) : error_(error) {}

    bool valid() const { return error_.isValid(); }
    int type() const { return error_.type(); }
    QString description() const { return error_.description(); }
    QString call() const { return error_.call(); }
    Q_INVOKABLE QString toString() const { return error_.description(); }

private:
    HtmlError error_;
};

// The kinds of failure, for QML (HtmlError.ElementGone, ...).
namespace HtmlErrorForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(lumetto::HtmlError)
QML_NAMED_ELEMENT(HtmlError)
}  // namespace HtmlErrorForeign

}  // namespace lumetto::quick
