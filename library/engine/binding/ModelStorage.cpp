#include "engine/binding/ModelStorage.h"

#include <QAbstractItemModel>
#include <QSqlDatabase>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlTableModel>

namespace lumetto::engine {

bool storeChanges(QAbstractItemModel* model) {
    bool stored = true;
    if (model->metaObject()->indexOfMethod("submitAll()") >= 0)
        QMetaObject::invokeMethod(model, "submitAll", Q_RETURN_ARG(bool, stored));
    else
        stored = model->submit();
    return stored;
}

void dropChanges(QAbstractItemModel* model) {
    if (model->metaObject()->indexOfMethod("revertAll()") >= 0)
        QMetaObject::invokeMethod(model, "revertAll");
    else
        model->revert();
}

bool holdsUnstored(const QAbstractItemModel* model, const QModelIndex& index) {
    if (const auto* table = qobject_cast<const QSqlTableModel*>(model))
        return table->isDirty(index);
    return true;
}

std::optional<QVariant> nullFor(const QAbstractItemModel* model, const QModelIndex& index) {
    if (const auto* table = qobject_cast<const QSqlTableModel*>(model)) {
        // The table's own record tells NOT NULL; the model's tells which field the column shows.
        const QSqlField field = table->database().record(table->tableName()).field(table->record().fieldName(index.column()));
        if (field.requiredStatus() == QSqlField::Required)
            return std::nullopt;
        return QVariant(field.metaType());
    }
    return QVariant(model->data(index, Qt::EditRole).metaType());
}

}  // namespace lumetto::engine
