#pragma once

#include <lumetto/Global.h>

#include <QMetaType>
#include <QSharedDataPointer>
#include <QString>

/// \file HtmlError.h
/// \brief How a call of the control says that it failed.

namespace lumetto::engine {
class HtmlErrorData;
}  // namespace lumetto::engine

QT_DECLARE_QSDP_SPECIALIZATION_DTOR_WITH_EXPORT(lumetto::engine::HtmlErrorData, LUMETTO_CONTROL_EXPORT)

namespace lumetto {

/// The failure of a call: an implicitly shared value, cheap to copy. No call of the library
/// throws. A read, and a write of an element, takes an optional `HtmlError* error` as its last
/// argument. When the call fails it returns a null or empty value (a null QString, a null
/// HtmlElement, an empty list, false) and fills `*error`, unless `*error` already holds a
/// failure; a call that succeeds leaves `*error` as it was. So one check after a series of calls
/// finds the first that failed. Without `error`, a failure is written to Qt's log as a warning;
/// either way the view stays as it was. The asynchronous form of a read hands its callback an
/// HtmlError instead. A property write of HtmlView that fails emits HtmlView::errorOccurred(),
/// as does a failure that no call can fail with.
///
/// \code
/// lumetto::HtmlError error;
/// const QString source = view->document().source(&error);
/// if (error.isValid()) QMessageBox::warning(this, tr("Source"), error.description());
/// \endcode
class LUMETTO_CONTROL_EXPORT HtmlError {
    Q_GADGET
public:
    /// What kind of failure it is.
    enum Type {
        NoError,         ///< the call succeeded
        PageFailed,      ///< the page could not complete the call: its process ended or does not answer
        ElementGone,     ///< the element no longer exists in the page
        NoSuchProperty,  ///< the element has no property of that name
        /// HtmlView::setSource() was given a URL it does not show: not a local file or Qt resource
        /// (`http:`, `data:`, ...), or a file that does not exist, is a folder or cannot be read
        SourceUnreadable,
        NoSuchColumn,    ///< a template names a column the model lacks (HtmlDataMapper)
    };
    Q_ENUM(Type)

    HtmlError() noexcept;  ///< No error.
    /// A failure of a kind, with the text a user reads and the call that failed.
    HtmlError(Type type, const QString& description, const QString& call = {});
    ~HtmlError();
    HtmlError(const HtmlError& other);             ///< A copy of other, sharing its data.
    HtmlError& operator=(const HtmlError& other);  ///< Makes this a copy of other.
    HtmlError(HtmlError&& other) noexcept = default;  ///< Takes other's data; other is left empty.
    QT_MOVE_ASSIGNMENT_OPERATOR_IMPL_VIA_PURE_SWAP(HtmlError)
    /// Swaps this error with other; never fails.
    void swap(HtmlError& other) noexcept { d.swap(other.d); }

    /// Whether this is a failure, not NoError.
    bool isValid() const;
    /// What kind of failure it is.
    Type type() const;
    /// Why the call failed, as a sentence fragment a user can read ("the display engine's page
    /// process has ended").
    QString description() const;
    /// The call that failed, as it is named in the library's API ("setBodyHtml",
    /// "HtmlElement::setInnerHtml"); empty where no single call failed.
    QString call() const;

private:
    QSharedDataPointer<engine::HtmlErrorData> d;  // null for NoError
};

}  // namespace lumetto

Q_DECLARE_SHARED(lumetto::HtmlError)

Q_DECLARE_METATYPE(lumetto::HtmlError)
