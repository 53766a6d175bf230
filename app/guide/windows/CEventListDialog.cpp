#include "guide/windows/CEventListDialog.h"

#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>
#include <optional>
#include <set>
#include <tuple>

#include "Allgemein/CGfxListCtrl.h"
#include "guide/CEPGInfo.h"
#include "guide/windows/GuideCells.h"
#include "guide/windows/GuideWindowTexts.h"

namespace T = GuideWindowTexts;
namespace C = GuideCells;

namespace {

// An event found again in a refetched list: its program, name and start.
using EventKey = std::tuple<std::string, std::string, double>;

EventKey KeyOf(const CEPGInfo& record) {
    return {record.ServiceName, record.EventName, record.Start.days};
}

}  // namespace

CEventListDialog::CEventListDialog(const QString& listName, ScheduleWindowHooks hooks,
                                   QWidget* parent)
    : QDialog(parent), hooks_(std::move(hooks)), dialogs_(&ownDialogs_), ownDialogs_(hooks_) {
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    BuildList(listName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(list_);
    resize(960, 480);
}

CEventListDialog::~CEventListDialog() { list_->SaveLayout(); }

void CEventListDialog::BuildList(const QString& listName) {
    list_ = new CGfxListCtrl(this);
    list_->setObjectName(listName);
    list_->SetListName(listName);
    static const QString kNone;
    list_->DefineColumnsInOrder({{kNone, CColumnDef::Left, 0},
                                 {T::ColumnNr, CColumnDef::Right, 50},
                                 {T::ColumnService, CColumnDef::Left, 100},
                                 {T::ColumnStart, CColumnDef::Left, 50},
                                 {T::ColumnDuration, CColumnDef::Left, 200},
                                 {T::ColumnEvent, CColumnDef::Left, 200},
                                 {T::ColumnShortText, CColumnDef::Left, 200},
                                 {T::ColumnRating, CColumnDef::Left, 120}});
    list_->Model()->SetCellText([this](int item, quintptr, int column) {
        const CEPGInfo* record = std::size_t(item) < records_.size() ? records_[item] : nullptr;
        return C::Cell(record, item, column);
    });
    list_->Model()->SetCategory(
        [this](int item, quintptr) {
            const CEPGInfo* record = records_[std::size_t(item)];
            return C::CategoryName(record ? record->ContentHigh : 0).toStdString();
        },
        [](const std::string& key, int) { return QString::fromStdString(key); });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        MakeContextMenu()->exec(list_->viewport()->mapToGlobal(pos));
    });
    connect(list_, &CGfxListCtrl::rowDoubleClicked, this, &CEventListDialog::ShowDetailOf);
}

std::vector<const CEPGInfo*> CEventListDialog::SelectedRecords() const {
    std::vector<const CEPGInfo*> selected;
    for (int item : list_->SelectedItems())
        if (std::size_t(item) < records_.size() && records_[std::size_t(item)])
            selected.push_back(records_[std::size_t(item)]);
    return selected;
}

int CEventListDialog::TopItem() const {
    QModelIndex row = list_->indexAt(QPoint(1, 1));
    while (row.isValid() && list_->Model()->ItemOf(row) < 0) row = list_->indexBelow(row);
    return list_->Model()->ItemOf(row);
}

void CEventListDialog::SetRecords(std::vector<const CEPGInfo*> records) {
    std::set<EventKey> selectedKeys;
    for (const CEPGInfo* record : SelectedRecords()) selectedKeys.insert(KeyOf(*record));
    const int top = TopItem();
    std::optional<EventKey> topKey;
    if (top >= 0 && records_[std::size_t(top)]) topKey = KeyOf(*records_[std::size_t(top)]);
    const int scroll = list_->verticalScrollBar()->value();

    records_ = std::move(records);
    std::vector<quintptr> items(records_.size());
    std::vector<int> select;
    int newTop = -1;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        items[i] = i;
        if (!records_[i] || (selectedKeys.empty() && !topKey)) continue;
        const EventKey key = KeyOf(*records_[i]);
        if (selectedKeys.count(key)) select.push_back(int(i));
        if (newTop < 0 && topKey == key) newTop = int(i);
    }
    list_->SetItems(std::move(items));
    if (!select.empty()) list_->SelectItems(select);
    if (newTop < 0 && scroll == 0) return;
    list_->doItemsLayout();  // the scroll range of the new rows
    if (newTop >= 0)
        list_->scrollTo(list_->Model()->IndexOfItem(newTop), QAbstractItemView::PositionAtTop);
    else
        list_->verticalScrollBar()->setValue(scroll);
}

std::unique_ptr<QMenu> CEventListDialog::MakeContextMenu() {
    auto menu = std::make_unique<QMenu>(T::MenuTitle, this);
    AddEventActions(*menu);
    return menu;
}

void CEventListDialog::AddEventActions(QMenu& menu) {
    const bool selection = !SelectedRecords().empty();
    menu.addAction(T::MenuAddToTimers, this, &CEventListDialog::AddSelectedToTimerList)
        ->setEnabled(selection);
    menu.addAction(T::MenuDetail, this, &CEventListDialog::ShowSelectedDetail)
        ->setEnabled(selection);
}

void CEventListDialog::AddSelectedToTimerList() {
    if (!hooks_.addToTimerList) return;
    // The guide's list does not change with the timer list, so what the
    // timer dialog answered needs no follow-up here.
    for (const CEPGInfo* record : SelectedRecords()) hooks_.addToTimerList(*record);
}

void CEventListDialog::ShowSelectedDetail() {
    const std::vector<const CEPGInfo*> selected = SelectedRecords();
    if (!selected.empty()) dialogs_->ShowDetail(*selected.front(), this);
}

void CEventListDialog::ShowDetailOf(int item) {
    if (item < 0 || std::size_t(item) >= records_.size() || !records_[std::size_t(item)]) return;
    dialogs_->ShowDetail(*records_[std::size_t(item)], this);
}
