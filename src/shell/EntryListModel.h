#pragma once
// The entry list's model: copies of the rows of one group, so that painting never reads the vault
// records that a plugin thread may be changing.

#include <QAbstractTableModel>
#include <vector>

#include "EntryRows.h"

namespace vlt {

class EntryListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kIdRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<EntryRow> rows);
    void clear() { setRows({}); }
    const EntryRow* row(int index) const;
    // The row showing the entry with that ID, -1 when none does.
    int rowOf(std::int32_t id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::vector<EntryRow> rows_;
};

}  // namespace vlt
