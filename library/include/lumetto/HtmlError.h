#pragma once

#include <lumetto/Global.h>

#include <QMetaType>
#include <QString>

/// \file HtmlError.h
/// \brief How a call of the control says that it failed.

namespace lumetto {

/// The failure of a call. No call of the library throws: a call that can fail takes an optional
/// `HtmlError* error` as its last argument. When the call fails it returns a null or empty value
/// (a null QString, a null HtmlElement, an empty list, false) and fills `*error`, unless `*error`
/// already holds a failure; a call that succeeds leaves `*error` as it was. So one check after
/// a series of calls finds the first that failed. Without `error`, a failure is written to Qt's
/// log as a warning; either way the view stays as it was. A failure that no call can fail with
/// comes as the signal HtmlView::failed().
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

    HtmlError() = default;  ///< No error.
    /// A failure of a kind, with the text a user reads and the call that failed.
    HtmlError(Type type, QString description, QString call = {})
        : type_(type), description_(std::move(description)), call_(std::move(call)) {}

    /// Whether this is a failure, not NoError.
    bool isValid() const { return type_ != NoError; }
    /// What kind of failure it is.
    Type type() const { return type_; }
    /// Why the call failed, as a sentence fragment a user can read ("the display engine's page
    /// process has ended").
    QString description() const { return description_; }
    /// The call that failed, as it is named in the library's API ("setBodyHtml",
    /// "HtmlElement::setInnerHtml"); empty where no single call failed.
    QString call() const { return call_; }

private:
    Type type_ = NoError;
    QString description_;
    QString call_;
};

}  // namespace lumetto

Q_DECLARE_METATYPE(lumetto::HtmlError)
