#include "HtmlDataMapperItem.h"

#include "HtmlViewItem.h"
#include "RoleColumns.h"

#include "engine/binding/MapperView.h"

#include <QAbstractListModel>

namespace lumetto::quick {

HtmlDataMapperItem::HtmlDataMapperItem(QObject* parent) : QObject(parent), columns_(new RoleColumns(this)) {
    connect(&mapper_, &HtmlDataMapper::currentIndexChanged, this, &HtmlDataMapperItem::currentIndexChanged);
    connect(&mapper_, &HtmlDataMapper::submitPolicyChanged, this, &HtmlDataMapperItem::submitPolicyChanged);
    connect(&mapper_, &HtmlDataMapper::emptyIsNullChanged, this, &HtmlDataMapperItem::emptyIsNullChanged);
    connect(&mapper_, &HtmlDataMapper::editRefused, this, &HtmlDataMapperItem::editRefused);
}

HtmlDataMapperItem::~HtmlDataMapperItem() {
    engine::setMapperView(&mapper_, nullptr);
}

// What QML declared beside the mapper (a ListModel with its elements) may complete after it:
// the binding begins once all of it has.
void HtmlDataMapperItem::componentComplete() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            complete_ = true;
            bind();
        },
        Qt::QueuedConnection);
}

void HtmlDataMapperItem::setView(HtmlViewItem* view) {
    if (view == view_)
        return;
    view_ = view;
    emit viewChanged();
    bind();
}

void HtmlDataMapperItem::setModel(QAbstractItemModel* model) {
    if (model == model_)
        return;
    model_ = model;
    emit modelChanged();
    bind();
}

void HtmlDataMapperItem::setTemplateHtml(const QString& html) {
    if (html == templ_)
        return;
    templ_ = html;
    emit templateHtmlChanged();
    bind();
}

// A list model's roles are its columns; any other model's columns are its own.
void HtmlDataMapperItem::bind() {
    if (!complete_)
        return;
    engine::setMapperView(&mapper_, view_);
    if (!view_)
        return;
    QAbstractItemModel* shown = model_;
    if (qobject_cast<QAbstractListModel*>(model_)) {
        if (columns_->sourceModel() != model_)
            columns_->setSourceModel(model_);
        else
            columns_->readRoles();
        shown = columns_;
    }
    HtmlError failure;
    if (shown != mapper_.model())
        mapper_.setModel(shown, &failure);
    if (!failure.isValid() && !templ_.isEmpty() && templ_ != mapper_.templateHtml())
        mapper_.setTemplateHtml(templ_, &failure);
    if (failure.isValid())
        report(failure);
}

void HtmlDataMapperItem::report(const HtmlError& error) {
    error_ = error;
    emit errorOccurred(HtmlErrorValue(error));
}

}  // namespace lumetto::quick
