#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "Allgemein/CColumnDialog.h"

namespace {

QStringList Texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

void Select(QListWidget* list, std::initializer_list<int> rows) {
    list->clearSelection();
    for (int r : rows) list->item(r)->setSelected(true);
}

// Six columns: 0 unnamed, an image column named by its description, four text columns.
CColumnLayout SampleLayout() {
    CColumnLayout l;
    l.AddColumn({0, 0, 0, -1, 0x180, "", "", ""});
    l.AddColumn({1, 0, 50, -1, 0, "Nr", "", ""});
    l.AddColumn({2, 0, 200, -1, 0x20, "programm", "", ""});
    l.AddColumn({3, 0, 200, -1, 0x20, "Provider", "", ""});
    l.AddColumn({4, 2, 50, -1, 0x60, "Programmtype", "", "Art"});
    l.AddColumn({5, 2, 80, -1, 0x28, "A-PID", "", ""});
    l.SetShown({0, 3, 1});
    return l;
}

class ColumnDialogTest : public ::testing::Test {
  protected:
    ColumnDialogTest() : dialog(SampleLayout()) {
        dialog.SetMessageFn([this](QWidget*, const QString& text) { messages << text; });
    }
    CColumnDialog dialog;
    QStringList messages;
};

TEST_F(ColumnDialogTest, OpensWithSortedFreeListAndShownOrder) {
    EXPECT_EQ(Texts(dialog.FreeList()), (QStringList{"A-PID", "Art", "programm"}));
    EXPECT_EQ(Texts(dialog.UsedList()), (QStringList{"Provider", "Nr"}));
    for (QPushButton* b : {dialog.OkButton(), dialog.InsertButton(), dialog.RemoveButton(),
                           dialog.UpButton(), dialog.DownButton()})
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
}

TEST_F(ColumnDialogTest, MoveButtonsFollowTheSelections) {
    Select(dialog.FreeList(), {0});
    EXPECT_TRUE(dialog.InsertButton()->isEnabled());
    Select(dialog.UsedList(), {0});
    EXPECT_TRUE(dialog.RemoveButton()->isEnabled());
    EXPECT_TRUE(dialog.UpButton()->isEnabled());
    Select(dialog.UsedList(), {0, 1});
    EXPECT_TRUE(dialog.RemoveButton()->isEnabled());
    EXPECT_FALSE(dialog.UpButton()->isEnabled());
    EXPECT_FALSE(dialog.DownButton()->isEnabled());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());  // selecting alone changes nothing
}

TEST_F(ColumnDialogTest, InsertAppendsInReverseOfFreeOrder) {
    Select(dialog.FreeList(), {0, 2});  // "A-PID", "programm"
    dialog.InsertButton()->click();
    EXPECT_EQ(Texts(dialog.UsedList()), (QStringList{"Provider", "Nr", "programm", "A-PID"}));
    EXPECT_EQ(Texts(dialog.FreeList()), (QStringList{"Art"}));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
}

TEST_F(ColumnDialogTest, RemovePutsEntriesBackIntoSortedFreeList) {
    Select(dialog.UsedList(), {0, 1});
    dialog.RemoveButton()->click();
    EXPECT_EQ(Texts(dialog.UsedList()), QStringList{});
    EXPECT_EQ(Texts(dialog.FreeList()),
              (QStringList{"A-PID", "Art", "Nr", "programm", "Provider"}));
}

TEST_F(ColumnDialogTest, UpAndDownMoveOneEntryAndStopAtTheEnds) {
    Select(dialog.UsedList(), {1});  // "Nr"
    dialog.UpButton()->click();
    EXPECT_EQ(Texts(dialog.UsedList()), (QStringList{"Nr", "Provider"}));
    EXPECT_TRUE(dialog.UsedList()->item(0)->isSelected());
    dialog.UpButton()->click();  // already first
    EXPECT_EQ(Texts(dialog.UsedList()), (QStringList{"Nr", "Provider"}));
    dialog.DownButton()->click();
    dialog.DownButton()->click();  // already last
    EXPECT_EQ(Texts(dialog.UsedList()), (QStringList{"Provider", "Nr"}));
    EXPECT_TRUE(dialog.UsedList()->item(1)->isSelected());

    Select(dialog.UsedList(), {0, 1});  // two selected: no move
    dialog.MoveDown();
    EXPECT_EQ(Texts(dialog.UsedList()), (QStringList{"Provider", "Nr"}));
}

TEST_F(ColumnDialogTest, OkWithEmptyUsedListShowsMessageAndStaysOpen) {
    dialog.show();
    Select(dialog.UsedList(), {0, 1});
    dialog.RemoveButton()->click();
    dialog.OkButton()->click();
    EXPECT_EQ(messages, QStringList{"E' necessario inserire almeno una colonna .."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.close();
}

TEST_F(ColumnDialogTest, OkPutsColumnZeroFirstWhateverTheOrder) {
    Select(dialog.FreeList(), {1});  // "Art", id 4
    dialog.InsertButton()->click();
    Select(dialog.UsedList(), {2});
    dialog.UpButton()->click();
    dialog.UpButton()->click();
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result(), (std::vector<int>{0, 4, 3, 1}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST(ColumnDialog, NamedColumnZeroIsNotRepeated) {
    CColumnLayout l;
    l.AddColumn({0, 0, 30, -1, 0, "Status", "", ""});
    l.AddColumn({1, 0, 50, -1, 0, "Name", "", ""});
    l.SetShown({1, 0});
    CColumnDialog d(l);
    EXPECT_EQ(Texts(d.UsedList()), (QStringList{"Name", "Status"}));
    d.accept();
    EXPECT_EQ(d.Result(), (std::vector<int>{0, 1}));
}

}  // namespace
