// Pastes arbitrary bytes as a clipboard block into a small list, behind a row chosen by the
// first input byte, then undoes and redoes the paste. The list must grow by exactly the
// programs decoded, undo must give back the original list, and redo the pasted one.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "channellist/ClipboardBlock.h"
#include "channellist/editing/CBareListHost.h"
#include "channellist/editing/CListEditor.h"

namespace {
CBareListHost* host = nullptr;
CListEditor* editor = nullptr;

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& p : host->list.Programs) names.push_back(p->Name);
    return names;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    static CBareListHost h;
    static CSilentMessageSink sink;
    static CListEditor e(h, sink);
    host = &h;
    editor = &e;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    host->list.Programs.clear();
    for (const char* name : {"a", "b", "c"}) {
        host->list.Programs.push_back(std::make_unique<CProgramInfo>());
        host->list.Programs.back()->Name = name;
    }
    editor->ResetHistory();
    host->selected.clear();
    if (data[0] < 4) host->selected = {data[0]};  // 3 is a stale row: append

    const auto block = std::span(data + 1, size - 1);
    const std::size_t decoded = DecodeClipboardBlock(block).programs.size();
    const auto before = Names();
    const std::size_t pasted = editor->PasteBlock(block);
    if (pasted != decoded || host->list.Programs.size() != 3 + pasted) std::abort();
    const auto after = Names();
    if (pasted == 0) return 0;
    editor->UndoStack()->undo();
    if (Names() != before) std::abort();
    editor->UndoStack()->redo();
    if (Names() != after) std::abort();
    return 0;
}
