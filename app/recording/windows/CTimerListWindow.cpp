#include "recording/windows/CTimerListWindow.h"

#include <QMenu>
#include <QVBoxLayout>

#include "Allgemein/CGfxListCtrl.h"
#include "recording/CTimerList.h"
#include "recording/windows/TimerCells.h"
#include "recording/windows/TimerWindowTexts.h"

namespace T = TimerWindowTexts;
namespace C = TimerCells;

namespace {

const QString kGeometryKey = QStringLiteral("Window Placement/Timerliste");

}  // namespace

CTimerListWindow::CTimerListWindow(CTimerList& list, QWidget* parent)
    : QDialog(parent), timers_(list), ownDialogs_(this), dialogs_(&ownDialogs_) {
    setWindowTitle(T::WindowTitle);
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    BuildList();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(list_);
    resize(1180, 300);
    CGfxListCtrl::RestoreWindow(*this, kGeometryKey);
    Refresh();
}

void CTimerListWindow::BuildList() {
    list_ = new CGfxListCtrl(this);
    list_->setObjectName(T::ListName);
    list_->SetListName(T::ListName);
    constexpr std::int32_t L = CColumnDef::Left;
    list_->DefineColumnsInOrder({{T::ColumnNr, L, 40},
                                 {T::ColumnProgram, L, 150},
                                 {T::ColumnStart, L, 240},
                                 {T::ColumnEnd, L, 240},
                                 {T::ColumnFormat, L, 80},
                                 {T::ColumnFileName, L, 260},
                                 {T::ColumnStatus, L, 150}});
    list_->Model()->SetCellText([this](int, quintptr data, int column) {
        const std::size_t index = data;
        const auto& entries = timers_.Entries();
        return index < entries.size() ? C::Cell(entries[index], int(index), column) : QString();
    });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, &CTimerListWindow::ShowContextMenu);
    connect(list_, &CGfxListCtrl::deletePressed, this, &CTimerListWindow::DeleteSelected);
    connect(list_, &CGfxListCtrl::rowDoubleClicked, this, &CTimerListWindow::EditEntry);
}

void CTimerListWindow::Refresh() { list_->ShowIndexedRows(timers_.Entries().size()); }

std::unique_ptr<QMenu> CTimerListWindow::MakeContextMenu() {
    auto menu = std::make_unique<QMenu>(T::MenuTitle, this);
    const bool selection = !list_->SelectedItems().empty();
    menu->addAction(T::MenuEdit, this, &CTimerListWindow::EditSelected)->setEnabled(selection);
    menu->addAction(T::MenuDelete, this, &CTimerListWindow::DeleteSelected)->setEnabled(selection);
    menu->addAction(T::MenuDeleteAll, this, &CTimerListWindow::DeleteAll)
        ->setEnabled(!timers_.Entries().empty());
    return menu;
}

void CTimerListWindow::ShowContextMenu(const QPoint& pos) {
    MakeContextMenu()->exec(list_->viewport()->mapToGlobal(pos));
}

void CTimerListWindow::EditEntry(int index) {
    if (index < 0 || std::size_t(index) >= timers_.Entries().size()) return;
    CTimerEntry edited = timers_.Entries()[std::size_t(index)];
    const TimerConflictCheck conflict = [this, index](const CTimerEntry& candidate) {
        return timers_.FindConflict(candidate, index);
    };
    if (!dialogs_->EditTimer(edited, TimerDialogMode::Edit, conflict)) return;
    timers_.Edit(index, edited.Settings());
    Refresh();
}

void CTimerListWindow::EditSelected() {
    const std::vector<int> selected = list_->SelectedItems();
    if (!selected.empty()) EditEntry(selected.front());
}

void CTimerListWindow::DeleteSelected() {
    const std::vector<int> selected = list_->SelectedItems();
    if (selected.empty()) return;
    const QString& question = selected.size() == 1 ? T::AskDeleteOne : T::AskDeleteSeveral;
    if (!dialogs_->AskYesNo(T::EditCaption, question)) return;
    timers_.Delete(selected);
    list_->clearSelection();
    Refresh();
}

void CTimerListWindow::DeleteAll() {
    if (timers_.Entries().empty()) return;
    if (!dialogs_->AskYesNo(T::EditCaption, T::AskDeleteSeveral)) return;
    timers_.DeleteAll();
    Refresh();
}

void CTimerListWindow::done(int result) {
    timers_.Save();
    list_->SaveWithWindow(*this, kGeometryKey);
    QDialog::done(result);
}
