#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "Allgemein/CColumnLayout.h"

namespace {

// A list with three columns as a list window would define them.
CColumnLayout BuiltIn() {
    CColumnLayout l;
    l.AddColumn({0, CColumnDef::Left, 0, -1, 0x180, "", "", ""});
    l.AddColumn({1, CColumnDef::Left, 50, -1, 0, "Nr", "", ""});
    l.AddColumn({2, CColumnDef::Centre, 120, -1, 0x60, "Typ", "", "Programmtyp"});
    l.SetShown({0, 1, 2});
    return l;
}

class ColumnLayoutTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QSettings settings{dir.filePath("store.ini"), QSettings::IniFormat};
};

TEST_F(ColumnLayoutTest, SaveThenLoadRestoresWidthsOrderAndStrings) {
    CColumnLayout saved = BuiltIn();
    saved.SetShown({0, 2, 1});
    saved.TakeWidths({0, 77, 333});  // positions: id 0, id 2, id 1
    saved.Find(2)->textdt = "zweite";
    saved.Save(settings, "TheMainList");
    settings.sync();

    QSettings reread(dir.filePath("store.ini"), QSettings::IniFormat);
    CColumnLayout loaded = BuiltIn();
    loaded.Load(reread, "TheMainList");
    EXPECT_EQ(loaded.Shown(), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(loaded.Find(2)->width, 77);
    EXPECT_EQ(loaded.Find(1)->width, 333);
    EXPECT_EQ(loaded.Definitions(), saved.Definitions());
}

TEST_F(ColumnLayoutTest, StoredFormUsesTheListGroupAndValueNames) {
    CColumnLayout l = BuiltIn();
    l.Save(settings, "TheTimerList");
    settings.beginGroup("GfxLists");
    settings.beginGroup("TheTimerList");
    EXPECT_EQ(settings.value("NumDef").toInt(), 3);
    EXPECT_EQ(settings.value("DefColId 2").toInt(), 2);
    EXPECT_EQ(settings.value("DefNum").toInt(), 3);
    EXPECT_EQ(settings.value("ColDef_id_1").toInt(), 1);
    EXPECT_EQ(settings.value("ColDef_align_2").toInt(), 2);
    EXPECT_EQ(settings.value("ColDef_width_1").toInt(), 50);
    EXPECT_EQ(settings.value("ColDef_image_0").toInt(), -1);
    EXPECT_EQ(settings.value("ColDef_dwdata_0").toLongLong(), 0x180);
    EXPECT_EQ(settings.value("ColDef_text_1").toString(), "Nr");
    EXPECT_EQ(settings.value("ColDef_descr_2").toString(), "Programmtyp");
    // A missing string is stored as the empty string, not left out.
    EXPECT_TRUE(settings.contains("ColDef_textdt_0"));
}

TEST_F(ColumnLayoutTest, NothingStoredKeepsBuiltIn) {
    CColumnLayout l = BuiltIn();
    l.Load(settings, "TheMainList");
    EXPECT_EQ(l.Shown(), BuiltIn().Shown());
    EXPECT_EQ(l.Definitions(), BuiltIn().Definitions());

    settings.setValue("GfxLists/TheMainList/NumDef", 0);
    settings.setValue("GfxLists/TheMainList/DefColId 0", 2);
    l.Load(settings, "TheMainList");
    EXPECT_EQ(l.Shown(), BuiltIn().Shown());
}

TEST_F(ColumnLayoutTest, UnknownStoredIdsAreIgnoredAndNewColumnsKeepBuiltIns) {
    settings.beginGroup("GfxLists/TheMainList");
    settings.setValue("NumDef", 3);
    settings.setValue("DefColId 0", 0);
    settings.setValue("DefColId 1", 9);   // no longer offered: skipped when the columns are built
    settings.setValue("DefColId 2", -1);  // negative ids are dropped on load
    settings.setValue("DefNum", 2);
    settings.setValue("ColDef_id_0", 9);
    settings.setValue("ColDef_width_0", 999);
    settings.setValue("ColDef_id_1", 1);
    settings.setValue("ColDef_width_1", 64);  // other values of this definition absent
    settings.endGroup();

    CColumnLayout l = BuiltIn();
    l.Load(settings, "TheMainList");
    EXPECT_EQ(l.Shown(), (std::vector<int>{0, 9}));
    EXPECT_EQ(l.Definitions().size(), 3u);
    EXPECT_EQ(l.Find(9), nullptr);
    EXPECT_EQ(l.Find(1)->width, 64);
    EXPECT_EQ(l.Find(1)->align, CColumnDef::Left);  // missing value keeps the current one
    EXPECT_EQ(l.Find(1)->text, "");                 // missing string reads as empty
    EXPECT_EQ(*l.Find(2), *BuiltIn().Find(2));      // not in the store: built-in values
    ASSERT_EQ(l.ShownDefinitions().size(), 1u);
    EXPECT_EQ(l.ShownDefinitions()[0].id, 0);
}

TEST_F(ColumnLayoutTest, DamagedStoreIsBoundedAndNeverEmptiesTheList) {
    settings.beginGroup("GfxLists/TheMainList");
    settings.setValue("NumDef", 2000000000);  // would loop for a long time if trusted
    settings.setValue("DefNum", "kaputt");
    settings.setValue("ColDef_id_0", 1);
    settings.endGroup();
    CColumnLayout l = BuiltIn();
    l.Load(settings, "TheMainList");
    EXPECT_EQ(l.Shown(), BuiltIn().Shown());
    EXPECT_EQ(l.Definitions(), BuiltIn().Definitions());
}

TEST(ColumnLayout, TakeWidthsSkipsIdsWithoutDefinitionAndPrefersFirstPosition) {
    CColumnLayout l = BuiltIn();
    l.SetShown({0, 7, 1, 1});
    // The built header has the columns 0, 1, 1 (7 has no definition).
    l.TakeWidths({5, 40, 90});
    EXPECT_EQ(l.Find(0)->width, 5);
    EXPECT_EQ(l.Find(1)->width, 40);
}

TEST(ColumnDef, DisplayNameOfImageColumnIsItsDescription) {
    CColumnDef image{8, 2, 50, -1, 0x60, "Programmtype", "", "Art"};
    CColumnDef text{8, 2, 50, -1, 0x20, "Programmtype", "", "Art"};
    CColumnDef imageNoDescr{8, 2, 50, -1, 0x40, "Programmtype", "", ""};
    EXPECT_EQ(image.DisplayName(), "Art");
    EXPECT_EQ(text.DisplayName(), "Programmtype");
    EXPECT_EQ(imageNoDescr.DisplayName(), "Programmtype");
}

}  // namespace
