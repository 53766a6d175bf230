#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestHost.h"
#include "channellist/AtomicFile.h"
#include "channellist/ClipboardBlock.h"
#include "channellist/editing/CListEditor.h"

namespace {
class UndoRedoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.list.Loaded = true;
        host.AddPrograms({"A", "B", "C", "D", "E", "F"});
        original = host.Names();
    }
    std::vector<std::uint8_t> BlockOf(const std::vector<std::string>& names) {
        std::vector<std::unique_ptr<CProgramInfo>> programs;
        std::vector<const CProgramInfo*> pointers;
        for (const auto& n : names) {
            programs.push_back(MakeProgram(n));
            pointers.push_back(programs.back().get());
        }
        return EncodeClipboardBlock(pointers);
    }
    TestHost host;
    RecordingSink sink;
    CListEditor editor{host, sink};
    std::vector<std::string> original;
};
}  // namespace

TEST_F(UndoRedoTest, UndoOfDeleteRestoresEveryProgramAtItsPosition) {
    const CProgramInfo* b = host.list.Programs[1].get();
    host.selected = {4, 1, 5};
    editor.Delete();
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "C", "D"}));

    editor.UndoStack()->undo();
    EXPECT_EQ(host.Names(), original);
    EXPECT_EQ(host.list.Programs[1].get(), b);  // the same record, not a copy
    EXPECT_EQ(host.inserted.back(), (std::vector<std::size_t>{1, 4, 5}));
    EXPECT_EQ(host.countText, QStringLiteral("Anzahl Programme: 6"));

    editor.UndoStack()->redo();
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "C", "D"}));
}

TEST_F(UndoRedoTest, UndoOfCutRestoresTheListButLeavesTheClipboard) {
    host.selected = {0, 2};
    editor.Cut();
    editor.UndoStack()->undo();
    EXPECT_EQ(host.Names(), original);
    host.selected.clear();
    editor.Paste();  // the cut programs are still on the clipboard
    EXPECT_EQ(host.Names().size(), 8u);
    EXPECT_EQ(host.Names()[6], "A");
    EXPECT_EQ(host.Names()[7], "C");
}

TEST_F(UndoRedoTest, UndoAndRedoOfPaste) {
    host.selected = {2};
    editor.PasteBlock(BlockOf({"x", "y"}));
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "B", "C", "x", "y", "D", "E", "F"}));
    editor.UndoStack()->undo();
    EXPECT_EQ(host.Names(), original);
    EXPECT_EQ(host.removed.back(), (std::vector<std::size_t>{3, 4}));
    editor.UndoStack()->redo();
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "B", "C", "x", "y", "D", "E", "F"}));
}

TEST_F(UndoRedoTest, UndoOfReplacedTexts) {
    editor.ApplyTextEdits({{1, ProgramField::Name, "B", "B2"},
                           {1, ProgramField::Provider, "P", "Q"},
                           {3, ProgramField::LnbName, "L", "Astra"}});
    EXPECT_EQ(host.list.Programs[1]->Name, "B2");
    EXPECT_EQ(host.list.Programs[1]->Provider, "Q");
    EXPECT_EQ(host.list.Programs[3]->LnbName, "Astra");
    EXPECT_EQ(host.changed.back(), (std::vector<std::size_t>{1, 3}));
    editor.UndoStack()->undo();
    EXPECT_EQ(host.list.Programs[1]->Name, "B");
    EXPECT_EQ(host.list.Programs[1]->Provider, "P");
    EXPECT_EQ(host.list.Programs[3]->LnbName, "L");
}

TEST_F(UndoRedoTest, ProgramDialogEditSwapsTheWholeRecord) {
    const CProgramInfo before = *host.list.Programs[2];
    CProgramInfo edited = before;
    edited.Name = "C neu";
    edited.Frequency = 12000000;
    edited.Streams.clear();
    editor.EditProgram(2, edited);
    EXPECT_EQ(*host.list.Programs[2], edited);
    editor.UndoStack()->undo();
    EXPECT_EQ(*host.list.Programs[2], before);
    editor.UndoStack()->redo();
    EXPECT_EQ(*host.list.Programs[2], edited);
}

TEST_F(UndoRedoTest, AnEditMadeInPlaceIsRecordedOnceAndUndoable) {
    const CProgramInfo before = *host.list.Programs[0];
    host.list.Programs[0]->Name = "A neu";
    editor.RecordProgramEdit(0, before);
    EXPECT_EQ(host.list.Programs[0]->Name, "A neu");  // the first redo changes nothing
    editor.UndoStack()->undo();
    EXPECT_EQ(host.list.Programs[0]->Name, "A");

    // OK without a change is a step as well: the document counts as modified.
    editor.UndoStack()->setClean();
    editor.RecordProgramEdit(0, *host.list.Programs[0]);
    EXPECT_FALSE(editor.UndoStack()->isClean());
    EXPECT_FALSE(editor.UndoStack()->canRedo());
}

TEST_F(UndoRedoTest, ImportedProgramsAreOneStep) {
    ProgramListOps::ProgramList imported;
    imported.push_back(MakeProgram("i1"));
    imported.push_back(MakeProgram("i2"));
    editor.InsertPrograms(6, std::move(imported), QStringLiteral("Import"));
    EXPECT_EQ(host.Names().size(), 8u);
    editor.UndoStack()->undo();
    EXPECT_EQ(host.Names(), original);
}

TEST_F(UndoRedoTest, UndoingBackToTheSavedStateClearsModified) {
    host.selected = {0};
    editor.Delete();
    EXPECT_TRUE(host.Modified());
    editor.UndoStack()->undo();
    EXPECT_FALSE(host.Modified());

    editor.UndoStack()->redo();
    editor.MarkSaved();
    EXPECT_FALSE(host.Modified());
    editor.UndoStack()->undo();
    EXPECT_TRUE(host.Modified());  // now differs from the saved file
}

TEST_F(UndoRedoTest, SeveralStepsUndoInReverseOrder) {
    host.selected = {0};
    editor.Delete();  // B C D E F
    host.selected = {1};
    editor.PasteBlock(BlockOf({"n"}));  // B C n D E F
    editor.ApplyTextEdits({{2, ProgramField::Name, "n", "m"}});
    host.selected = {4, 5};
    editor.Delete();  // B C m D
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"B", "C", "m", "D"}));
    while (editor.UndoStack()->canUndo()) editor.UndoStack()->undo();
    EXPECT_EQ(host.Names(), original);
    while (editor.UndoStack()->canRedo()) editor.UndoStack()->redo();
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"B", "C", "m", "D"}));
}

TEST_F(UndoRedoTest, ResetHistoryForgetsEverything) {
    host.selected = {0};
    editor.Delete();
    editor.ResetHistory();
    EXPECT_FALSE(editor.UndoStack()->canUndo());
}

TEST(UndoRedoLifetime, DestroyingTheEditorDoesNotTouchTheModifiedFlag) {
    TestHost host;
    RecordingSink sink;
    host.AddPrograms({"A", "B"});
    {
        CListEditor editor(host, sink);
        host.selected = {0};
        editor.Delete();
    }
    EXPECT_TRUE(host.Modified());  // the change is still unsaved
}

TEST_F(UndoRedoTest, DroppingBeforeARowIsOneMoveStep) {
    host.selected = {4, 5};  // E, F dropped before B
    editor.MoveSelectedBefore(1);
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "E", "F", "B", "C", "D"}));
    EXPECT_EQ(host.selected, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(editor.UndoStack()->count(), 1);
    editor.MoveSelectedBefore(6);  // to the end
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "B", "C", "D", "E", "F"}));
    editor.UndoStack()->undo();
    editor.UndoStack()->undo();
    EXPECT_EQ(host.Names(), original);
}

TEST_F(UndoRedoTest, MovingIsOneStepThatKeepsTheMovedProgramsSelected) {
    host.selected = {1, 3};  // B, D
    editor.MoveSelected(ProgramListOps::Move::ToEnd);
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "C", "E", "F", "B", "D"}));
    EXPECT_EQ(host.selected, (std::vector<std::size_t>{4, 5}));
    EXPECT_EQ(editor.UndoStack()->count(), 1);
    EXPECT_EQ(host.modifiedCalls.back(), true);

    editor.MoveSelected(ProgramListOps::Move::ToEnd);  // already there: no second step
    EXPECT_EQ(editor.UndoStack()->count(), 1);

    editor.UndoStack()->undo();
    EXPECT_EQ(host.Names(), original);
    EXPECT_EQ(host.selected, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(host.modifiedCalls.back(), false);
    editor.UndoStack()->redo();
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "C", "E", "F", "B", "D"}));
}

TEST_F(UndoRedoTest, NoMovingWithoutSelectionAndARefusalInCategoryMode) {
    EXPECT_FALSE(editor.CanMove());
    editor.MoveSelected(ProgramListOps::Move::Up);
    EXPECT_TRUE(sink.messages.empty());
    host.selected = {2};
    host.categoryMode = true;
    // Enabled, as printing is, and refused with the same kind of message.
    EXPECT_TRUE(editor.CanMove());
    editor.MoveSelected(ProgramListOps::Move::Up);
    editor.MoveSelectedBefore(0);
    editor.ReorderListed([](std::vector<std::size_t>& rows) { std::swap(rows[0], rows[1]); }, "x");
    editor.ApplyReferenceOrder(CSVLFile{});
    EXPECT_EQ(host.Names(), original);
    EXPECT_EQ(editor.UndoStack()->count(), 0);
    ASSERT_EQ(sink.messages.size(), 4u);
    for (const auto& m : sink.messages) {
        EXPECT_EQ(m.icon, IMessageSink::Icon::Error);
        EXPECT_EQ(m.text,
                  "Exception: Reihenfolge ändern nur möglich wenn nicht in Kategoriemodus!");
    }
}

TEST_F(UndoRedoTest, ARearrangementThatLosesOrRepeatsARowChangesNothing) {
    host.listedOverride = {0, 2, 4};  // A, C, E shown
    editor.ReorderListed([](std::vector<std::size_t>& rows) { rows = {4, 4, 0}; }, "x");
    editor.ReorderListed([](std::vector<std::size_t>& rows) { rows = {4, 0}; }, "x");
    EXPECT_EQ(host.Names(), original);
    EXPECT_EQ(editor.UndoStack()->count(), 0);

    editor.ReorderListed([](std::vector<std::size_t>& rows) { rows = {4, 2, 0}; }, "x");
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"E", "B", "C", "D", "A", "F"}));
    EXPECT_EQ(editor.UndoStack()->count(), 1);
}

TEST_F(UndoRedoTest, DuplicatesAreSelectedForDeletingOrReported) {
    editor.SelectDuplicates();
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages.front().caption, "Doppelte Programme");
    EXPECT_EQ(sink.messages.front().text, "Keine doppelten Programme gefunden.");

    CProgramInfo& e = *host.list.Programs[4];  // becomes B on B's transponder
    e.Name = "B";
    e.Frequency = host.list.Programs[1]->Frequency;
    e.PolarisationOrQam = host.list.Programs[1]->PolarisationOrQam;
    EXPECT_EQ(editor.SelectDuplicates(), 1u);
    EXPECT_EQ(host.selected, std::vector<std::size_t>{4});
    editor.Delete();
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "B", "C", "D", "F"}));
    editor.UndoStack()->undo();
    EXPECT_EQ(host.list.Programs.size(), 6u);
}

TEST_F(UndoRedoTest, ReferenceOrderIsOneStepWithASummaryAndABadFileChangesNothing) {
    CSVLFile reference;
    reference.Programs.push_back(MakeProgram("E", 4));  // same services as E and B
    reference.Programs.push_back(MakeProgram("B", 1));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("referenz.svl"));
    ASSERT_TRUE(
        SaveFileAtomically(QFile::encodeName(path).toStdString(), reference.Store(), nullptr));

    editor.ApplyReferenceFile(dir.filePath(QStringLiteral("fehlt.svl")));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages.back().caption, "Reihenfolge übernehmen");
    EXPECT_TRUE(sink.messages.back().text.startsWith("Die Referenzliste \""));
    EXPECT_EQ(host.Names(), original);
    EXPECT_FALSE(editor.UndoStack()->canUndo());

    editor.ApplyReferenceFile(path);
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"E", "B", "A", "C", "D", "F"}));
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages.back().text,
              "2 Programme nach der Referenzliste geordnet, 4 ohne Gegenstück dahinter.");
    EXPECT_EQ(editor.UndoStack()->count(), 1);
    editor.UndoStack()->undo();
    EXPECT_EQ(host.Names(), original);
}

TEST_F(UndoRedoTest, UpdatesInPlaceAndAppendedProgramsAreOneStepThatUndoesByteExact) {
    const std::vector<std::uint8_t> before = host.list.Store();
    CProgramInfo newer = *host.list.Programs[2];
    newer.Frequency = 12226000;
    newer.VideoPid = 1234;
    ProgramListOps::ProgramList added;
    added.push_back(MakeProgram("s1", 7));
    added.push_back(MakeProgram("s2", 8));
    const int stepsBefore = editor.UndoStack()->count();
    editor.UpdateAndAppend({{2, newer}, {99, newer}}, std::move(added), QStringLiteral("Suchlauf"));

    EXPECT_EQ(editor.UndoStack()->count(), stepsBefore + 1);
    EXPECT_EQ(editor.UndoStack()->undoText(), QStringLiteral("Suchlauf"));
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"A", "B", "C", "D", "E", "F", "s1", "s2"}));
    EXPECT_EQ(host.list.Programs[2]->Frequency, 12226000);
    EXPECT_EQ(host.list.Programs[2]->VideoPid, 1234);
    const std::vector<std::uint8_t> after = host.list.Store();

    editor.UndoStack()->undo();
    EXPECT_EQ(host.list.Store(), before);
    editor.UndoStack()->redo();
    EXPECT_EQ(host.list.Store(), after);
}

TEST_F(UndoRedoTest, NothingToUpdateOrAppendLeavesTheHistoryAlone) {
    editor.UpdateAndAppend({{42, CProgramInfo{}}}, {}, QStringLiteral("Suchlauf"));
    EXPECT_EQ(editor.UndoStack()->count(), 0);
}
