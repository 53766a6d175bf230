#include "guide/windows/CScheduleListWindow.h"

#include <QMenu>
#include <QShortcut>
#include <QShowEvent>

#include "Allgemein/CGfxListCtrl.h"
#include "guide/windows/GuideCells.h"
#include "guide/windows/GuideSearch.h"
#include "guide/windows/GuideWindowTexts.h"

namespace T = GuideWindowTexts;

CScheduleListWindow::CScheduleListWindow(ScheduleWindowHooks hooks, QWidget* parent)
    : CEventListDialog(T::ScheduleListName, std::move(hooks), parent) {
    setObjectName(T::ScheduleObjectName);
    setWindowTitle(T::TitleEmpty);
    setModal(true);
    List().SetCategoryMode(true);
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, this, &CScheduleListWindow::Search);
}

CScheduleListWindow::~CScheduleListWindow() { StopReception(); }

void CScheduleListWindow::showEvent(QShowEvent* event) {
    if (!receiving_ && !event->spontaneous()) {
        receiving_ = true;
        if (hooks_.startReception) hooks_.startReception();
        Reload();
    }
    CEventListDialog::showEvent(event);
}

void CScheduleListWindow::done(int result) {
    StopReception();
    CEventListDialog::done(result);
}

void CScheduleListWindow::StopReception() {
    if (!receiving_) return;
    receiving_ = false;
    if (hooks_.stopReception) hooks_.stopReception();
}

void CScheduleListWindow::Reload() {
    SetRecords(hooks_.records ? hooks_.records() : std::vector<const CEPGInfo*>());
    setWindowTitle(GuideCells::WindowTitle(Records()));
}

std::unique_ptr<QMenu> CScheduleListWindow::MakeContextMenu() {
    auto menu = std::make_unique<QMenu>(T::MenuTitle, this);
    AddEventActions(*menu);
    menu->addSeparator();
    QAction* categories =
        menu->addAction(T::MenuCategories, this, &CScheduleListWindow::ToggleCategoryView);
    categories->setCheckable(true);
    categories->setChecked(List().CategoryMode());
    menu->addAction(T::MenuReload, this, &CScheduleListWindow::Reload);
    menu->addSeparator();
    menu->addAction(T::MenuSearch, this, &CScheduleListWindow::Search)
        ->setEnabled(!Records().empty());
    return menu;
}

void CScheduleListWindow::ToggleCategoryView() { List().SetCategoryMode(!List().CategoryMode()); }

void CScheduleListWindow::Search() {
    const std::optional<QString> text = dialogs_->AskSearchText(this);
    if (!text || text->trimmed().isEmpty()) return;
    std::vector<const CEPGInfo*> hits = GuideSearch::Find(Records(), *text);
    if (hits.empty())
        dialogs_->TellNothingFound(this);
    else
        dialogs_->ShowResults(std::move(hits), this);
}
