#include "HtmlDataMapperItem.h"

#include "HtmlViewItem.h"
#include "RoleColumns.h"

#include "engine/binding/MapperView.h"

#include <QAbstractListModel>

namespace lumetto::quick {

HtmlDataMapperItem::HtmlDataMapperItem(QObject* parent) : QObject(parent), columns_(new RoleColumns(this)) {
    // An empty ListModel has no roles until its first row comes: the template binds then.
    connect(columns_, &QAbstractItemModel::modelReset, this, &HtmlDataMapperItem::bind);
    connect(&mapper_, &HtmlDataMapper::currentIndexChanged, this, &HtmlDataMapperItem::currentIndexChanged);
    connect(&mapper_, &HtmlDataMapper::submitPolicyChanged, this, &HtmlDataMapperItem::submitPolicyChanged);
    connect(&mapper_, &HtmlDataMapper::emptyIsNullChanged, this, &HtmlDataMapperItem::emptyIsNullChanged);
    connect(&mapper_, &HtmlDataMapper::editRefused, this, &HtmlDataMapperItem::editRefused);
}

HtmlDataMapperItem::~HtmlDataMapperItem() {
    engine::setMapperView(&mapper_, nullptr);
}

void HtmlDataMapperItem::componentComplete() {
    complete_ = true;
    bind();
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

// A list model's roles are its columns; any other model's columns are its own. A list without
// roles yet names no column: its template waits for them.
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
        if (columns_->columnCount() == 0)
            return;
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
