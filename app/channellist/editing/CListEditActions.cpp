#include "channellist/editing/CListEditActions.h"

#include <QAction>
#include <QFileDialog>
#include <QKeySequence>
#include <QWidget>

#include "channellist/editing/CFindDialog.h"
#include "channellist/editing/CListEditor.h"
#include "channellist/editing/CListPrintController.h"
#include "channellist/editing/CReplaceDialog.h"
#include "channellist/editing/EditTexts.h"
#include "channellist/editing/IListEditHost.h"
#include "common/CommandIds.h"

CListEditActions::CListEditActions(CListEditor& editor, CListPrintController& printing,
                                   QSettings& settings, QWidget* window)
    : QObject(window), editor_(editor), printing_(printing), settings_(settings), window_(window) {
    CListEditor& e = editor_;
    QUndoStack* undo = e.UndoStack();
    Define(Cmd::EditSelectAll, EditText::SelectAll, {Qt::CTRL | Qt::Key_A},
           {[&e] { e.SelectAll(); }, [&e] { return e.CanSelectAll(); }});
    Define(Cmd::EditCopy, EditText::Copy, {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert},
           {[&e] { e.Copy(); }, [&e] { return e.CanCopy(); }});
    Define(Cmd::EditCut, EditText::Cut, {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete},
           {[&e] { e.Cut(); }, [&e] { return e.CanCut(); }});
    Define(Cmd::EditPaste, EditText::Paste, {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert},
           {[&e] { e.Paste(); }, [&e] { return e.CanPaste(); }});
    Define(Cmd::EditReplace, EditText::Replace, {Qt::CTRL | Qt::Key_H},
           {[this] { OpenReplace(); }, [&e] { return e.CanReplace(); }});
    Define(Cmd::EditFind, EditText::Find, {Qt::CTRL | Qt::Key_F},
           {[this] { OpenFind(); }, [&e] { return e.CanFind(); }});
    Define(Cmd::EditUndo, EditText::Undo, {Qt::CTRL | Qt::Key_Z},
           {[undo] { undo->undo(); }, [undo] { return undo->canUndo(); }});
    Define(Cmd::EditRedo, EditText::Redo, {Qt::CTRL | Qt::Key_Y},
           {[undo] { undo->redo(); }, [undo] { return undo->canRedo(); }});
    using ProgramListOps::Move;
    const auto canMove = [&e] { return e.CanMove(); };
    Define(Cmd::MoveUp, EditText::MoveUp, {Qt::ALT | Qt::Key_Up},
           {[&e] { e.MoveSelected(Move::Up); }, canMove});
    Define(Cmd::MoveDown, EditText::MoveDown, {Qt::ALT | Qt::Key_Down},
           {[&e] { e.MoveSelected(Move::Down); }, canMove});
    Define(Cmd::MoveToTop, EditText::MoveToTop, {},
           {[&e] { e.MoveSelected(Move::ToTop); }, canMove});
    Define(Cmd::MoveToEnd, EditText::MoveToEnd, {},
           {[&e] { e.MoveSelected(Move::ToEnd); }, canMove});
    Define(Cmd::SelectDuplicates, EditText::Duplicates, {},
           {[&e] { e.SelectDuplicates(); }, [&e] { return e.CanReorder(); }});
    Define(Cmd::ApplyReferenceOrder, EditText::ApplyReference, {},
           {[this] { OpenReference(); }, [&e] { return e.CanReorder(); }});
    Define(Cmd::FilePrint, EditText::Print, {Qt::CTRL | Qt::Key_P},
           {[this] { printing_.Print(); }, [] { return true; }});
    Define(Cmd::FilePrintPreview, EditText::PrintPreview, {},
           {[this] { printing_.PrintPreview(); }, [] { return true; }});
    Define(Cmd::FilePrintSetup, EditText::PrintSetup, {},
           {[this] { printing_.PrinterSetup(); }, [] { return true; }});

    delete_ = new QAction(QStringLiteral("Löschen"), this);
    delete_->setShortcut(QKeySequence(Qt::Key_Delete));
    delete_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(delete_, &QAction::triggered, this, [&e] { e.Delete(); });

    connect(&editor_, &CListEditor::AvailabilityChanged, this, &CListEditActions::UpdateEnabled);
    UpdateEnabled();
}

void CListEditActions::Define(int id, const char* text, const QList<QKeyCombination>& keys,
                              Command command) {
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setData(id);
    QList<QKeySequence> shortcuts;
    for (const QKeyCombination key : keys) shortcuts << QKeySequence(key);
    action->setShortcuts(shortcuts);
    connect(action, &QAction::triggered, this, [this, id] { Trigger(id); });
    commands_[id] = std::move(command);
    own_[id] = action;
}

QAction* CListEditActions::Action(int id) const {
    const auto it = own_.find(id);
    return it == own_.end() ? nullptr : it->second;
}

void CListEditActions::Attach(const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        bool ok = false;
        const int id = action->data().toInt(&ok);
        if (!ok || !commands_.count(id)) continue;
        connect(action, &QAction::triggered, this, [this, id] { Trigger(id); });
        attached_.emplace_back(id, action);
    }
    UpdateEnabled();
}

void CListEditActions::Trigger(int id) {
    const auto it = commands_.find(id);
    if (it == commands_.end() || !it->second.available()) return;
    it->second.run();
    UpdateEnabled();
}

bool CListEditActions::Available(int id) const {
    const auto it = commands_.find(id);
    return it != commands_.end() && it->second.available();
}

void CListEditActions::UpdateEnabled() {
    for (const auto& [id, action] : own_) action->setEnabled(commands_[id].available());
    for (const auto& [id, action] : attached_) {
        if (action) action->setEnabled(commands_[id].available());
    }
    delete_->setEnabled(editor_.CanDelete());
}

void CListEditActions::OpenReference() {
    if (editor_.RefusesReordering()) return;
    const QString path =
        QFileDialog::getOpenFileName(window_, QString::fromUtf8(EditText::ReferenceCaption),
                                     QString(), QString::fromUtf8(EditText::ReferenceFilter));
    if (!path.isEmpty()) editor_.ApplyReferenceFile(path);
}

void CListEditActions::OpenReplace() { CReplaceDialog::Run(editor_, settings_, window_); }

void CListEditActions::OpenFind() {
    CFindDialog dialog(editor_, window_);
    dialog.SetText(lastFindText_);
    dialog.exec();
    lastFindText_ = dialog.Text();
}
