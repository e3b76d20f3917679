#pragma once

#include <QModelIndex>
#include <QPersistentModelIndex>

#include <vector>

namespace lumetto::engine {

// The keys a bound page names a model's rows by. A key follows its row through inserts,
// removals, moves and sorts (a persistent index), so that what the page reports of a row
// reaches that row, whatever the model did meanwhile. The rows keyed last are kept: those the
// page holds, and a few thousand it held before, whose reports may still be on their way.
class RowKeys {
public:
    // The key of the model's row of index, made when the row has none.
    int keyOf(const QModelIndex& index);
    // The row a key names now; -1 when the row has gone or the key is unknown.
    int rowOf(int key) const;
    QPersistentModelIndex indexOf(int key) const;  ///< Invalid when the row has gone.
    void clear();
    // A reset of the model keeps no row's index: each key is held by its row's place across it,
    // as the current row is, so that a report on its way (an entry typed as a QSqlTableModel
    // selects its table anew after a submit) still reaches its row.
    void holdPlaces();
    void restorePlaces(const QAbstractItemModel* model);

private:
    struct Entry {
        int key;
        QPersistentModelIndex row;
        int heldRow = -1;
    };
    std::vector<Entry> entries_;  // the least recently keyed first
    int next_ = 1;
};

}  // namespace lumetto::engine
