#include "Allgemein/CGfxListCtrl.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <algorithm>

#include "Allgemein/CColumnDialog.h"

CGfxListCtrl::CGfxListCtrl(QWidget* parent) : QTreeView(parent), model_(new CGfxListModel(this)) {
    setModel(model_);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setRootIsDecorated(false);
    setItemsExpandable(true);
    setExpandsOnDoubleClick(true);

    QHeaderView* h = header();
    h->setMinimumSectionSize(0);
    h->setStretchLastSection(false);
    h->setSectionsMovable(false);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(h, &QHeaderView::customContextMenuRequested, this, &CGfxListCtrl::ShowHeaderMenu);

    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, &CGfxListCtrl::BeforeReset);
    connect(model_, &QAbstractItemModel::modelReset, this, &CGfxListCtrl::AfterReset);
    connect(model_, &CGfxListModel::itemCellsChanged, viewport(),
            static_cast<void (QWidget::*)()>(&QWidget::update));
    connect(this, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& idx) { emit rowDoubleClicked(model_->ItemOf(idx)); });
}

void CGfxListCtrl::SetBuiltInShown(std::vector<int> ids) {
    layout_.SetShown(std::move(ids));
    RebuildColumns();
}

void CGfxListCtrl::SetShown(std::vector<int> ids) {
    TakeHeaderWidths();
    layout_.SetShown(std::move(ids));
    RebuildColumns();
}

void CGfxListCtrl::LoadLayout(QSettings& settings) {
    layout_.Load(settings, listName_);
    RebuildColumns();
}

void CGfxListCtrl::LoadLayout() {
    QSettings settings;
    LoadLayout(settings);
}

void CGfxListCtrl::SaveLayout(QSettings& settings) {
    TakeHeaderWidths();
    layout_.Save(settings, listName_);
}

void CGfxListCtrl::SaveLayout() {
    QSettings settings;
    SaveLayout(settings);
}

void CGfxListCtrl::TakeHeaderWidths() {
    std::vector<int> widths;
    for (int i = 0; i < model_->columnCount(); ++i) widths.push_back(header()->sectionSize(i));
    layout_.TakeWidths(widths);
}

void CGfxListCtrl::RebuildColumns() {
    model_->SetColumns(layout_.ShownDefinitions());  // resets, AfterReset applies widths
}

void CGfxListCtrl::BeforeReset() {
    if (!model_->CategoryMode()) return;  // leaving flat mode: keep what was remembered
    collapsed_.clear();
    for (int g = 0; g < model_->GroupCount(); ++g)
        if (!isExpanded(model_->index(g, 0))) collapsed_.insert(model_->GroupKey(g));
}

void CGfxListCtrl::AfterReset() {
    const auto& cols = model_->Columns();
    for (int i = 0; i < int(cols.size()); ++i)
        header()->resizeSection(i, std::max(0, cols[std::size_t(i)].width));
    const bool category = model_->CategoryMode();
    setRootIsDecorated(category);
    if (!category) return;
    for (int g = 0; g < model_->GroupCount(); ++g) setFirstColumnSpanned(g, QModelIndex(), true);
    expandAll();
    for (int g = 0; g < model_->GroupCount() && !collapsed_.empty(); ++g)
        if (collapsed_.count(model_->GroupKey(g))) collapse(model_->index(g, 0));
}

void CGfxListCtrl::SetRowDragging(bool on) {
    setDragEnabled(on);
    setAcceptDrops(on);
    setDropIndicatorShown(on);
    setDragDropOverwriteMode(false);
    setDragDropMode(on ? QAbstractItemView::DragDrop : QAbstractItemView::NoDragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

bool CGfxListCtrl::IsOwnRowDrag(const QDropEvent* event) const {
    return event->source() == this && !CategoryMode() &&
           event->mimeData()->hasFormat(QString::fromLatin1(CGfxListModel::RowsMimeType));
}

void CGfxListCtrl::dragEnterEvent(QDragEnterEvent* event) {
    if (!IsOwnRowDrag(event)) return event->ignore();
    QTreeView::dragEnterEvent(event);
}

void CGfxListCtrl::dragMoveEvent(QDragMoveEvent* event) {
    if (!IsOwnRowDrag(event)) return event->ignore();
    QTreeView::dragMoveEvent(event);  // places the drop indicator and scrolls
}

int CGfxListCtrl::DropItem(const QDropEvent* event) const {
    const QModelIndex at = indexAt(event->position().toPoint());
    const int item = model_->ItemOf(at);
    if (item < 0) return int(model_->Items().size());  // below the last row
    return dropIndicatorPosition() == QAbstractItemView::BelowItem ? item + 1 : item;
}

void CGfxListCtrl::dropEvent(QDropEvent* event) {
    if (!IsOwnRowDrag(event)) return event->ignore();
    const int before = DropItem(event);
    // The list moves the rows itself; a copy action keeps the view from
    // removing the dragged rows from the model afterwards.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    emit rowsDropped(before);
}

void CGfxListCtrl::SetCategoryMode(bool on) {
    const std::vector<int> selected = SelectedItems();
    model_->SetCategoryMode(on);
    SelectItems(selected);
}

namespace {

// A row's place: (group row, row) below a header, (row, -1) at the top level.
using RowKey = std::pair<int, int>;

RowKey KeyOf(const QModelIndex& idx) {
    const QModelIndex p = idx.parent();
    return p.isValid() ? RowKey{p.row(), idx.row()} : RowKey{idx.row(), -1};
}

}  // namespace

std::vector<std::pair<QModelIndex, int>> CGfxListCtrl::SelectedInRowOrder() const {
    // Straight from the selection ranges: asking the selection model for its
    // selected rows costs time per row and range, seconds for a large list.
    std::vector<std::pair<RowKey, QModelIndex>> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        const QModelIndex parent = range.parent();
        for (int row = range.top(); row <= range.bottom(); ++row) {
            const QModelIndex idx = model_->index(row, 0, parent);
            if (idx.isValid()) rows.emplace_back(KeyOf(idx), idx);
        }
    }
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    rows.erase(std::unique(rows.begin(), rows.end(),
                           [](const auto& a, const auto& b) { return a.first == b.first; }),
               rows.end());
    std::vector<std::pair<QModelIndex, int>> out;
    out.reserve(rows.size());
    for (const auto& r : rows) out.emplace_back(r.second, model_->ItemOf(r.second));
    return out;
}

std::vector<int> CGfxListCtrl::SelectedRowItems() const {
    std::vector<int> out;
    for (const auto& r : SelectedInRowOrder()) out.push_back(r.second);
    return out;
}

std::vector<int> CGfxListCtrl::SelectedItems() const {
    std::vector<int> out;
    for (const auto& r : SelectedInRowOrder())
        if (r.second >= 0) out.push_back(r.second);
    return out;
}

void CGfxListCtrl::SaveWithWindow(const QWidget& window, const QString& geometryKey) {
    QSettings settings;
    settings.setValue(geometryKey, window.saveGeometry());
    SaveLayout(settings);
}

void CGfxListCtrl::RestoreWindow(QWidget& window, const QString& geometryKey) {
    const QByteArray geometry = QSettings().value(geometryKey).toByteArray();
    if (!geometry.isEmpty()) window.restoreGeometry(geometry);
}

void CGfxListCtrl::DefineColumnsInOrder(const std::vector<ColumnSpec>& columns) {
    std::vector<int> shown;
    for (const ColumnSpec& c : columns) {
        const int id = int(shown.size());
        DefineColumn({id, c.align, c.width, -1, 0, c.text, QString(), QString()});
        shown.push_back(id);
    }
    SetBuiltInShown(std::move(shown));
    LoadLayout();
}

void CGfxListCtrl::ShowIndexedRows(std::size_t count) {
    if (model_->Items().size() == count) {
        model_->RefreshCells();
        return;
    }
    std::vector<int> keep;
    for (int item : SelectedItems())
        if (std::size_t(item) < count) keep.push_back(item);
    std::vector<quintptr> items(count);
    for (std::size_t i = 0; i < count; ++i) items[i] = i;
    SetItems(std::move(items));
    SelectItems(keep);
}

void CGfxListCtrl::SelectItems(const std::vector<int>& items) {
    // Neighbouring rows under the same parent become one range, so that
    // selecting all of a large list stays one range per group.
    std::vector<std::pair<RowKey, QModelIndex>> rows;
    rows.reserve(items.size());
    for (int item : items) {
        const QModelIndex idx = model_->IndexOfItem(item);
        if (idx.isValid()) rows.emplace_back(KeyOf(idx), idx);
    }
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    QItemSelection selection;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1].second.parent() == rows[i].second.parent() &&
               rows[j + 1].second.row() == rows[j].second.row() + 1)
            ++j;
        selection.select(rows[i].second, rows[j].second);
        i = j + 1;
    }
    selectionModel()->select(selection,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool CGfxListCtrl::RunColumnDialog() {
    TakeHeaderWidths();
    CColumnDialog dialog(layout_, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    layout_.SetShown(dialog.Result());
    RebuildColumns();
    return true;
}

void CGfxListCtrl::ShowHeaderMenu(const QPoint& pos) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("Spalteneinstellung..."), this, &CGfxListCtrl::RunColumnDialog);
    menu.exec(header()->mapToGlobal(pos));
}

namespace {
// Select-all and copy belong to the window's commands, which know what may be
// selected and copied (programs, never header rows); the list takes no part.
bool IsWindowCommandKey(QKeyEvent* event) {
    return event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Copy);
}
}  // namespace

bool CGfxListCtrl::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        IsWindowCommandKey(static_cast<QKeyEvent*>(event))) {
        event->ignore();  // the window's shortcut goes first
        return true;
    }
    return QTreeView::event(event);
}

void CGfxListCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit deletePressed();
        event->accept();
        return;
    }
    if (IsWindowCommandKey(event)) {
        event->ignore();  // reached here only when the window's command is unavailable
        return;
    }
    QTreeView::keyPressEvent(event);
}
