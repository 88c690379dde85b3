#pragma once
// The entry list's model: the compact rows of one group. A cell's text is made from the live
// entry when the view asks for it, so a list of 100,000 entries is built in a few milliseconds
// and holds no copy of any password.
//
// It reads the vault, so it may only be used on the GUI thread while nothing else changes the
// vault. During a plugin run the interface lock is on and the GUI thread leaves the vault alone;
// an importer empties the vault before it starts, so the list is empty while it appends. When
// the interface lock ends after a run that changed the vault, the list must be rebuilt
// (Entry_RefreshList) before anything is shown from it again.

#include <QAbstractTableModel>

#include "engine/view/EntryRows.h"

namespace vlt {

struct Engine;

class EntryListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kIdRole = Qt::UserRole + 1;

    EntryListModel(Engine& engine, QObject* parent = nullptr);

    void setRows(EntryRows rows);
    void clear() { setRows({}); }
    const EntryRows& rows() const { return rows_; }
    const EntryRow* row(int index) const { return rows_.row(index); }
    // The entry shown in that row; nullptr when there is none.
    Entry* entryAt(int row) const;
    // What a drag from that cell carries; empty (no drag) while the engine is busy.
    QString dragText(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    Engine& engine_;
    EntryRows rows_;
};

}  // namespace vlt
