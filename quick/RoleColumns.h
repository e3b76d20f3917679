#pragma once

#include <QIdentityProxyModel>

namespace lumetto::quick {

// A list model (a QML ListModel) as a table: a column for each of the list's roles, named by
// the role's name in its header, so that a template names the roles as it names a table's
// columns. A cell reads and writes its role of the row.
class RoleColumns : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit RoleColumns(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxy) const override;
    QModelIndex mapFromSource(const QModelIndex& source) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void readRoles();

    QList<int> roles_;  // the role of each column
    QList<QByteArray> names_;
};

}  // namespace lumetto::quick
