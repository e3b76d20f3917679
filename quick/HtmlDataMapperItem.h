#pragma once

#include "HtmlErrorValue.h"
#include "HtmlViewItem.h"

#include <lumetto/HtmlDataMapper.h>

#include <QAbstractItemModel>
#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QtQml/qqmlregistration.h>

namespace lumetto::quick {

class RoleColumns;

// Binds a model to an HtmlView, `HtmlDataMapper` of `import Lumetto`: the widget's
// lumetto::HtmlDataMapper, with its templates, moves, submit policy and refusals. The model is
// a C++ QAbstractItemModel (a QSqlTableModel), whose columns the template names by their header
// text, or a list model (a QML ListModel), whose roles it names as columns. The view, model and
// template bind together once the mapper is complete, whatever the order QML sets them in, and
// a ListModel that has no rows yet binds once its first row comes; a failure is reported by
// errorOccurred() and #error.
class HtmlDataMapperItem : public QObject, public QQmlParserStatus {
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_NAMED_ELEMENT(HtmlDataMapper)
    Q_PROPERTY(lumetto::quick::HtmlViewItem* view READ view WRITE setView NOTIFY viewChanged FINAL)
    Q_PROPERTY(QAbstractItemModel* model READ model WRITE setModel NOTIFY modelChanged FINAL)
    Q_PROPERTY(QString templateHtml READ templateHtml WRITE setTemplateHtml NOTIFY templateHtmlChanged FINAL)
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged FINAL)
    Q_PROPERTY(SubmitPolicy submitPolicy READ submitPolicy WRITE setSubmitPolicy NOTIFY submitPolicyChanged FINAL)
    Q_PROPERTY(bool emptyIsNull READ emptyIsNull WRITE setEmptyIsNull NOTIFY emptyIsNullChanged FINAL)
    Q_PROPERTY(lumetto::quick::HtmlErrorValue error READ error NOTIFY errorOccurred FINAL)

public:
    /// When the user's edits reach the model, as the widget's HtmlDataMapper::SubmitPolicy.
    enum SubmitPolicy {
        AutoSubmit = HtmlDataMapper::AutoSubmit,
        ManualSubmit = HtmlDataMapper::ManualSubmit,
    };
    Q_ENUM(SubmitPolicy)

    explicit HtmlDataMapperItem(QObject* parent = nullptr);
    ~HtmlDataMapperItem() override;

    HtmlViewItem* view() const { return view_; }
    void setView(HtmlViewItem* view);
    QAbstractItemModel* model() const { return model_; }
    void setModel(QAbstractItemModel* model);
    QString templateHtml() const { return templ_; }
    void setTemplateHtml(const QString& html);
    int currentIndex() const { return mapper_.currentIndex(); }
    void setCurrentIndex(int row) { mapper_.setCurrentIndex(row); }
    SubmitPolicy submitPolicy() const { return static_cast<SubmitPolicy>(mapper_.submitPolicy()); }
    void setSubmitPolicy(SubmitPolicy policy) { mapper_.setSubmitPolicy(static_cast<HtmlDataMapper::SubmitPolicy>(policy)); }
    bool emptyIsNull() const { return mapper_.emptyIsNull(); }
    void setEmptyIsNull(bool null) { mapper_.setEmptyIsNull(null); }
    HtmlErrorValue error() const { return HtmlErrorValue(error_); }

    Q_INVOKABLE void toFirst() { mapper_.toFirst(); }
    Q_INVOKABLE void toPrevious() { mapper_.toPrevious(); }
    Q_INVOKABLE void toNext() { mapper_.toNext(); }
    Q_INVOKABLE void toLast() { mapper_.toLast(); }
    /// Hands the model the edits kept (ManualSubmit); false when it refused one (editRefused()).
    Q_INVOKABLE bool submit() { return mapper_.submit(); }
    Q_INVOKABLE void revert() { mapper_.revert(); }

    void classBegin() override {}
    void componentComplete() override;

signals:
    void viewChanged();
    void modelChanged();
    void templateHtmlChanged();
    void currentIndexChanged(int row);
    void submitPolicyChanged();
    void emptyIsNullChanged(bool null);
    /// The model refused the value the user entered for column of row, for reason.
    void editRefused(int row, const QString& column, const QString& reason);
    void errorOccurred(lumetto::quick::HtmlErrorValue error);

private:
    // Binds what is set, in order: the view, the model, the template.
    void bind();
    void report(const HtmlError& error);

    HtmlDataMapper mapper_;
    QPointer<HtmlViewItem> view_;
    QPointer<QAbstractItemModel> model_;
    RoleColumns* columns_;
    QString templ_;
    HtmlError error_;
    bool complete_ = false;
};

}  // namespace lumetto::quick
