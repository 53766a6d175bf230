#include "recording/windows/CPlayListWindow.h"

#include <QFile>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

#include "Allgemein/CGfxListCtrl.h"
#include "recording/CPlayListFile.h"
#include "recording/PlayListStore.h"
#include "recording/windows/PlayListCells.h"
#include "recording/windows/PlayListTexts.h"

namespace T = PlayListTexts;
namespace C = PlayListCells;

namespace {

const QString kGeometryKey = QStringLiteral("Window Placement/Wiedergabeliste");

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

CPlayListWindow::CPlayListWindow(CPlayListFile& list, std::string dataFile, IVcrCommandSink& vcr,
                                 QWidget* parent)
    : QDialog(parent),
      playList_(list),
      dataFile_(std::move(dataFile)),
      vcr_(vcr),
      ownDialogs_(this),
      dialogs_(&ownDialogs_) {
    setWindowTitle(T::WindowTitle);
    setModal(false);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    BuildList();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(list_);
    commandGap_.setSingleShot(true);
    commandGap_.setTimerType(Qt::PreciseTimer);  // never early: the bar wants the full gap
    commandGap_.setInterval(CommandGapMs);
    connect(&commandGap_, &QTimer::timeout, this, &CPlayListWindow::PostNextCommand);
    resize(1130, 320);
    CGfxListCtrl::RestoreWindow(*this, kGeometryKey);
    Refresh();
}

void CPlayListWindow::BuildList() {
    list_ = new CGfxListCtrl(this);
    list_->setObjectName(T::ListName);
    list_->SetListName(T::ListName);
    list_->DefineColumnsInOrder({{T::ColumnNr, CColumnDef::Left, 40},
                                 {T::ColumnFileName, CColumnDef::Left, 340},
                                 {T::ColumnPlayLength, CColumnDef::Right, 95},
                                 {T::ColumnLastPlayed, CColumnDef::Left, 230},
                                 {T::ColumnRepetitions, CColumnDef::Right, 150},
                                 {T::ColumnPause, CColumnDef::Right, 85},
                                 {T::ColumnStatus, CColumnDef::Left, 150}});
    list_->Model()->SetCellText([this](int, quintptr data, int column) {
        const std::size_t index = data;
        return index < playList_.entries.size()
                   ? C::Cell(playList_.entries[index], int(index), column)
                   : QString();
    });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, &CPlayListWindow::ShowContextMenu);
    connect(list_, &CGfxListCtrl::deletePressed, this, &CPlayListWindow::DeleteSelected);
    connect(list_, &CGfxListCtrl::rowDoubleClicked, this, &CPlayListWindow::EditEntry);
}

void CPlayListWindow::Refresh() { list_->ShowIndexedRows(playList_.entries.size()); }

std::unique_ptr<QMenu> CPlayListWindow::MakeContextMenu() {
    auto menu = std::make_unique<QMenu>(T::MenuTitle, this);
    const bool selection = !list_->SelectedItems().empty();
    const bool entries = !playList_.entries.empty();
    menu->addAction(T::MenuInsert, this, &CPlayListWindow::InsertEntry);
    menu->addAction(T::MenuEdit, this, &CPlayListWindow::EditSelected)->setEnabled(selection);
    menu->addAction(T::MenuDeleteSelected, this, &CPlayListWindow::DeleteSelected)
        ->setEnabled(selection);
    menu->addAction(T::MenuDeleteAll, this, &CPlayListWindow::DeleteAll)->setEnabled(entries);
    menu->addSeparator();
    menu->addAction(T::MenuLoad, this, &CPlayListWindow::LoadList);
    menu->addAction(T::MenuSave, this, &CPlayListWindow::SaveList);
    menu->addSeparator();
    menu->addAction(T::MenuPlay, this, &CPlayListWindow::PlaySelected)->setEnabled(selection);
    return menu;
}

void CPlayListWindow::ShowContextMenu(const QPoint& pos) {
    MakeContextMenu()->exec(list_->viewport()->mapToGlobal(pos));
}

void CPlayListWindow::InsertEntry() {
    CPlayListEntry entry;
    entry.lastPlayed = LocalDateTime::FromLocal(QDateTime::currentDateTime());
    if (!dialogs_->EditEntry(entry)) return;
    entry.status = CPlayListEntry::Stopped;
    entry.reserved = 0;
    playList_.entries.push_back(entry);
    Refresh();
    list_->SelectItems({int(playList_.entries.size()) - 1});
}

void CPlayListWindow::EditEntry(int index) {
    if (index < 0 || std::size_t(index) >= playList_.entries.size()) return;
    CPlayListEntry edited = playList_.entries[std::size_t(index)];
    if (!dialogs_->EditEntry(edited)) return;
    // The list may have changed while the dialog was open (the VCR bar plays on).
    if (std::size_t(index) >= playList_.entries.size()) return;
    edited.status = CPlayListEntry::Stopped;
    edited.reserved = 0;
    playList_.entries[std::size_t(index)] = edited;
    Refresh();
}

void CPlayListWindow::EditSelected() {
    const std::vector<int> selected = list_->SelectedItems();
    if (!selected.empty()) EditEntry(selected.front());
}

void CPlayListWindow::DeleteSelected() {
    std::vector<int> selected = list_->SelectedItems();
    if (selected.empty()) return;
    const QString& question = selected.size() == 1 ? T::AskDeleteOne : T::AskDeleteSeveral;
    if (!dialogs_->AskYesNo(T::EditCaption, question)) return;
    std::sort(selected.rbegin(), selected.rend());
    auto& entries = playList_.entries;
    for (int index : selected)
        if (std::size_t(index) < entries.size()) entries.erase(entries.begin() + index);
    list_->clearSelection();
    Refresh();
}

bool CPlayListWindow::DeleteAll() {
    if (playList_.entries.empty()) return true;
    if (!dialogs_->AskYesNo(T::EditCaption, T::AskDeleteAll)) return false;
    playList_.entries.clear();
    Refresh();
    return true;
}

void CPlayListWindow::LoadList() {
    if (!DeleteAll()) return;
    const QString path =
        dialogs_->AskFile({FileRequest::Mode::Open, T::OpenTitle, T::OpenFilters, {}, {}, {}});
    if (path.isEmpty()) return;
    if (LoadPlayListFrom(LocalPath(path), playList_, *dialogs_)) playList_.MarkAllStopped();
    Refresh();
}

void CPlayListWindow::SaveList() {
    const QString path = dialogs_->AskFile(
        {FileRequest::Mode::Save, T::SaveTitle, T::SaveFilters, T::ListSuffix, {}, {}});
    if (!path.isEmpty()) SavePlayList(LocalPath(path), playList_, *dialogs_);
}

void CPlayListWindow::PlaySelected() {
    const std::vector<int> selected = list_->SelectedItems();
    if (selected.empty()) return;
    playIndex_ = std::uint32_t(selected.front());
    pendingCommands_ = {VcrCommand::Close, VcrCommand::Play};
    vcr_.PostVcrCommand(VcrCommand::Stop, playIndex_);
    commandGap_.start();
}

void CPlayListWindow::PostNextCommand() {
    if (pendingCommands_.empty()) return;
    const VcrCommand code = pendingCommands_.front();
    pendingCommands_.pop_front();
    vcr_.PostVcrCommand(code, playIndex_);
    if (!pendingCommands_.empty()) commandGap_.start();
}

void CPlayListWindow::done(int result) {
    SavePlayList(dataFile_, playList_, *dialogs_);
    list_->SaveWithWindow(*this, kGeometryKey);
    QDialog::done(result);
}

void CPlayListWindow::showEvent(QShowEvent* event) {
    Refresh();
    QDialog::showEvent(event);
}
