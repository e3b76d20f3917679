#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QPersistentModelIndex>

#include <vector>

namespace lumetto::engine {

// What the user typed or chose in the fields of a repeated row that the template binds to no
// column, kept by the row's persistent index and the field's place in the row: the page drops a
// row that leaves its window, and a page loaded anew holds none, so each row the page is sent
// takes its entries along. The entries of a row the model removed go with it.
class RowEntries {
public:
    void entered(const QPersistentModelIndex& row, int place, const QJsonObject& state);
    // The entries of the row, as [place, state] in the order made.
    QJsonArray of(int row) const;
    void clear();
    // A reset of the model keeps no row's index: the entries are held by their rows' places
    // across it.
    void holdPlaces();
    void restorePlaces(const QAbstractItemModel* model);

private:
    struct Entry {
        QPersistentModelIndex row;
        int place;
        QJsonObject state;
        int heldRow = -1;
    };
    std::vector<Entry> entries_;
};

}  // namespace lumetto::engine
