#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include "Allgemein/CGfxListCtrl.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "channellist/editing/CListEditActions.h"
#include "channellist/editing/EditTexts.h"
#include "common/CommandIds.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "frame/view/CSVL_EditorView.h"
#include "shell/CFrameEditBinding.h"

namespace {
class FrameEditBindingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QGuiApplication::clipboard()->clear();
        doc = std::make_unique<CSVL_EditorDoc>(prompts);
        for (const char* name : {"A", "B", "C", "D"}) {
            doc->List().Programs.push_back(std::make_unique<CProgramInfo>());
            doc->List().Programs.back()->Name = name;
            doc->List().Programs.back()->ProgramType = 1;
        }
        doc->List().Loaded = true;
        frame = std::make_unique<CMainFrame>(*doc, state);
        binding = new CFrameEditBinding(*frame, *doc);
        view = qobject_cast<CSVL_EditorView*>(frame->View());
        ASSERT_NE(view, nullptr);
        view->setProgramFilter(3);  // all programs
        emit doc->documentChanged();
        view->setCategoryMode(false);
    }
    void TearDown() override {
        frame.reset();
        doc.reset();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& p : doc->List().Programs) names.push_back(p->Name);
        return names;
    }
    void Select(std::vector<int> items) { view->listCtrl()->SelectItems(items); }

    CProgramState state;
    SilentPrompts prompts;
    std::unique_ptr<CSVL_EditorDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    CFrameEditBinding* binding = nullptr;  // owned by the frame
    CSVL_EditorView* view = nullptr;
};
}  // namespace

TEST_F(FrameEditBindingTest, EditMenuGetsUndoRedoAndTheFindKey) {
    QMenu* menu = nullptr;
    for (QObject* o : frame->Action(Cmd::EditCut)->associatedObjects())
        if ((menu = qobject_cast<QMenu*>(o))) break;
    ASSERT_NE(menu, nullptr);
    ASSERT_GE(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QString::fromUtf8("&Rückgängig\tStrg+Z"));
    EXPECT_EQ(menu->actions()[1]->text(), QString::fromUtf8("&Wiederholen\tStrg+Y"));
    EXPECT_EQ(frame->Action(Cmd::EditFind)->text(), QStringLiteral("Suchen\tStrg+F"));
    EXPECT_EQ(frame->Action(Cmd::EditFind)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
}

TEST_F(FrameEditBindingTest, CopyPasteUndoThroughTheFrameMenus) {
    EXPECT_EQ(view->listCtrl()->Model()->Items().size(), 4u);
    EXPECT_FALSE(frame->Action(Cmd::EditCopy)->isEnabled());  // nothing selected
    Select({1, 2});
    EXPECT_TRUE(frame->Action(Cmd::EditCopy)->isEnabled());
    frame->Action(Cmd::EditCopy)->trigger();
    EXPECT_TRUE(frame->Action(Cmd::EditPaste)->isEnabled());

    Select({0});
    frame->Action(Cmd::EditPaste)->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "B", "C", "D"}));
    EXPECT_EQ(view->listCtrl()->Model()->Items().size(), 6u);  // rows follow the list
    EXPECT_TRUE(doc->IsModified());

    binding->Actions().Action(Cmd::EditUndo)->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(view->listCtrl()->Model()->Items().size(), 4u);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(FrameEditBindingTest, CategoryModeDisablesCopyButTheDeleteKeyStillDeletes) {
    view->setCategoryMode(true);
    Select({0});
    binding->Actions().UpdateEnabled();
    EXPECT_FALSE(frame->Action(Cmd::EditCopy)->isEnabled());
    emit view->deleteSelectedRequested();
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "C", "D"}));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(FrameEditBindingTest, OpeningAnotherListForgetsTheHistory) {
    Select({0});
    emit view->deleteSelectedRequested();
    EXPECT_TRUE(binding->Actions().Action(Cmd::EditUndo)->isEnabled());
    emit doc->documentChanged();
    EXPECT_FALSE(binding->Actions().Action(Cmd::EditUndo)->isEnabled());
}

namespace {
bool ContextItemEnabled(CSVL_EditorView& view, int command) {
    const auto menu = view.createContextMenu();
    for (QAction* a : menu->actions())
        if (a->data().toInt() == command) return a->isEnabled();
    ADD_FAILURE() << "the context menu has no item " << command;
    return false;
}
}  // namespace

TEST_F(FrameEditBindingTest, ContextMenuPasteHasTheMenuCommandsAvailability) {
    Select({1});
    EXPECT_FALSE(ContextItemEnabled(*view, Cmd::EditPaste)) << "empty clipboard";
    EXPECT_TRUE(ContextItemEnabled(*view, Cmd::EditCopy));
    frame->Action(Cmd::EditCopy)->trigger();
    EXPECT_TRUE(ContextItemEnabled(*view, Cmd::EditPaste));
    EXPECT_EQ(ContextItemEnabled(*view, Cmd::EditPaste),
              frame->Action(Cmd::EditPaste)->isEnabled());

    doc->List().Loaded = false;  // no list open: nothing to paste into
    EXPECT_FALSE(ContextItemEnabled(*view, Cmd::EditPaste));
    EXPECT_TRUE(ContextItemEnabled(*view, Cmd::ListDelete)) << "a selection can still be removed";
}

TEST_F(FrameEditBindingTest, MoveCommandsInTheEditMenuMoveTheSelectionAndUndo) {
    QMenu* menu = nullptr;
    for (QObject* o : frame->Action(Cmd::EditCut)->associatedObjects())
        if ((menu = qobject_cast<QMenu*>(o))) break;
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* a : menu->actions()) texts << a->text();
    EXPECT_TRUE(texts.contains(QString::fromUtf8("Nach oben\tAlt+Pfeil oben")));
    EXPECT_TRUE(texts.contains(QString::fromUtf8("Ans Ende")));

    QAction* down = binding->Actions().Action(Cmd::MoveDown);
    EXPECT_FALSE(down->isEnabled());  // nothing selected
    EXPECT_EQ(down->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Down));
    Select({0, 1});
    ASSERT_TRUE(down->isEnabled());
    down->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"C", "A", "B", "D"}));
    EXPECT_EQ(view->selectedProgramIndexes(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(doc->IsModified());

    binding->Actions().Action(Cmd::MoveToTop)->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(view->selectedProgramIndexes(), (std::vector<int>{0, 1}));
    binding->Actions().Action(Cmd::EditUndo)->trigger();
    binding->Actions().Action(Cmd::EditUndo)->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_FALSE(doc->IsModified());

    // In category mode the command stays enabled and refuses when used (tested
    // on the editor, whose message would be a modal box here).
    view->setCategoryMode(true);
    binding->Actions().UpdateEnabled();
    EXPECT_TRUE(down->isEnabled());
}

TEST_F(FrameEditBindingTest, SortingByAColumnIsOneStepAndNotAViewState) {
    doc->List().Programs[0]->Name = "d";
    doc->List().Programs[1]->Name = "B";
    doc->List().Programs[2]->Name = "a";
    doc->List().Programs[3]->Name = "C";
    emit doc->documentChanged();
    QMenu* menu = nullptr;
    for (QObject* o : frame->Action(Cmd::EditCut)->associatedObjects())
        if ((menu = qobject_cast<QMenu*>(o))) break;
    ASSERT_NE(menu, nullptr);
    QMenu* descending = nullptr;
    for (QAction* a : menu->actions())
        if (a->menu() && a->text() == "Absteigend sortieren nach") descending = a->menu();
    ASSERT_NE(descending, nullptr);
    QAction* byName = nullptr;
    for (QAction* a : descending->actions())
        if (a->text() == "Programm") byName = a;
    ASSERT_NE(byName, nullptr);

    Select({1});  // "B"
    byName->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"d", "C", "B", "a"}));
    EXPECT_EQ(view->selectedProgramIndexes(), (std::vector<int>{2})) << "still on B";
    EXPECT_TRUE(doc->IsModified());
    binding->Actions().Action(Cmd::EditUndo)->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"d", "B", "a", "C"}));
}
