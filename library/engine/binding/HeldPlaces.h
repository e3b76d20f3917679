#pragma once

#include <QAbstractItemModel>

namespace lumetto::engine {

// A reset of a model keeps no persistent index. What a binding keeps by a row's index (a key the
// page names the row by, an entry in the row's fields) is held by the row's place across it, as
// the current row is: each entry has a persistent index `row` and an int `heldRow`.

// Before the reset: each entry's row as it is now.
template <typename Entries>
void holdPlaces(Entries& entries) {
    for (auto& entry : entries)
        entry.heldRow = entry.row.isValid() ? entry.row.row() : -1;
}

// After the reset: the row at the same place, where the model still has one.
template <typename Entries>
void restorePlaces(Entries& entries, const QAbstractItemModel* model) {
    for (auto& entry : entries)
        if (!entry.row.isValid() && entry.heldRow >= 0 && entry.heldRow < model->rowCount())
            entry.row = model->index(entry.heldRow, 0);
}

}  // namespace lumetto::engine
