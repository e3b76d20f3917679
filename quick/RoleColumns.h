#pragma once

#include <QIdentityProxyModel>

namespace lumetto::quick {

// A list model (a QML ListModel) as a table: a column for each of the list's roles, named by
// the role's name in its header, so that a template names the roles as it names a table's
// columns. A cell reads and writes its role of the row; a row's change changes all its cells.
class RoleColumns : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit RoleColumns(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;
    // Reads the list's roles again: a ListModel made with its elements knows them only once
    // it is complete, and tells of them by no signal.
    void readRoles();
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxy) const override;
    QModelIndex mapFromSource(const QModelIndex& source) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<int> roles_;  // the role of each column
    QList<QByteArray> names_;
};

}  // namespace lumetto::quick
