// Program and stream dialogs opened from the view, with the edit recorded for undo.
#include <gtest/gtest.h>

#include <QSettings>
#include <QUndoStack>

#include "Allgemein/CGfxListCtrl.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "channellist/editing/CListEditor.h"
#include "common/CommandIds.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "frame/view/CSVL_EditorView.h"
#include "shell/CFrameDialogBinding.h"
#include "shell/CFrameEditBinding.h"

namespace {
class DialogBinding : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        for (const char* name : {"Das Erste", "ZDF"}) {
            doc.List().Programs.push_back(std::make_unique<CProgramInfo>());
            doc.List().Programs.back()->Name = name;
            doc.List().Programs.back()->ProgramType = 1;
        }
        frame = std::make_unique<CMainFrame>(doc, state);
        frame->Options().pidHex = 1;
        edit = new CFrameEditBinding(*frame, doc);
        dialogs = new CFrameDialogBinding(*frame, doc, &edit->Editor());
        view = qobject_cast<CSVL_EditorView*>(frame->View());
        view->OnUpdate();
    }
    void TearDown() override {
        frame.reset();
        QSettings().clear();
    }
    const std::string& NameOf(int i) { return doc.List().Programs[std::size_t(i)]->Name; }

    CProgramState state;
    SilentPrompts prompts;
    CSVL_EditorDoc doc{prompts};
    std::unique_ptr<CMainFrame> frame;
    CFrameEditBinding* edit = nullptr;
    CFrameDialogBinding* dialogs = nullptr;
    CSVL_EditorView* view = nullptr;
};
}  // namespace

TEST_F(DialogBinding, OkInTheProgramDialogIsOneUndoableChange) {
    int shownNumber = 0;
    bool shownHex = false;
    dialogs->SetProgramDialogRunner(
        [&](CProgramInfo& p, CLnbTable* lnbs, int number, DialogOptions o, QWidget*) {
            EXPECT_EQ(lnbs, &doc.List().Lnbs);
            shownNumber = number;
            shownHex = o.pidHex;
            p.Name = "ZDF HD";
            return true;
        });
    emit view->editProgramRequested(1);
    EXPECT_EQ(shownNumber, 2);
    EXPECT_TRUE(shownHex);
    EXPECT_EQ(NameOf(1), "ZDF HD");
    EXPECT_TRUE(doc.IsModified());

    edit->Editor().UndoStack()->undo();
    EXPECT_EQ(NameOf(1), "ZDF");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DialogBinding, CancelChangesNothing) {
    dialogs->SetProgramDialogRunner(
        [](CProgramInfo&, CLnbTable*, int, DialogOptions, QWidget*) { return false; });
    emit view->editProgramRequested(0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(edit->Editor().UndoStack()->count(), 0);
}

TEST_F(DialogBinding, StreamsAndInvalidIndexes) {
    std::vector<std::string> shown;
    dialogs->SetStreamsDialogRunner(
        [&](const CProgramInfo& p, DialogOptions, QWidget*) { shown.push_back(p.Name); });
    int programDialogs = 0;
    dialogs->SetProgramDialogRunner([&](CProgramInfo&, CLnbTable*, int, DialogOptions, QWidget*) {
        ++programDialogs;
        return true;
    });
    emit view->showStreamsRequested(0);
    dialogs->ShowStreams(2);
    dialogs->EditProgram(-1);
    dialogs->EditProgram(2);
    EXPECT_EQ(shown, std::vector<std::string>{"Das Erste"});
    EXPECT_EQ(programDialogs, 0);
}

TEST_F(DialogBinding, AnLnbChangeAloneIsAModificationAndUndoesWithTheProgram) {
    auto astra = std::make_shared<CLnb>();
    astra->LowBandLof = 9750000;
    doc.List().Lnbs.Set("Astra", astra);
    doc.List().Programs[0]->LnbName = "Astra";
    dialogs->SetProgramDialogRunner(
        [](CProgramInfo&, CLnbTable* lnbs, int, DialogOptions, QWidget*) {
            lnbs->Find("Astra")->LowBandLof = 9700000;  // through "LNB-Parameter" only
            return true;
        });
    emit view->editProgramRequested(0);
    EXPECT_TRUE(doc.IsModified()) << "closing now must ask to save the LNB change";
    ASSERT_EQ(edit->Editor().UndoStack()->count(), 1);

    edit->Editor().UndoStack()->undo();
    EXPECT_EQ(astra->LowBandLof, 9750000);
    EXPECT_FALSE(doc.IsModified());
    edit->Editor().UndoStack()->redo();
    EXPECT_EQ(astra->LowBandLof, 9700000);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DialogBinding, OkWithoutAnyChangeStillMarksTheDocument) {
    dialogs->SetProgramDialogRunner(
        [](CProgramInfo&, CLnbTable*, int, DialogOptions, QWidget*) { return true; });
    emit view->editProgramRequested(1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DialogBinding, TheMenuCommandOpensTheDialogForEachSelectedProgram) {
    std::vector<int> numbers;
    dialogs->SetProgramDialogRunner(
        [&](CProgramInfo&, CLnbTable*, int number, DialogOptions, QWidget*) {
            numbers.push_back(number);
            return false;
        });
    view->setCategoryMode(false);
    view->listCtrl()->SelectItems({0, 1});
    QAction* command = frame->Action(Cmd::EditProgram);
    ASSERT_NE(command, nullptr);
    command->setEnabled(true);
    command->trigger();
    EXPECT_EQ(numbers, (std::vector<int>{1, 2}));
}
