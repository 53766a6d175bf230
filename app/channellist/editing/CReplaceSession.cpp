#include "channellist/editing/CReplaceSession.h"

#include <algorithm>

#include "channellist/CSVLFile.h"
#include "channellist/editing/CListEditor.h"
#include "channellist/editing/CTextReplacer.h"
#include "channellist/editing/EditTexts.h"
#include "channellist/editing/IListEditHost.h"
#include "channellist/editing/IMessageSink.h"

namespace {
std::vector<std::size_t> ScopeRows(IListEditHost& host, const ReplaceOptions& options) {
    return options.wholeList ? host.ListedProgramIndexes() : host.SelectedProgramIndexes();
}

const CProgramInfo* ProgramAt(const CSVLFile* list, std::size_t index) {
    return list && index < list->Programs.size() ? list->Programs[index].get() : nullptr;
}
}  // namespace

int CReplaceSession::ReplaceAll(const ReplaceRequest& request) {
    return ReplaceRows(request, EditText::ReplaceCaption);
}

int CReplaceSession::ReplaceRows(const ReplaceRequest& request, const char* caption) {
    IListEditHost& host = editor_.Host();
    const CSVLFile* list = host.List();
    std::vector<TextEdit> edits;
    int rows = 0;
    for (const std::size_t index : ScopeRows(host, request.options)) {
        const CProgramInfo* program = ProgramAt(list, index);
        if (!program) continue;
        auto rowEdits = CTextReplacer::EditsFor(*program, index, request);
        if (rowEdits.empty()) continue;
        ++rows;
        edits.insert(edits.end(), rowEdits.begin(), rowEdits.end());
    }
    editor_.ApplyTextEdits(std::move(edits));
    Report(rows, caption);
    Reset();
    return rows;
}

bool CReplaceSession::ReplaceNext(const ReplaceRequest& request) {
    if (!request.options.wholeList) {
        ReplaceRows(request, EditText::AppTitle);
        return false;
    }
    IListEditHost& host = editor_.Host();
    const std::vector<std::size_t> rows = host.ListedProgramIndexes();
    for (std::size_t row = position_; row < rows.size(); ++row) {
        const CProgramInfo* program = ProgramAt(host.List(), rows[row]);
        if (!program) continue;
        auto edits = CTextReplacer::EditsFor(*program, rows[row], request);
        if (edits.empty()) continue;
        editor_.ApplyTextEdits(std::move(edits));
        position_ = row + 1;
        ++count_;
        return true;
    }
    Report(count_, EditText::AppTitle);
    Reset();
    return false;
}

bool CReplaceSession::FindNext(const ReplaceRequest& request) {
    IListEditHost& host = editor_.Host();
    const std::vector<std::size_t> rows = host.ListedProgramIndexes();
    const std::vector<std::size_t> selected = host.SelectedProgramIndexes();
    std::size_t start = 0;
    if (!selected.empty()) {
        const auto it = std::find(rows.begin(), rows.end(), selected.front());
        if (it != rows.end()) start = std::size_t(it - rows.begin()) + 1;
    }
    for (std::size_t row = start; row < rows.size(); ++row) {
        const CProgramInfo* program = ProgramAt(host.List(), rows[row]);
        if (program && CTextReplacer::Matches(*program, request)) {
            host.SelectPrograms({rows[row]});
            return true;
        }
    }
    Report(0, EditText::ReplaceCaption);
    return false;
}

void CReplaceSession::Report(int count, const char* caption) {
    IMessageSink& messages = editor_.Messages();
    if (count == 0) {
        messages.Show(IMessageSink::Icon::Information, QString::fromUtf8(EditText::ReplaceCaption),
                      QString::fromUtf8(EditText::NoMatch), true);
        return;
    }
    messages.Show(IMessageSink::Icon::Information, QString::fromUtf8(caption),
                  QString::fromUtf8(EditText::ReplacedCount).arg(count));
}
