#include "channellist/editing/CListEditor.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"
#include "channellist/ClipboardBlock.h"
#include "channellist/ReferenceOrder.h"
#include "channellist/editing/CInsertProgramsCommand.h"
#include "channellist/editing/CProgramClipboard.h"
#include "channellist/editing/CRemoveProgramsCommand.h"
#include "channellist/editing/CReorderCommand.h"
#include "channellist/editing/CSwapProgramCommand.h"
#include "channellist/editing/CTextEditCommand.h"
#include "channellist/editing/EditTexts.h"
#include "channellist/editing/IListEditHost.h"
#include "channellist/editing/IMessageSink.h"

namespace {
QString Text(const char* utf8) { return QString::fromUtf8(utf8); }
}  // namespace

CListEditor::CListEditor(IListEditHost& host, IMessageSink& messages, QObject* parent)
    : QObject(parent), host_(host), messages_(messages) {
    connect(&undo_, &QUndoStack::indexChanged, this, [this] {
        host_.SetModified(!undo_.isClean());
        emit AvailabilityChanged();
    });
    connect(&undo_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { host_.SetModified(!clean); });
    if (auto* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] {
            clipboardHasBlock_.reset();
            emit AvailabilityChanged();
        });
}

CListEditor::~CListEditor() {
    // The stack empties itself when it is destroyed; that is no change of the document.
    QObject::disconnect(&undo_, nullptr, this, nullptr);
}

bool CListEditor::CanSelectAll() const { return !host_.IsCategoryMode() && host_.RowCount() > 0; }

bool CListEditor::CanCopy() const {
    return !host_.IsCategoryMode() && !host_.SelectedProgramIndexes().empty();
}

bool CListEditor::CanPaste() const {
    const CSVLFile* list = host_.List();
    return !host_.IsCategoryMode() && list && list->Loaded && ClipboardHasBlock();
}

bool CListEditor::ClipboardHasBlock() const {
    if (!clipboardHasBlock_) clipboardHasBlock_ = CProgramClipboard::HasBlock();
    return *clipboardHasBlock_;
}

bool CListEditor::CanDelete() const {
    return host_.List() && !host_.SelectedProgramIndexes().empty();
}

void CListEditor::SelectAll() {
    if (CanSelectAll()) host_.SelectAllRows();
}

std::vector<std::size_t> CListEditor::CollectForCopy(std::vector<const CProgramInfo*>& programs) {
    std::vector<std::size_t> copied;
    const CSVLFile* list = host_.List();
    bool failed = false;
    for (const std::size_t index : host_.SelectedProgramIndexes()) {
        const CProgramInfo* program =
            list && index < list->Programs.size() ? list->Programs[index].get() : nullptr;
        if (!program) {
            messages_.Show(IMessageSink::Icon::Error, Text(EditText::NullProgramCaption),
                           Text(EditText::NullProgram));
            failed = true;
            continue;
        }
        programs.push_back(program);
        copied.push_back(index);
    }
    if (programs.empty()) {
        messages_.Show(IMessageSink::Icon::Warning, Text(EditText::AppTitle),
                       Text(EditText::NothingCopied));
    } else if (failed) {
        messages_.Show(IMessageSink::Icon::Warning, Text(EditText::AppTitle),
                       Text(EditText::CopyFailed));
    }
    return copied;
}

std::size_t CListEditor::Copy() {
    if (!CanCopy()) return 0;
    std::vector<const CProgramInfo*> programs;
    CollectForCopy(programs);
    if (programs.empty()) return 0;  // keep whatever the clipboard held
    const auto block = EncodeClipboardBlock(programs);
    CProgramClipboard::Put(
        QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())));
    return programs.size();
}

void CListEditor::Cut() {
    if (!CanCut()) return;
    std::vector<const CProgramInfo*> programs;
    std::vector<std::size_t> copied = CollectForCopy(programs);
    if (programs.empty()) return;
    const auto block = EncodeClipboardBlock(programs);
    CProgramClipboard::Put(
        QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())));
    // Only what reached the clipboard leaves the list.
    undo_.push(new CRemoveProgramsCommand(host_, *host_.List(), std::move(copied),
                                          Text(EditText::UndoCut)));
}

void CListEditor::Paste() {
    if (!CanPaste()) return;
    const auto block = CProgramClipboard::Get();
    if (!block) return;
    PasteBlock(std::span(reinterpret_cast<const std::uint8_t*>(block->constData()),
                         std::size_t(block->size())));
}

std::size_t CListEditor::PasteBlock(std::span<const std::uint8_t> block) {
    CSVLFile* list = host_.List();
    if (!list) return 0;
    DecodedClipboardBlock decoded = DecodeClipboardBlock(block);
    if (decoded.programs.empty()) return 0;
    const std::vector<std::size_t> selected = host_.SelectedProgramIndexes();
    std::size_t position = list->Programs.size();
    if (!selected.empty() && selected.front() < list->Programs.size())
        position = selected.front() + 1;
    const std::size_t count = decoded.programs.size();
    undo_.push(new CInsertProgramsCommand(host_, *list, position, std::move(decoded.programs),
                                          Text(EditText::UndoPaste)));
    return count;
}

void CListEditor::Delete() {
    if (!CanDelete()) return;
    undo_.push(new CRemoveProgramsCommand(host_, *host_.List(), host_.SelectedProgramIndexes(),
                                          Text(EditText::UndoDelete)));
}

std::size_t CListEditor::SelectDuplicates() {
    const CSVLFile* list = host_.List();
    if (!list) return 0;
    const std::vector<std::size_t> rows =
        ProgramListOps::Normalized(host_.ListedProgramIndexes(), list->Programs.size());
    const std::vector<std::size_t> later = ProgramListOps::LaterDuplicates(list->Programs, rows);
    if (later.empty()) {
        messages_.Show(IMessageSink::Icon::Information, Text(EditText::DuplicatesCaption),
                       Text(EditText::NoDuplicates));
        return 0;
    }
    host_.SelectPrograms(later);
    return later.size();
}

void CListEditor::ApplyReferenceOrder(const CSVLFile& reference) {
    if (!CanReorder() || RefusesReordering()) return;
    const ReferenceOrder order = OrderAfterReference(*host_.List(), reference);
    PushOrder(order.order,
              ProgramListOps::Normalized(host_.SelectedProgramIndexes(), order.order.size()),
              Text(EditText::ReferenceCaption));
    messages_.Show(IMessageSink::Icon::Information, Text(EditText::ReferenceCaption),
                   Text(EditText::ReferenceSummary)
                       .arg(QString::number(order.matched), QString::number(order.unmatched)));
}

void CListEditor::ApplyReferenceFile(const QString& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    CSVLFile reference;
    ArchiveError format;
    if (ReadWholeFile(QFile::encodeName(path).toStdString(), bytes, &error) &&
        !reference.Load(bytes, &format))
        error = "Formatfehler bei Byte " + std::to_string(format.offset) + ": " + format.message;
    if (!error.empty()) {
        messages_.Show(
            IMessageSink::Icon::Warning, Text(EditText::ReferenceCaption),
            Text(EditText::ReferenceUnreadable).arg(path, QString::fromStdString(error)));
        return;
    }
    ApplyReferenceOrder(reference);
}

bool CListEditor::CanMove() const {
    return host_.List() && !host_.SelectedProgramIndexes().empty();
}

bool CListEditor::RefusesReordering() {
    if (!host_.IsCategoryMode()) return false;
    messages_.Show(IMessageSink::Icon::Error, Text(EditText::AppTitle),
                   Text(EditText::ReorderRefused));
    return true;
}

void CListEditor::MoveSelected(ProgramListOps::Move how) {
    MoveSelectedBy([how](std::size_t size, const auto& rows, const auto& moved) {
        return ProgramListOps::MoveOrder(size, rows, moved, how);
    });
}

void CListEditor::MoveSelectedBefore(std::size_t before) {
    MoveSelectedBy([before](std::size_t size, const auto& rows, const auto& moved) {
        return ProgramListOps::MoveBeforeOrder(size, rows, moved, before);
    });
}

void CListEditor::MoveSelectedBy(const MoveRule& rule) {
    if (!CanMove() || RefusesReordering()) return;
    const std::size_t size = host_.List()->Programs.size();
    const std::vector<std::size_t> rows =
        ProgramListOps::Normalized(host_.ListedProgramIndexes(), size);
    std::vector<std::size_t> moved =
        ProgramListOps::Normalized(host_.SelectedProgramIndexes(), size);
    std::vector<std::size_t> order = rule(size, rows, moved);
    PushOrder(std::move(order), std::move(moved), Text(EditText::UndoMove));
}

bool CListEditor::CanReorder() const { return host_.List() && host_.RowCount() > 0; }

void CListEditor::ReorderListed(
    const std::function<void(std::vector<std::size_t>& rows)>& rearrange, const QString& text) {
    if (!CanReorder() || RefusesReordering()) return;
    const std::size_t size = host_.List()->Programs.size();
    const std::vector<std::size_t> rows =
        ProgramListOps::Normalized(host_.ListedProgramIndexes(), size);
    std::vector<std::size_t> rearranged = rows;
    rearrange(rearranged);
    // Only a rearrangement of the same rows is an order; anything else changes nothing.
    if (rearranged.size() != rows.size() || ProgramListOps::Normalized(rearranged, size) != rows)
        return;
    PushOrder(ProgramListOps::OrderFromRows(size, rows, rearranged),
              ProgramListOps::Normalized(host_.SelectedProgramIndexes(), size), text);
}

void CListEditor::PushOrder(std::vector<std::size_t> order, std::vector<std::size_t> moved,
                            const QString& text) {
    bool unchanged = true;
    for (std::size_t i = 0; i < order.size() && unchanged; ++i) unchanged = order[i] == i;
    if (unchanged) return;  // already in that order: no step
    undo_.push(new CReorderCommand(host_, *host_.List(), std::move(order), std::move(moved), text));
}

void CListEditor::EditProgram(std::size_t index, CProgramInfo value) {
    CSVLFile* list = host_.List();
    if (!list || index >= list->Programs.size() || !list->Programs[index]) return;
    undo_.push(new CSwapProgramCommand(host_, *list, index, std::move(value), false,
                                       Text(EditText::UndoEdit)));
}

void CListEditor::RecordProgramEdit(std::size_t index, CProgramInfo before,
                                    std::optional<CLnb> lnbBefore) {
    CSVLFile* list = host_.List();
    if (!list || index >= list->Programs.size() || !list->Programs[index]) return;
    undo_.push(new CSwapProgramCommand(host_, *list, index, std::move(before), true,
                                       Text(EditText::UndoEdit), std::move(lnbBefore)));
}

void CListEditor::InsertPrograms(std::size_t position, ProgramListOps::ProgramList programs,
                                 const QString& text) {
    CSVLFile* list = host_.List();
    if (!list || programs.empty()) return;
    undo_.push(new CInsertProgramsCommand(host_, *list, position, std::move(programs), text));
}

void CListEditor::UpdateAndAppend(std::vector<ProgramUpdate> updates,
                                  ProgramListOps::ProgramList appended, const QString& text) {
    CSVLFile* list = host_.List();
    if (!list) return;
    std::erase_if(updates, [list](const ProgramUpdate& u) {
        return u.index >= list->Programs.size() || !list->Programs[u.index];
    });
    if (updates.empty() && appended.empty()) return;
    // The swaps and the insertion go into the history as one step.
    undo_.beginMacro(text);
    for (ProgramUpdate& u : updates)
        undo_.push(new CSwapProgramCommand(host_, *list, u.index, std::move(u.value), false, text));
    if (!appended.empty())
        undo_.push(new CInsertProgramsCommand(host_, *list, list->Programs.size(),
                                              std::move(appended), text));
    undo_.endMacro();
}

void CListEditor::ApplyTextEdits(std::vector<TextEdit> edits) {
    CSVLFile* list = host_.List();
    if (!list || edits.empty()) return;
    undo_.push(new CTextEditCommand(host_, *list, std::move(edits), Text(EditText::UndoReplace)));
}

void CListEditor::ResetHistory() { undo_.clear(); }

void CListEditor::MarkSaved() { undo_.setClean(); }
