#include "shell/CFrameEditBinding.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>

#include "Allgemein/CGfxListCtrl.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "channellist/editing/CListEditActions.h"
#include "channellist/editing/CListEditor.h"
#include "channellist/editing/CListPrintController.h"
#include "channellist/editing/CMessageBoxSink.h"
#include "channellist/editing/EditTexts.h"
#include "common/CommandIds.h"
#include "frame/CMainFrame.h"
#include "frame/view/CMainListColumns.h"
#include "frame/view/CSVL_EditorView.h"
#include "frame/view/ProgramSort.h"
#include "shell/CViewEditHost.h"

namespace {
// Commands the frame's menus carry and the editing library carries out.
constexpr int FrameCommands[] = {Cmd::EditSelectAll, Cmd::EditCopy,         Cmd::EditCut,
                                 Cmd::EditPaste,     Cmd::EditFind,         Cmd::EditReplace,
                                 Cmd::FilePrint,     Cmd::FilePrintPreview, Cmd::FilePrintSetup};
}  // namespace

CFrameEditBinding::CFrameEditBinding(CMainFrame& frame, CSVL_EditorDoc& doc) : QObject(&frame) {
    auto* view = qobject_cast<CSVL_EditorView*>(frame.View());
    if (!view) return;  // a frame without the list view: nothing to edit
    host_ = std::make_unique<CViewEditHost>(*view, doc);
    messages_ = std::make_unique<CMessageBoxSink>(&frame);
    editor_ = std::make_unique<CListEditor>(*host_, *messages_);
    printing_ = std::make_unique<CListPrintController>(*host_, *messages_, &frame);
    actions_ = new CListEditActions(*editor_, *printing_, settings_, &frame);
    BindFrameActions(frame);
    BindView(*view);
    BindDocument(doc);
}

CFrameEditBinding::~CFrameEditBinding() = default;

void CFrameEditBinding::BindFrameActions(CMainFrame& frame) {
    QList<QAction*> existing;
    for (const int id : FrameCommands) {
        QAction* action = frame.Action(id);
        if (!action) {
            frame.addAction(actions_->Action(id));  // shortcut still works
            continue;
        }
        // The menu's own texts stay; the second shortcuts and the find key are added here.
        const QAction* own = actions_->Action(id);
        action->setShortcuts(own->shortcuts());
        if (id == Cmd::EditFind) action->setText(QString::fromUtf8(EditText::Find));
        existing << action;
    }
    actions_->Attach(existing);

    // Undo and redo at the top of the menu that holds "Ausschneiden".
    QAction* undo = actions_->Action(Cmd::EditUndo);
    QAction* redo = actions_->Action(Cmd::EditRedo);
    QMenu* editMenu = nullptr;
    if (QAction* cut = frame.Action(Cmd::EditCut)) {
        for (QObject* owner : cut->associatedObjects())
            if ((editMenu = qobject_cast<QMenu*>(owner))) break;
    }
    const int moves[] = {Cmd::MoveUp,    Cmd::MoveDown,         Cmd::MoveToTop,
                         Cmd::MoveToEnd, Cmd::SelectDuplicates, Cmd::ApplyReferenceOrder};
    if (editMenu) {
        QAction* first = editMenu->actions().value(0);
        editMenu->insertAction(first, undo);
        editMenu->insertAction(first, redo);
        editMenu->insertSeparator(first);
        editMenu->addSeparator();
        for (const int id : moves) editMenu->addAction(actions_->Action(id));
        AddSortMenus(*editMenu);
    } else {
        frame.addAction(undo);
        frame.addAction(redo);
        for (const int id : moves) frame.addAction(actions_->Action(id));
    }
}

void CFrameEditBinding::AddSortMenus(QMenu& editMenu) {
    const CColumnLayout layout = CMainListColumns::BuiltInLayout();
    const std::vector<CColumnDef>& columns = layout.Definitions();
    for (const bool descending : {false, true}) {
        QMenu* menu = editMenu.addMenu(
            QString::fromUtf8(descending ? EditText::SortDescendingBy : EditText::SortBy));
        for (const int id : ProgramSort::SortableColumns()) {
            QAction* action = menu->addAction(columns.at(std::size_t(id)).DisplayName());
            connect(action, &QAction::triggered, this, [this, id, descending] {
                CSVLFile* list = host_->List();
                if (!list) return;
                editor_->ReorderListed(
                    [&](std::vector<std::size_t>& rows) {
                        ProgramSort::SortRows(*list, rows, id, descending);
                    },
                    QString::fromUtf8(EditText::UndoSort));
            });
        }
        connect(&editMenu, &QMenu::aboutToShow, menu,
                [this, menu] { menu->menuAction()->setEnabled(editor_->CanReorder()); });
    }
}

void CFrameEditBinding::BindView(CSVL_EditorView& view) {
    CGfxListCtrl* ctrl = view.listCtrl();
    connect(&view, &CSVL_EditorView::deleteSelectedRequested, editor_.get(), &CListEditor::Delete);
    connect(&view, &CSVL_EditorView::dropBeforeRequested, editor_.get(),
            [this](qlonglong index) { editor_->MoveSelectedBefore(std::size_t(index)); });
    connect(&view, &CSVL_EditorView::editCommandRequested, this, [this](int command) {
        if (command == Cmd::ListDelete) {
            editor_->Delete();
            return;
        }
        actions_->Trigger(command);
    });
    view.setCommandAvailability([this](int command) {
        return command == Cmd::ListDelete ? editor_->CanDelete() : actions_->Available(command);
    });
    connect(ctrl->selectionModel(), &QItemSelectionModel::selectionChanged, actions_,
            &CListEditActions::UpdateEnabled);
    connect(ctrl->model(), &QAbstractItemModel::modelReset, actions_,
            &CListEditActions::UpdateEnabled);
}

void CFrameEditBinding::BindDocument(CSVL_EditorDoc& doc) {
    // Another file in the document: the history belongs to the old list.
    connect(&doc, &CSVL_EditorDoc::documentChanged, editor_.get(), &CListEditor::ResetHistory);
    // Saved (or opened): undoing back to here means unchanged again.
    connect(&doc, &CSVL_EditorDoc::modifiedChanged, editor_.get(), [this](bool modified) {
        if (!modified) editor_->MarkSaved();
    });
    connect(&doc, &CSVL_EditorDoc::modifiedChanged, actions_, &CListEditActions::UpdateEnabled);
}
