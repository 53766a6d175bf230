#pragma once
#include <QAbstractItemModel>
#include <QIcon>
#include <QVector>
#include <functional>
#include <string>
#include <vector>

#include "Allgemein/CColumnDef.h"

/// Model of the list control. It holds one entry per row (the owner's item
/// data, an opaque number) and asks the owner for cell texts only when a
/// cell is shown, so that lists of 100 000 rows cost no string storage.
///
/// In category mode the top level holds one header row per category, in the
/// order in which categories first occur, and the items are their children.
class CGfxListModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    /// Cell text of item `item` (its position in the item list, data `data`)
    /// in column `columnId`. For image columns the text is the image number.
    using CellTextFn = std::function<QString(int item, quintptr data, int columnId)>;
    /// Category of an item (compared as bytes).
    using CategoryKeyFn = std::function<std::string(int item, quintptr data)>;
    /// Text of a category header row with the number of its items.
    using CategoryHeaderFn = std::function<QString(const std::string& key, int count)>;

    /// Role that returns the item data of a row (invalid for header rows).
    static constexpr int ItemDataRole = Qt::UserRole + 1;

    explicit CGfxListModel(QObject* parent = nullptr);

    void SetCellText(CellTextFn fn) { cellText_ = std::move(fn); }
    void SetCategory(CategoryKeyFn key, CategoryHeaderFn header);
    void SetImages(QVector<QIcon> images) { images_ = std::move(images); }

    void SetColumns(std::vector<CColumnDef> shown);
    const std::vector<CColumnDef>& Columns() const { return columns_; }

    void SetItems(std::vector<quintptr> items);
    void Clear() { SetItems({}); }
    const std::vector<quintptr>& Items() const { return items_; }

    void SetCategoryMode(bool on);
    bool CategoryMode() const { return category_; }
    int GroupCount() const { return int(groups_.size()); }
    /// Category key of the header row `group` (empty when out of range).
    std::string GroupKey(int group) const;

    /// While busy the rows show no cell texts.
    void SetBusy(bool busy);
    bool Busy() const { return busy_; }

    /// Tells the views that every cell may have changed (same rows). In
    /// category mode the item rows are announced by itemCellsChanged().
    void RefreshCells();

    bool IsHeader(const QModelIndex& index) const;
    /// Position of the row's item in the item list, -1 for header rows and invalid indexes.
    int ItemOf(const QModelIndex& index) const;
    /// Index of column 0 of an item's row.
    QModelIndex IndexOfItem(int item) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// A drag of rows inside the list (see CGfxListCtrl::SetRowDragging).
    static constexpr char RowsMimeType[] = "application/x-gfxlist-rows";
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;

  signals:
    /// Every item row below a category header may show other texts.
    void itemCellsChanged();

  private:
    struct Group {
        std::string key;
        std::vector<int> members;
    };
    void Regroup();
    QVariant ItemData(int item, const CColumnDef& col, int role) const;
    QVariant HeaderRowData(int group, int column, int role) const;

    CellTextFn cellText_;
    CategoryKeyFn categoryKey_;
    CategoryHeaderFn categoryHeader_;
    QVector<QIcon> images_;
    std::vector<CColumnDef> columns_;
    std::vector<quintptr> items_;
    std::vector<Group> groups_;
    std::vector<std::pair<int, int>> itemPlace_;  // item -> (group, row in group)
    bool category_ = false;
    bool busy_ = false;
};
