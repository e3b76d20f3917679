#include "engine/binding/RowKeys.h"

#include "engine/binding/HeldPlaces.h"

#include <algorithm>

namespace lumetto::engine {
namespace {

// Far more than a page holds at once: the keys beyond it are of rows long out of the page.
constexpr std::size_t KeysKept = 4096;

}  // namespace

int RowKeys::keyOf(const QModelIndex& index) {
    const auto same = std::find_if(entries_.rbegin(), entries_.rend(), [&](const Entry& e) {
        return e.row.isValid() && e.row.row() == index.row() && e.row.model() == index.model();
    });
    Entry entry = same != entries_.rend() ? *same : Entry{next_++, QPersistentModelIndex(index.siblingAtColumn(0))};
    if (same != entries_.rend())
        entries_.erase(std::next(same).base());
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.row.isValid(); }),
                   entries_.end());
    if (entries_.size() >= KeysKept)
        entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(entries_.size() - KeysKept + 1));
    entries_.push_back(entry);
    return entry.key;
}

int RowKeys::rowOf(int key) const {
    const QPersistentModelIndex index = indexOf(key);
    return index.isValid() ? index.row() : -1;
}

QPersistentModelIndex RowKeys::indexOf(int key) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
    return found != entries_.end() ? found->row : QPersistentModelIndex();
}

void RowKeys::clear() {
    entries_.clear();
}

void RowKeys::holdPlaces() {
    engine::holdPlaces(entries_);
}

void RowKeys::restorePlaces(const QAbstractItemModel* model) {
    engine::restorePlaces(entries_, model);
}

}  // namespace lumetto::engine
