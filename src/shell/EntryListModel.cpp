#include "EntryListModel.h"

#include <QBrush>
#include <QColor>

#include "IconCatalog.h"
#include "Misc.h"
#include "Painting.h"

namespace vlt {

namespace {

constexpr int kIconEntry = 45;
constexpr int kIconExpired = 46;

QString qText(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void EntryListModel::setRows(std::vector<EntryRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

const EntryRow* EntryListModel::row(int index) const {
    return index >= 0 && index < static_cast<int>(rows_.size()) ? &rows_[index] : nullptr;
}

int EntryListModel::rowOf(std::int32_t id) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
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
            return qText(r->cells[index.column()]);
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
    const auto title = kColumnTitles[static_cast<std::size_t>(section)];
    return QString::fromUtf16(title.data(), static_cast<qsizetype>(title.size()));
}

Qt::ItemFlags EntryListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

}  // namespace vlt
