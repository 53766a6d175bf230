#include "frame/view/CSVL_EditorView.h"

#include <QMenu>
#include <QMetaMethod>
#include <QSettings>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_set>

#include "Allgemein/CGfxListCtrl.h"
#include "channellist/CSVLFile.h"
#include "common/CommandIds.h"
#include "common/CommonTexts.h"
#include "common/PrivateMessages.h"
#include "frame/view/CMainListColumns.h"
#include "frame/view/CProgramKindIcons.h"

namespace {

// PID display option of the settings store (stored under this name on purpose).
bool ReadPidHexSetting() {
    QSettings s;
    return s.value(QStringLiteral("Einstellungen/Verwendete API"), 0).toInt() == 1;
}

}  // namespace

CSVL_EditorView::CSVL_EditorView(QWidget* parent)
    : QWidget(parent), ctrl_(new CGfxListCtrl(this)), pidHex_(ReadPidHexSetting()) {
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(ctrl_);
    SetupList();
    // The settings are known from the start, so that closing a view that was
    // never filled writes back what was stored rather than defaults.
    settings_ = CViewSettings::Read();
    PrivateMessages::Register(Msg::ProgramFilter, this);
    // Remote keys, program steps and guide pages are posted to the view.
    PrivateMessages::RegisterWindow(MessageWindow::View, this);
}

CSVL_EditorView::~CSVL_EditorView() {
    settings_.Write();
    saveLayout();
}

void CSVL_EditorView::SetupList() {
    ctrl_->SetListName(CMainListColumns::ListName());
    const CColumnLayout builtIn = CMainListColumns::BuiltInLayout();
    for (const CColumnDef& d : builtIn.Definitions()) ctrl_->DefineColumn(d);
    ctrl_->SetBuiltInShown(builtIn.Shown());
    ctrl_->LoadLayout();

    CGfxListModel* model = ctrl_->Model();
    model->SetImages(CProgramKindIcons::Icons());
    model->SetCellText([this](int item, quintptr data, int id) {
        const auto* p = reinterpret_cast<const CProgramInfo*>(data);
        return CMainListColumns::CellText(*p, DocIndexOfItem(item), id, pidHex_);
    });
    model->SetCategory(
        [](int, quintptr data) { return reinterpret_cast<const CProgramInfo*>(data)->Provider; },
        &CMainListColumns::CategoryHeader);
    ctrl_->SetCategoryMode(true);

    ctrl_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ctrl_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        createContextMenu()->exec(ctrl_->viewport()->mapToGlobal(pos));
    });
    connect(ctrl_, &CGfxListCtrl::rowDoubleClicked, this, &CSVL_EditorView::OnDoubleClick);
    connect(ctrl_, &CGfxListCtrl::deletePressed, this, &CSVL_EditorView::deleteSelectedRequested);
    ctrl_->SetRowDragging(true);
    connect(ctrl_, &CGfxListCtrl::rowsDropped, this, [this](int item) {
        const int count = int(ctrl_->Model()->Items().size());
        const int index = item >= 0 && item < count ? DocIndexOfItem(item) : -1;
        const qlonglong size = list_ ? qlonglong(list_->Programs.size()) : 0;
        emit dropBeforeRequested(index >= 0 ? qlonglong(index) : size);
    });
}

void CSVL_EditorView::setDocumentList(CSVLFile* list) {
    list_ = list;
    rowDoc_.clear();
    ctrl_->Model()->Clear();
}

void CSVL_EditorView::OnUpdate() {
    settings_ = CViewSettings::Read();
    busy_ = true;
    CGfxListModel* model = ctrl_->Model();
    model->SetBusy(true);
    emit listRefilling();

    int& filter = settings_.programFilter;
    if (filter < 0 || filter > 3) filter = 0;
    emit programFilterShown(filter);

    const bool category = model->CategoryMode();
    ctrl_->setUpdatesEnabled(false);
    model->SetCategoryMode(false);
    model->Clear();
    const qlonglong count = list_ ? qlonglong(list_->Programs.size()) : 0;
    emit programCountText(CommonText::ProgramCount(count));
    FillRows();
    model->SetCategoryMode(category);
    ctrl_->setUpdatesEnabled(true);

    const int last = settings_.LastProgramFor(filter);
    if (last >= 0 && last < count) emit switchToProgramRequested(last);

    settings_.Write();
    model->SetBusy(false);
    busy_ = false;
}

void CSVL_EditorView::FillRows() {
    std::vector<quintptr> items;
    rowDoc_.clear();
    if (list_) {
        const auto& programs = list_->Programs;
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const CProgramInfo* p = programs[i].get();
            if (!p || !CMainListColumns::FilterAdmits(settings_.programFilter, p->ProgramType) ||
                !quickFilter_.Admits(*p))
                continue;
            items.push_back(reinterpret_cast<quintptr>(p));
            rowDoc_.push_back(int(i));
        }
    }
    ctrl_->SetItems(std::move(items));
}

void CSVL_EditorView::setQuickFilter(const QString& text) {
    quickFilter_ = CQuickFilter(text);
    refreshRows();
}

void CSVL_EditorView::refreshRows() {
    std::unordered_set<quintptr> selected;
    for (int item : ctrl_->SelectedItems())
        selected.insert(ctrl_->Model()->Items()[std::size_t(item)]);
    FillRows();
    std::vector<int> reselect;
    const auto& items = ctrl_->Model()->Items();
    for (int item = 0; item < int(items.size()) && !selected.empty(); ++item)
        if (selected.count(items[std::size_t(item)])) reselect.push_back(item);
    ctrl_->SelectItems(reselect);
    const qlonglong count = list_ ? qlonglong(list_->Programs.size()) : 0;
    emit programCountText(CommonText::ProgramCount(count));
}

void CSVL_EditorView::setPidHexDisplay(bool hex) {
    if (hex == pidHex_) return;
    pidHex_ = hex;
    ctrl_->Model()->RefreshCells();
}

void CSVL_EditorView::saveLayout() { ctrl_->SaveLayout(); }

void CSVL_EditorView::setCategoryMode(bool on) { ctrl_->SetCategoryMode(on); }

bool CSVL_EditorView::categoryMode() const { return ctrl_->CategoryMode(); }

void CSVL_EditorView::setProgramFilter(int filter) {
    settings_.programFilter = filter;
    settings_.Write();
    OnUpdate();
}

const CProgramInfo* CSVL_EditorView::ProgramOfItem(int item) const {
    const auto& items = ctrl_->Model()->Items();
    if (item < 0 || item >= int(items.size())) return nullptr;
    return reinterpret_cast<const CProgramInfo*>(items[std::size_t(item)]);
}

int CSVL_EditorView::DocIndexOfItem(int item) const {
    return item >= 0 && item < int(rowDoc_.size()) ? rowDoc_[std::size_t(item)] : -1;
}

int CSVL_EditorView::indexOfProgram(const CProgramInfo* program) const {
    if (!list_ || !program) return -1;
    const auto& programs = list_->Programs;
    for (std::size_t i = 0; i < programs.size(); ++i)
        if (programs[i].get() == program) return int(i);
    return -1;
}

std::vector<int> CSVL_EditorView::selectedProgramIndexes() const {
    std::vector<int> out;
    for (int item : ctrl_->SelectedItems()) {
        // The index of the last fill is checked against the list, which may
        // have changed since; then the program is looked up by identity.
        const CProgramInfo* p = ProgramOfItem(item);
        int index = DocIndexOfItem(item);
        if (!list_ || index < 0 || index >= int(list_->Programs.size()) ||
            list_->Programs[std::size_t(index)].get() != p)
            index = indexOfProgram(p);
        if (index >= 0) out.push_back(index);
    }
    return out;
}

void CSVL_EditorView::rememberProgram(int index) {
    settings_.LastProgramFor(settings_.programFilter) = index;
    settings_.Write();
}

void CSVL_EditorView::chooseSelectedPrograms() {
    for (int item : ctrl_->SelectedRowItems()) {
        if (item < 0) break;  // a header row ends the processing
        const int index = indexOfProgram(ProgramOfItem(item));
        if (index < 0) continue;  // no longer in the list: nothing to tune
        rememberProgram(index);
        emit switchToProgramRequested(index);
    }
}

void CSVL_EditorView::ForEachSelected(void (CSVL_EditorView::*signal)(int)) {
    for (int item : ctrl_->SelectedRowItems()) {
        if (item < 0) break;
        const int index = indexOfProgram(ProgramOfItem(item));
        if (index >= 0) emit(this->*signal)(index);
    }
}

void CSVL_EditorView::OnDoubleClick(int item) {
    if (item < 0) return;  // header rows only collapse or expand
    const int index = indexOfProgram(ProgramOfItem(item));
    if (index >= 0) emit rowDoubleClicked(index);
    if (editMode_)
        editSelectedPrograms();
    else
        chooseSelectedPrograms();
}

QAction* CSVL_EditorView::AddMenuAction(QMenu& menu, const QString& text, int command,
                                        bool available) {
    QAction* a = menu.addAction(text);
    a->setData(command);
    a->setEnabled(available);
    return a;
}

std::unique_ptr<QMenu> CSVL_EditorView::createContextMenu() {
    auto menu = std::make_unique<QMenu>(QStringLiteral("Senderliste"), this);
    const bool any = !ctrl_->SelectedItems().empty();
    auto wired = [this](auto signal) { return isSignalConnected(QMetaMethod::fromSignal(signal)); };
    const bool editing = any && !categoryMode() && wired(&CSVL_EditorView::editCommandRequested);

    connect(AddMenuAction(*menu, QStringLiteral("Zum selektierten Programm schalten"),
                          Cmd::SwitchToSelected,
                          any && wired(&CSVL_EditorView::switchToProgramRequested)),
            &QAction::triggered, this, &CSVL_EditorView::chooseSelectedPrograms);
    connect(AddMenuAction(*menu, QStringLiteral("Zur Timerliste addieren"), Cmd::AddToTimerList,
                          any && wired(&CSVL_EditorView::addToTimerListRequested)),
            &QAction::triggered, this,
            [this] { ForEachSelected(&CSVL_EditorView::addToTimerListRequested); });
    menu->addSeparator();
    connect(AddMenuAction(*menu, QStringLiteral("Programm bearbeiten"), Cmd::EditProgram,
                          any && wired(&CSVL_EditorView::editProgramRequested)),
            &QAction::triggered, this, &CSVL_EditorView::editSelectedPrograms);
    connect(AddMenuAction(*menu, QStringLiteral("Streams anzeigen"), Cmd::ShowStreams,
                          any && wired(&CSVL_EditorView::showStreamsRequested)),
            &QAction::triggered, this,
            [this] { ForEachSelected(&CSVL_EditorView::showStreamsRequested); });
    menu->addSeparator();
    const std::pair<const char*, int> edits[] = {{"Ausschneiden", Cmd::EditCut},
                                                 {"Kopieren", Cmd::EditCopy},
                                                 {"Einfügen", Cmd::EditPaste},
                                                 {"Löschen", Cmd::ListDelete}};
    for (const auto& [text, command] : edits) {
        const bool available = !commandAvailable_ || commandAvailable_(command);
        connect(AddMenuAction(*menu, QString::fromUtf8(text), command, editing && available),
                &QAction::triggered, this, [this, c = command] { emit editCommandRequested(c); });
    }
    return menu;
}

bool CSVL_EditorView::event(QEvent* e) {
    if (PrivateMessageEvent::IsPrivate(e)) {
        const auto* m = static_cast<PrivateMessageEvent*>(e);
        if (m->number() == Msg::ProgramFilter) {
            setProgramFilter(int(m->wParam()));
            return true;
        }
    }
    return QWidget::event(e);
}
