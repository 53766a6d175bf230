#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "TestHost.h"
#include "channellist/ClipboardBlock.h"
#include "channellist/editing/CListEditor.h"
#include "channellist/editing/CProgramClipboard.h"
#include "channellist/editing/EditTexts.h"

namespace {
std::vector<std::uint8_t> Bytes(const QByteArray& a) {
    return std::vector<std::uint8_t>(a.begin(), a.end());
}

class ListEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QGuiApplication::clipboard()->clear();
        host.list.Loaded = true;
        host.AddPrograms({"A", "B", "C", "D"});
    }
    std::vector<std::string> ClipboardNames() {
        std::vector<std::string> names;
        const auto block = CProgramClipboard::Get();
        if (!block) return names;
        for (const auto& p : DecodeClipboardBlock(Bytes(*block)).programs) names.push_back(p->Name);
        return names;
    }
    TestHost host;
    RecordingSink sink;
    CListEditor editor{host, sink};
};
}  // namespace

TEST_F(ListEditorTest, CopyPutsTheSelectedProgramsInRowOrderUnderTheOwnFormat) {
    host.selected = {2, 0, 1};  // rows as the list shows them, e.g. sorted
    EXPECT_EQ(editor.Copy(), 3u);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(
        QStringLiteral("application/x-qt-windows-mime;value=\"SVL-Programmliste\"")));
    EXPECT_EQ(ClipboardNames(), (std::vector<std::string>{"C", "A", "B"}));
    EXPECT_EQ(host.Names().size(), 4u);  // copy leaves the list alone
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ListEditorTest, CopyOfThreeProgramsIsACountThenTheirRecordsAsInTheListFile) {
    host.selected = {0, 1, 2};
    host.list.Programs[1]->Streams.clear();
    ASSERT_EQ(editor.Copy(), 3u);
    const auto block = Bytes(*CProgramClipboard::Get());

    // A .svl file of the same three programs is Reserved, the count, the same records and
    // the empty LNB table (2 bytes): the block's records must be its middle part.
    CSVLFile file;
    for (std::size_t i = 0; i < 3; ++i)
        file.Programs.push_back(std::make_unique<CProgramInfo>(*host.list.Programs[i]));
    const auto svl = file.Store();
    const std::vector<std::uint8_t> records(svl.begin() + 8, svl.end() - 2);
    ASSERT_EQ(block.size(), 4 + records.size());
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.begin() + 4),
              (std::vector<std::uint8_t>{3, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin() + 4, block.end()), records);
}

TEST_F(ListEditorTest, PasteInsertsBehindTheFirstSelectedRowInBlockOrder) {
    host.selected = {1, 3, 0};
    editor.Copy();  // B D A

    TestHost other;
    other.list.Loaded = true;
    other.AddPrograms({"x", "y", "z"});
    other.selected = {1, 0};  // first selected row is y
    CListEditor otherEditor(other, sink);
    ASSERT_TRUE(otherEditor.CanPaste());
    otherEditor.Paste();

    EXPECT_EQ(other.Names(), (std::vector<std::string>{"x", "y", "B", "D", "A", "z"}));
    ASSERT_EQ(other.inserted.size(), 1u);
    EXPECT_EQ(other.inserted[0], (std::vector<std::size_t>{2, 3, 4}));
    EXPECT_TRUE(other.Modified());
    EXPECT_EQ(other.countText, QStringLiteral("Anzahl Programme: 6"));
    // The pasted records are whole copies, not only their names.
    EXPECT_EQ(*other.list.Programs[2], *host.list.Programs[1]);
}

TEST_F(ListEditorTest, PasteWithNothingSelectedAppends) {
    host.selected = {0};
    editor.Copy();
    host.selected.clear();
    editor.Paste();
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "B", "C", "D", "A"}));
}

TEST_F(ListEditorTest, PasteAvailability) {
    host.selected = {0};
    editor.Copy();
    EXPECT_TRUE(editor.CanPaste());

    host.categoryMode = true;
    EXPECT_FALSE(editor.CanPaste());
    host.categoryMode = false;

    host.list.Loaded = false;  // a list never read from a file
    EXPECT_FALSE(editor.CanPaste());
    editor.Paste();
    EXPECT_EQ(host.Names().size(), 4u);
    host.list.Loaded = true;

    QGuiApplication::clipboard()->setText(QStringLiteral("plain text"));
    EXPECT_FALSE(editor.CanPaste());
}

TEST_F(ListEditorTest, ATruncatedBlockPastesTheWholeRecordsAndMarksModified) {
    host.selected = {0, 1, 2};
    editor.Copy();
    auto block = Bytes(*CProgramClipboard::Get());
    block.resize(block.size() - 5);  // the third record is cut short
    host.selected.clear();
    EXPECT_EQ(editor.PasteBlock(block), 2u);
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "B", "C", "D", "A", "B"}));
    EXPECT_TRUE(host.Modified());
    EXPECT_TRUE(sink.messages.empty());  // stops without a message
}

TEST_F(ListEditorTest, ABlockWithoutAnyWholeRecordChangesNothing) {
    const std::vector<std::uint8_t> block{5, 0, 0, 0, 1};
    EXPECT_EQ(editor.PasteBlock(block), 0u);
    EXPECT_TRUE(host.inserted.empty());
    EXPECT_FALSE(host.Modified());
}

TEST_F(ListEditorTest, CutRemovesWhatWasCopied) {
    host.selected = {3, 1};
    editor.Cut();
    EXPECT_EQ(ClipboardNames(), (std::vector<std::string>{"D", "B"}));
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "C"}));
    ASSERT_EQ(host.removed.size(), 1u);
    EXPECT_EQ(host.removed[0], (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(host.countText, QStringLiteral("Anzahl Programme: 2"));
    EXPECT_TRUE(host.Modified());
}

TEST_F(ListEditorTest, CopyAndCutAreUnavailableInCategoryModeButDeleteWorks) {
    host.selected = {0};
    host.categoryMode = true;
    EXPECT_FALSE(editor.CanCopy());
    EXPECT_FALSE(editor.CanCut());
    EXPECT_FALSE(editor.CanSelectAll());
    EXPECT_FALSE(editor.CanReplace());
    editor.Cut();
    EXPECT_EQ(host.Names().size(), 4u);

    EXPECT_TRUE(editor.CanDelete());
    editor.Delete();
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"B", "C", "D"}));
}

TEST_F(ListEditorTest, DeleteRemovesAllSelectedWithoutAsking) {
    host.selected = {0, 2, 3};
    editor.Delete();
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"B"}));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(host.countText, QStringLiteral("Anzahl Programme: 1"));
}

TEST_F(ListEditorTest, ASelectedRowWithoutProgramIsReportedAndLeftOut) {
    host.list.Programs[1].reset();
    host.selected = {0, 1, 2};
    EXPECT_EQ(editor.Copy(), 2u);
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0].text, QString::fromUtf8(EditText::NullProgram));
    EXPECT_EQ(sink.messages[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(sink.messages[0].icon, IMessageSink::Icon::Error);
    EXPECT_EQ(sink.messages[1].text, QString::fromUtf8(EditText::CopyFailed));
    EXPECT_EQ(sink.messages[1].icon, IMessageSink::Icon::Warning);
    // The block's count is the number of records it really holds.
    const auto decoded = DecodeClipboardBlock(Bytes(*CProgramClipboard::Get()));
    EXPECT_TRUE(decoded.complete);
    EXPECT_EQ(decoded.programs.size(), 2u);
}

TEST_F(ListEditorTest, NothingCopiedIsReportedAndKeepsTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("keep me"));
    host.selected = {17};  // a stale row
    EXPECT_EQ(editor.Copy(), 0u);
    EXPECT_EQ(sink.LastText(), QString::fromUtf8(EditText::NothingCopied));
    EXPECT_EQ(sink.messages.back().icon, IMessageSink::Icon::Warning);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("keep me"));
}

TEST_F(ListEditorTest, SelectAllNeedsRowsAndNoCategoryMode) {
    editor.SelectAll();
    EXPECT_EQ(host.selectAllCalls, 1);
    host.categoryMode = true;
    editor.SelectAll();
    EXPECT_EQ(host.selectAllCalls, 1);
    host.categoryMode = false;
    host.list.Programs.clear();
    EXPECT_FALSE(editor.CanSelectAll());
}
