#include "engine/binding/RowEntries.h"

#include "engine/binding/HeldPlaces.h"

#include <algorithm>

namespace lumetto::engine {

// The latest entry of a field counts.
void RowEntries::entered(const QPersistentModelIndex& row, int place, const QJsonObject& state) {
    if (!row.isValid())
        return;
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return !e.row.isValid() || (e.row == row && e.place == place); }),
                   entries_.end());
    entries_.push_back({row, place, state});
}

QJsonArray RowEntries::of(int row) const {
    QJsonArray found;
    for (const Entry& entry : entries_)
        if (entry.row.isValid() && entry.row.row() == row)
            found.append(QJsonArray{entry.place, entry.state});
    return found;
}

void RowEntries::clear() {
    entries_.clear();
}

void RowEntries::holdPlaces() {
    engine::holdPlaces(entries_);
}

void RowEntries::restorePlaces(const QAbstractItemModel* model) {
    engine::restorePlaces(entries_, model);
}

}  // namespace lumetto::engine
