#include "RoleColumns.h"

#include <algorithm>

namespace lumetto::quick {

RoleColumns::RoleColumns(QObject* parent) : QIdentityProxyModel(parent) {}

// A ListModel knows its roles once it has rows: they are read again as its rows come.
void RoleColumns::setSourceModel(QAbstractItemModel* source) {
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QIdentityProxyModel::setSourceModel(source);
    readRoles();
    if (!source)
        return;
    connect(source, &QAbstractItemModel::modelReset, this, &RoleColumns::readRoles);
    connect(source, &QAbstractItemModel::rowsInserted, this, [this] {
        if (roles_.isEmpty())
            readRoles();
    });
}

void RoleColumns::readRoles() {
    const QHash<int, QByteArray> all = sourceModel() ? sourceModel()->roleNames() : QHash<int, QByteArray>();
    QList<int> roles = all.keys();
    std::sort(roles.begin(), roles.end());
    if (roles == roles_)
        return;
    beginResetModel();
    roles_ = roles;
    names_.clear();
    for (const int role : roles_)
        names_.append(all.value(role));
    endResetModel();
}

int RoleColumns::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(roles_.size());
}

QModelIndex RoleColumns::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex RoleColumns::mapToSource(const QModelIndex& proxy) const {
    return proxy.isValid() && sourceModel() ? sourceModel()->index(proxy.row(), 0) : QModelIndex();
}

QModelIndex RoleColumns::mapFromSource(const QModelIndex& source) const {
    return source.isValid() ? index(source.row(), 0) : QModelIndex();
}

QVariant RoleColumns::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return sourceModel()->data(mapToSource(index), roles_.at(index.column()));
}

bool RoleColumns::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    return sourceModel()->setData(mapToSource(index), value, roles_.at(index.column()));
}

QVariant RoleColumns::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < names_.size())
        return QString::fromUtf8(names_.at(section));
    return QIdentityProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags RoleColumns::flags(const QModelIndex& index) const {
    return index.isValid() ? sourceModel()->flags(mapToSource(index)) | Qt::ItemIsEditable : Qt::NoItemFlags;
}

}  // namespace lumetto::quick
