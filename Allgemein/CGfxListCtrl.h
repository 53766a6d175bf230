#pragma once
#include <QString>
#include <QTreeView>
#include <set>
#include <string>
#include <vector>

#include "Allgemein/CColumnLayout.h"
#include "Allgemein/CGfxListModel.h"

class QSettings;

/// The list control of every list window: columns from a column layout,
/// cell texts computed on demand by the owner, an optional category mode
/// with collapsible header rows, several selected rows, and a stored layout
/// (shown columns, their order and widths) per list name.
///
/// Typical use by a list window:
///   list->SetListName("TheTimerList");
///   list->DefineColumn({...}); ...            // built-in definitions
///   list->SetBuiltInShown({0, 1, 2, ...});
///   list->LoadLayout();                       // stored layout over the built-in one
///   list->Model()->SetCellText(...);
///   list->SetItems({...});
///   ...
///   list->SaveLayout();                       // when the window closes
class CGfxListCtrl : public QTreeView {
    Q_OBJECT
  public:
    explicit CGfxListCtrl(QWidget* parent = nullptr);

    void SetListName(const QString& name) { listName_ = name; }
    const QString& ListName() const { return listName_; }

    void DefineColumn(const CColumnDef& def) { layout_.AddColumn(def); }
    void SetBuiltInShown(std::vector<int> ids);
    /// One column of a list that shows all its columns in their order.
    struct ColumnSpec {
        const QString& text;
        std::int32_t align;
        std::int32_t width;
    };
    /// Defines the columns with the ids 0 to n-1, shows them all as the
    /// built-in set and reads the stored layout over it.
    void DefineColumnsInOrder(const std::vector<ColumnSpec>& columns);
    const CColumnLayout& Layout() const { return layout_; }
    /// Replaces the shown set and rebuilds the columns.
    void SetShown(std::vector<int> ids);

    /// Reads the stored layout of this list over the built-in one and rebuilds the columns.
    void LoadLayout(QSettings& settings);
    void LoadLayout();
    /// Takes the current header widths and stores the layout of this list.
    void SaveLayout(QSettings& settings);
    void SaveLayout();
    /// Header widths back into the layout (done by SaveLayout).
    void TakeHeaderWidths();
    /// A list window closes: its placement under `geometryKey` and the
    /// list's layout go to the settings store.
    void SaveWithWindow(const QWidget& window, const QString& geometryKey);
    /// A list window opens where it was last closed, when it was.
    static void RestoreWindow(QWidget& window, const QString& geometryKey);

    CGfxListModel* Model() const { return model_; }
    void SetItems(std::vector<quintptr> items) { model_->SetItems(std::move(items)); }
    /// Rows for the entries 0 to count-1 of the owner's vector (the item
    /// data is the index): the cells are drawn anew while the count stays,
    /// else the rows are set anew and the selected ones that remain stay.
    void ShowIndexedRows(std::size_t count);

    void SetCategoryMode(bool on);
    bool CategoryMode() const { return model_->CategoryMode(); }

    /// Selected rows in row order as item positions; header rows are -1.
    std::vector<int> SelectedRowItems() const;
    /// Selected items in row order, header rows skipped.
    std::vector<int> SelectedItems() const;
    void SelectItems(const std::vector<int>& items);

    /// Lets the user drag the selected rows to another place in the list (flat
    /// mode only), with a drop indicator; a drop emits rowsDropped.
    void SetRowDragging(bool on);

    /// Opens "Spalteneinstellung"; on OK the shown set changes. Returns true on OK.
    bool RunColumnDialog();

  signals:
    /// A row was double-clicked; `item` is -1 for a category header row.
    void rowDoubleClicked(int item);
    /// The Delete key was pressed in the list.
    void deletePressed();
    /// The selected rows were dropped before the row of `beforeItem` (an item
    /// position; the item count: after the last row).
    void rowsDropped(int beforeItem);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void RebuildColumns();
    void BeforeReset();
    void AfterReset();
    void ShowHeaderMenu(const QPoint& pos);
    std::vector<std::pair<QModelIndex, int>> SelectedInRowOrder() const;
    bool IsOwnRowDrag(const QDropEvent* event) const;
    int DropItem(const QDropEvent* event) const;

    QString listName_;
    CColumnLayout layout_;
    CGfxListModel* model_;
    std::set<std::string> collapsed_;  // categories the user closed, kept over refills
};
