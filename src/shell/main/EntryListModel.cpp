#include "shell/main/EntryListModel.h"

#include <QBrush>
#include <QColor>

#include "engine/text/Misc.h"
#include "engine/vault/Engine.h"
#include "shell/app/QtText.h"
#include "shell/widgets/IconCatalog.h"
#include "shell/widgets/Painting.h"

namespace vlt {

namespace {

constexpr int kIconEntry = 45;
constexpr int kIconExpired = 46;

}  // namespace

EntryListModel::EntryListModel(Engine& engine, QObject* parent)
    : QAbstractTableModel(parent), engine_(engine) {}

void EntryListModel::setRows(EntryRows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

Entry* EntryListModel::entryAt(int row) const {
    return rows_.entry(engine_.vault, row);
}

QString EntryListModel::dragText(const QModelIndex& index) const {
    return qs(rows_.dragText(engine_, index.row(), index.column()).view());
}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.count();
}

int EntryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    const EntryRow* r = row(index.row());
    if (r == nullptr || index.column() < 0 || index.column() >= kColumnCount) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return qs(
                rows_.cellText(engine_.vault, index.row(), index.column(), engine_.settings.Mask)
                    .view());
        case Qt::DecorationRole:
            return index.column() == 0 ? MenuIcon(r->expired ? kIconExpired : kIconEntry)
                                       : QVariant();
        case Qt::ForegroundRole:
            return r->customForeground ? QBrush(toQColor(rgbFromColor(r->foreground))) : QVariant();
        case Qt::BackgroundRole:
            return r->customBackground ? QBrush(toQColor(rgbFromColor(r->background))) : QVariant();
        case kIdRole:
            return r->id;
        default:
            return {};
    }
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount) {
        return {};
    }
    return qs(kColumnTitles[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags EntryListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

}  // namespace vlt
