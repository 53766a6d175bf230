#include "Allgemein/CGfxListModel.h"

#include <QFont>
#include <QMimeData>
#include <QStringList>
#include <unordered_map>

namespace {

// Internal id of a top-level index; children carry their group number + 1.
constexpr quintptr kTopLevel = 0;

Qt::Alignment AlignmentOf(std::int32_t align) {
    switch (align) {
        case CColumnDef::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case CColumnDef::Centre:
            return Qt::AlignCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

CGfxListModel::CGfxListModel(QObject* parent) : QAbstractItemModel(parent) {}

void CGfxListModel::SetCategory(CategoryKeyFn key, CategoryHeaderFn header) {
    beginResetModel();
    categoryKey_ = std::move(key);
    categoryHeader_ = std::move(header);
    Regroup();
    endResetModel();
}

void CGfxListModel::SetColumns(std::vector<CColumnDef> shown) {
    beginResetModel();
    columns_ = std::move(shown);
    endResetModel();
}

void CGfxListModel::SetItems(std::vector<quintptr> items) {
    beginResetModel();
    items_ = std::move(items);
    Regroup();
    endResetModel();
}

void CGfxListModel::SetCategoryMode(bool on) {
    if (on == category_) return;
    beginResetModel();
    category_ = on;
    Regroup();
    endResetModel();
}

void CGfxListModel::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    RefreshCells();
}

void CGfxListModel::RefreshCells() {
    const int top = rowCount();
    if (top == 0 || columns_.empty()) return;
    emit dataChanged(index(0, 0), index(top - 1, int(columns_.size()) - 1));
    // Items below category headers: one notice for all of them. A dataChanged
    // per group costs a tree view a search through all its rows each time,
    // which made refreshing 100 000 grouped rows take half a second.
    if (category_) emit itemCellsChanged();
}

void CGfxListModel::Regroup() {
    groups_.clear();
    itemPlace_.clear();
    if (!category_) return;
    std::unordered_map<std::string, int> byKey;
    itemPlace_.resize(items_.size());
    for (int i = 0; i < int(items_.size()); ++i) {
        // Without a key function every item falls into one unnamed category.
        std::string key = categoryKey_ ? categoryKey_(i, items_[std::size_t(i)]) : std::string();
        auto [it, inserted] = byKey.try_emplace(key, int(groups_.size()));
        if (inserted) groups_.push_back(Group{std::move(key), {}});
        auto& members = groups_[std::size_t(it->second)].members;
        itemPlace_[std::size_t(i)] = {it->second, int(members.size())};
        members.push_back(i);
    }
}

std::string CGfxListModel::GroupKey(int group) const {
    return group >= 0 && group < int(groups_.size()) ? groups_[std::size_t(group)].key
                                                     : std::string();
}

bool CGfxListModel::IsHeader(const QModelIndex& idx) const {
    return idx.isValid() && category_ && idx.internalId() == kTopLevel;
}

int CGfxListModel::ItemOf(const QModelIndex& idx) const {
    if (!idx.isValid()) return -1;
    if (!category_) return idx.row() < int(items_.size()) ? idx.row() : -1;
    if (idx.internalId() == kTopLevel) return -1;
    const auto g = std::size_t(idx.internalId() - 1);
    if (g >= groups_.size() || idx.row() >= int(groups_[g].members.size())) return -1;
    return groups_[g].members[std::size_t(idx.row())];
}

QModelIndex CGfxListModel::IndexOfItem(int item) const {
    if (item < 0 || item >= int(items_.size())) return {};
    if (!category_) return index(item, 0);
    const auto [g, row] = itemPlace_[std::size_t(item)];
    return createIndex(row, 0, quintptr(g + 1));
}

QModelIndex CGfxListModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= int(columns_.size())) return {};
    if (!parent.isValid()) {
        return row < rowCount() ? createIndex(row, column, kTopLevel) : QModelIndex();
    }
    if (!IsHeader(parent) || row >= rowCount(parent)) return {};
    return createIndex(row, column, quintptr(parent.row() + 1));
}

QModelIndex CGfxListModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kTopLevel) return {};
    return createIndex(int(child.internalId() - 1), 0, kTopLevel);
}

int CGfxListModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return category_ ? int(groups_.size()) : int(items_.size());
    if (!IsHeader(parent) || parent.column() != 0) return 0;
    const auto g = std::size_t(parent.row());
    return g < groups_.size() ? int(groups_[g].members.size()) : 0;
}

int CGfxListModel::columnCount(const QModelIndex&) const { return int(columns_.size()); }

QVariant CGfxListModel::data(const QModelIndex& idx, int role) const {
    if (!idx.isValid() || idx.column() >= int(columns_.size())) return {};
    if (IsHeader(idx)) return HeaderRowData(idx.row(), idx.column(), role);
    const int item = ItemOf(idx);
    if (item < 0) return {};
    if (role == ItemDataRole) return QVariant::fromValue(items_[std::size_t(item)]);
    return ItemData(item, columns_[std::size_t(idx.column())], role);
}

QVariant CGfxListModel::ItemData(int item, const CColumnDef& col, int role) const {
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(col.align));
    const bool wantsText = role == Qt::DisplayRole || role == Qt::ToolTipRole;
    const bool wantsImage = role == Qt::DecorationRole && col.IsImageColumn();
    if (busy_ || !cellText_ || (!wantsText && !wantsImage)) return {};
    const QString text = cellText_(item, items_[std::size_t(item)], col.id);
    if (!col.IsImageColumn()) return wantsText && !text.isEmpty() ? QVariant(text) : QVariant();
    if (!wantsImage) return {};
    bool ok = false;
    const int image = text.toInt(&ok);
    if (!ok || image < 0 || image >= images_.size()) return {};
    return images_[image];
}

QVariant CGfxListModel::HeaderRowData(int group, int column, int role) const {
    if (group < 0 || group >= int(groups_.size()) || column != 0) return {};
    const Group& g = groups_[std::size_t(group)];
    if (role == Qt::DisplayRole) {
        if (!categoryHeader_) return QString::fromStdString(g.key);
        return categoryHeader_(g.key, int(g.members.size()));
    }
    if (role == Qt::FontRole) {
        QFont f;
        f.setBold(true);
        return f;
    }
    return {};
}

QVariant CGfxListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= int(columns_.size())) return {};
    const CColumnDef& col = columns_[std::size_t(section)];
    if (role == Qt::DisplayRole) return col.text;
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(col.align));
    if (role == Qt::DecorationRole && col.image >= 0 && col.image < images_.size())
        return images_[col.image];
    if (role == Qt::ToolTipRole && !col.descr.isEmpty()) return col.descr;
    return {};
}

Qt::ItemFlags CGfxListModel::flags(const QModelIndex& idx) const {
    if (!idx.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!IsHeader(idx)) f |= Qt::ItemNeverHasChildren;
    // Rows are dragged within the list only while it is flat.
    if (!IsHeader(idx) && !CategoryMode()) f |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    return f;
}

QStringList CGfxListModel::mimeTypes() const { return {QString::fromLatin1(RowsMimeType)}; }

QMimeData* CGfxListModel::mimeData(const QModelIndexList&) const {
    // The rows travel as the list's own selection; the data only marks the drag.
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(RowsMimeType), QByteArray());
    return data;
}

Qt::DropActions CGfxListModel::supportedDropActions() const { return Qt::MoveAction; }
