#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include "Allgemein/CGfxListCtrl.h"

namespace {

struct Row {
    std::string group;
    QString name;
    int image;
};

// A list control over a small table of rows; item data is the row's address.
class GfxListCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        list.SetListName("TheTestList");
        list.DefineColumn({0, 0, 0, -1, 0, "", "", ""});
        list.DefineColumn({1, 0, 120, -1, 0, "Name", "", ""});
        list.DefineColumn({2, 2, 40, -1, 0x40, "Bild", "", ""});
        list.SetBuiltInShown({0, 1, 2});
        QPixmap red(8, 8), blue(8, 8);
        red.fill(Qt::red);
        blue.fill(Qt::blue);
        list.Model()->SetImages({QIcon(red), QIcon(blue)});
        list.Model()->SetCellText([](int, quintptr data, int id) {
            const Row* r = reinterpret_cast<const Row*>(data);
            if (id == 1) return r->name;
            if (id == 2) return QString::number(r->image);
            return QString();
        });
        list.Model()->SetCategory(
            [](int, quintptr data) { return reinterpret_cast<const Row*>(data)->group; },
            [](const std::string& key, int n) {
                return QString("%1 (%2)").arg(QString::fromStdString(key)).arg(n);
            });
        std::vector<quintptr> items;
        for (const Row& r : rows) items.push_back(reinterpret_cast<quintptr>(&r));
        list.SetItems(items);
    }
    QString Text(const QModelIndex& idx) const { return idx.data().toString(); }

    std::vector<Row> rows{{"B", "b1", 0}, {"A", "a1", 1}, {"B", "b2", 7}, {"C", "c1", 0}};
    CGfxListCtrl list;
};

TEST_F(GfxListCtrlTest, FlatModeShowsItemsInOrderWithOnDemandTexts) {
    CGfxListModel* m = list.Model();
    ASSERT_EQ(m->rowCount(), 4);
    EXPECT_EQ(Text(m->index(2, 1)), "b2");
    EXPECT_FALSE(m->IsHeader(m->index(0, 0)));
    EXPECT_EQ(m->index(1, 0).data(CGfxListModel::ItemDataRole).value<quintptr>(),
              reinterpret_cast<quintptr>(&rows[1]));
    EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Name");
}

TEST_F(GfxListCtrlTest, ImageColumnShowsIconByNumberAndNoText) {
    CGfxListModel* m = list.Model();
    EXPECT_FALSE(m->index(1, 2).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(m->index(1, 2).data(Qt::DisplayRole).isValid());
    // Image number 7 is outside the image list: nothing is drawn.
    EXPECT_FALSE(m->index(2, 2).data(Qt::DecorationRole).isValid());
    EXPECT_EQ(m->index(1, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
}

TEST_F(GfxListCtrlTest, BusyListShowsNoCellTexts) {
    QSignalSpy changed(list.Model(), &QAbstractItemModel::dataChanged);
    QSignalSpy itemsChanged(list.Model(), &CGfxListModel::itemCellsChanged);
    list.Model()->SetBusy(true);
    EXPECT_FALSE(list.Model()->index(0, 1).data().isValid());
    list.Model()->SetBusy(false);
    EXPECT_EQ(Text(list.Model()->index(0, 1)), "b1");
    EXPECT_EQ(changed.size(), 2);
    EXPECT_EQ(itemsChanged.size(), 0);  // flat: the top-level range covers every item

    list.SetCategoryMode(true);
    list.Model()->SetBusy(true);
    EXPECT_FALSE(list.Model()->IndexOfItem(0).siblingAtColumn(1).data().isValid());
    EXPECT_EQ(itemsChanged.size(), 1);
}

// Qt's model checker walks the model through resets in both modes and
// aborts on any inconsistency between index(), parent() and rowCount().
TEST_F(GfxListCtrlTest, ModelIsConsistentInBothModes) {
    QAbstractItemModelTester tester(list.Model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.SetCategoryMode(true);
    list.SetItems({reinterpret_cast<quintptr>(&rows[3]), reinterpret_cast<quintptr>(&rows[0])});
    list.SetShown({0, 2});
    list.SetCategoryMode(false);
    list.Model()->Clear();
    EXPECT_EQ(list.Model()->rowCount(), 0);
}

TEST_F(GfxListCtrlTest, CategoryModeGroupsByFirstOccurrenceWithHeaders) {
    list.SetCategoryMode(true);
    CGfxListModel* m = list.Model();
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_TRUE(m->IsHeader(m->index(0, 0)));
    EXPECT_EQ(Text(m->index(0, 0)), "B (2)");
    EXPECT_EQ(Text(m->index(1, 0)), "A (1)");
    const QModelIndex groupB = m->index(0, 0);
    ASSERT_EQ(m->rowCount(groupB), 2);
    EXPECT_EQ(Text(m->index(1, 1, groupB)), "b2");
    EXPECT_EQ(m->ItemOf(m->index(1, 1, groupB)), 2);
    EXPECT_EQ(m->parent(m->index(1, 1, groupB)), groupB);
    EXPECT_EQ(m->IndexOfItem(3).parent().row(), 2);
    EXPECT_TRUE(list.isFirstColumnSpanned(0, QModelIndex()));
    EXPECT_TRUE(list.isExpanded(groupB));

    list.SetCategoryMode(false);
    EXPECT_EQ(m->rowCount(), 4);
    EXPECT_EQ(m->rowCount(m->index(0, 0)), 0);
}

TEST_F(GfxListCtrlTest, CollapsedGroupsStayCollapsedOverRefills) {
    list.SetCategoryMode(true);
    CGfxListModel* m = list.Model();
    list.collapse(m->index(0, 0));                                        // "B"
    std::vector<quintptr> items(m->Items().rbegin(), m->Items().rend());  // C, B, A, B
    list.SetItems(items);
    EXPECT_EQ(m->GroupKey(1), "B");
    EXPECT_FALSE(list.isExpanded(m->index(1, 0)));
    EXPECT_TRUE(list.isExpanded(m->index(0, 0)));
    list.SetCategoryMode(false);
    list.SetCategoryMode(true);
    EXPECT_FALSE(list.isExpanded(m->index(1, 0)));
    list.expand(m->index(1, 0));
    list.SetItems(items);
    EXPECT_TRUE(list.isExpanded(m->index(1, 0)));
}

TEST_F(GfxListCtrlTest, SelectionIsInRowOrderAndMarksHeaders) {
    list.SetCategoryMode(true);
    CGfxListModel* m = list.Model();
    auto* sel = list.selectionModel();
    const auto flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
    sel->select(m->IndexOfItem(3), flags);  // group C
    sel->select(m->index(1, 0), flags);     // header A
    sel->select(m->IndexOfItem(2), flags);  // group B, second
    sel->select(m->IndexOfItem(0), flags);  // group B, first
    EXPECT_EQ(list.SelectedRowItems(), (std::vector<int>{0, 2, -1, 3}));
    EXPECT_EQ(list.SelectedItems(), (std::vector<int>{0, 2, 3}));

    // Switching the mode keeps the selected items selected.
    list.SetCategoryMode(false);
    EXPECT_EQ(list.SelectedItems(), (std::vector<int>{0, 2, 3}));
}

TEST_F(GfxListCtrlTest, DoubleClickReportsItemOrHeader) {
    list.SetCategoryMode(true);
    std::vector<int> got;
    QObject::connect(&list, &CGfxListCtrl::rowDoubleClicked,
                     [&](int item) { got.push_back(item); });
    emit list.doubleClicked(list.Model()->IndexOfItem(1));
    emit list.doubleClicked(list.Model()->index(0, 0));
    EXPECT_EQ(got, (std::vector<int>{1, -1}));
}

TEST_F(GfxListCtrlTest, DraggedWidthsAndShownSetSurviveSaveAndLoad) {
    QTemporaryDir dir;
    QSettings store(dir.filePath("s.ini"), QSettings::IniFormat);
    list.SetShown({0, 2, 1});
    list.header()->resizeSection(2, 333);  // "Name" now at position 2
    list.SaveLayout(store);

    CGfxListCtrl next;
    next.SetListName("TheTestList");
    next.DefineColumn({0, 0, 0, -1, 0, "", "", ""});
    next.DefineColumn({1, 0, 120, -1, 0, "Name", "", ""});
    next.DefineColumn({2, 2, 40, -1, 0x40, "Bild", "", ""});
    next.SetBuiltInShown({0, 1, 2});
    EXPECT_EQ(next.header()->sectionSize(1), 120);
    next.LoadLayout(store);
    EXPECT_EQ(next.Layout().Shown(), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(next.Model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Name");
    EXPECT_EQ(next.header()->sectionSize(2), 333);
    EXPECT_EQ(next.header()->sectionSize(0), 0);
}

}  // namespace

// Ctrl+A and Ctrl+C are the window's commands: the list neither selects header
// rows nor copies a cell's text when the window's command is unavailable, and
// leaves the key to the window's shortcut when it is available.
TEST_F(GfxListCtrlTest, SelectAllAndCopyKeysAreLeftToTheWindow) {
    QWidget window;
    list.setParent(&window);
    struct GiveBack {  // the fixture owns the list, not the window
        CGfxListCtrl& list;
        ~GiveBack() { list.setParent(nullptr); }
    } giveBack{list};
    QAction selectAll(&window);
    selectAll.setShortcut(QKeySequence::SelectAll);
    window.addAction(&selectAll);
    int fired = 0;
    QObject::connect(&selectAll, &QAction::triggered, [&] { ++fired; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    list.SetCategoryMode(true);
    list.setFocus();
    list.setCurrentIndex(list.Model()->index(0, 1));  // a header row
    QGuiApplication::clipboard()->setText("vorher");
    const auto selectedBefore = list.selectionModel()->selectedRows();

    selectAll.setEnabled(false);
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(list.selectionModel()->selectedRows(), selectedBefore);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "vorher");
    EXPECT_EQ(fired, 0);

    selectAll.setEnabled(true);
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(list.selectionModel()->selectedRows(), selectedBefore);
}
