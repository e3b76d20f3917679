#pragma once

#include <QVariant>

#include <optional>

class QAbstractItemModel;
class QModelIndex;

namespace lumetto::engine {

// What a data binding asks a model about storing the values handed to it. A model that caches
// its changes (QSqlTableModel) stores them with its submitAll() slot and drops them with
// revertAll(); another model is asked through QAbstractItemModel::submit() and revert().

// Has the model store the changes handed to it; false when it could not.
bool storeChanges(QAbstractItemModel* model);
// Has the model drop the changes handed to it and not yet stored.
void dropChanges(QAbstractItemModel* model);
// Whether the model still holds a change of index that it has not stored: a QSqlTableModel
// tells (it stores a row as another row is edited, or as soon as a value is set, by its edit
// strategy); of another model that cannot tell, every change handed is held.
bool holdsUnstored(const QAbstractItemModel* model, const QModelIndex& index);
// NULL as the cell at index takes it: a null QVariant of its column's type; none where the
// column is declared NOT NULL (QSqlTableModel).
std::optional<QVariant> nullFor(const QAbstractItemModel* model, const QModelIndex& index);

}  // namespace lumetto::engine
