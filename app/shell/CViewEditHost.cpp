#include "shell/CViewEditHost.h"

#include <unordered_map>
#include <unordered_set>

#include "Allgemein/CGfxListCtrl.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "frame/view/CMainListColumns.h"
#include "frame/view/CSVL_EditorView.h"

CViewEditHost::CViewEditHost(CSVL_EditorView& view, CSVL_EditorDoc& doc)
    : view_(&view), doc_(doc) {}

CSVLFile* CViewEditHost::List() { return &doc_.List(); }

std::vector<std::size_t> CViewEditHost::SelectedProgramIndexes() const {
    std::vector<std::size_t> out;
    if (!view_) return out;
    for (const int index : view_->selectedProgramIndexes())
        if (index >= 0) out.push_back(std::size_t(index));
    return out;
}

std::vector<std::size_t> CViewEditHost::ListedProgramIndexes() const {
    std::vector<std::size_t> out;
    if (!view_) return out;
    const CSVLFile& list = doc_.List();
    std::unordered_map<quintptr, std::size_t> position;
    position.reserve(list.Programs.size());
    for (std::size_t i = 0; i < list.Programs.size(); ++i)
        position.emplace(reinterpret_cast<quintptr>(list.Programs[i].get()), i);
    for (const quintptr item : view_->listCtrl()->Model()->Items()) {
        const auto it = position.find(item);
        if (it != position.end()) out.push_back(it->second);
    }
    return out;
}

std::size_t CViewEditHost::RowCount() const {
    if (!view_) return 0;
    const auto* model = view_->listCtrl()->Model();
    return model->Items().size() + (model->CategoryMode() ? std::size_t(model->GroupCount()) : 0);
}

bool CViewEditHost::IsCategoryMode() const { return view_ && view_->categoryMode(); }

void CViewEditHost::SelectAllRows() {
    if (!view_) return;
    view_->listCtrl()->selectAll();
    view_->listCtrl()->setFocus();
}

void CViewEditHost::SelectPrograms(const std::vector<std::size_t>& indexes) {
    if (!view_) return;
    const std::vector<int> items = ItemsOfPrograms(indexes);
    if (items.empty()) return;
    CGfxListCtrl* ctrl = view_->listCtrl();
    const QModelIndex first = ctrl->Model()->IndexOfItem(items.front());
    ctrl->setCurrentIndex(first);
    ctrl->SelectItems(items);  // after the current row: setting it selects it alone
    ctrl->scrollTo(first);
}

void CViewEditHost::ProgramsInserted(const std::vector<std::size_t>&) {
    if (view_) view_->refreshRows();
}

void CViewEditHost::ProgramsRemoved(const std::vector<std::size_t>&) {
    if (view_) view_->refreshRows();
}

void CViewEditHost::ProgramsChanged(const std::vector<std::size_t>&) {
    if (view_) view_->refreshRows();
}

void CViewEditHost::ProgramsReordered(const std::vector<std::size_t>& moved) {
    if (!view_) return;
    view_->refreshRows();  // keeps the selected programs selected
    SelectPrograms(moved);
}

std::vector<int> CViewEditHost::ItemsOfPrograms(const std::vector<std::size_t>& indexes) const {
    const CSVLFile& list = doc_.List();
    std::unordered_set<quintptr> wanted;
    for (const std::size_t index : indexes)
        if (index < list.Programs.size())
            wanted.insert(reinterpret_cast<quintptr>(list.Programs[index].get()));
    std::vector<int> items;
    const auto& rows = view_->listCtrl()->Model()->Items();
    for (std::size_t item = 0; item < rows.size() && items.size() < wanted.size(); ++item)
        if (wanted.count(rows[item])) items.push_back(int(item));
    return items;
}

void CViewEditHost::SetModified(bool modified) { doc_.SetModifiedFlag(modified); }

void CViewEditHost::SetProgramCountText(const QString& text) {
    // refreshRows has already sent the count to the status bar; repeat it for changes that
    // reach the view before its rows do.
    if (view_) emit view_->programCountText(text);
}

ListPrintTable CViewEditHost::PrintTable() {
    if (!view_) return {};
    // The shown columns in shown order, with the widths the user left in the header and
    // the alignment and cell texts of the list itself.
    const CGfxListCtrl* ctrl = view_->listCtrl();
    const auto& defs = ctrl->Model()->Columns();
    std::vector<ListPrintColumn> columns;
    for (std::size_t c = 0; c < defs.size(); ++c) {
        const QVariant align =
            ctrl->Model()->headerData(int(c), Qt::Horizontal, Qt::TextAlignmentRole);
        columns.push_back({defs[c].id, defs[c].text, ctrl->columnWidth(int(c)),
                           align.value<Qt::Alignment>() & Qt::AlignHorizontal_Mask});
    }
    const bool pidHex = view_->pidHexDisplay();
    return BuildListPrintTable(doc_.List(), ListedProgramIndexes(), std::move(columns),
                               [pidHex](const CProgramInfo& p, std::size_t index, int id) {
                                   return CMainListColumns::PrintText(p, int(index), id, pidHex);
                               });
}
