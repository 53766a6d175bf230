// The recent-file list: order, limit and its place in the settings store.
#include <gtest/gtest.h>

#include <QSettings>

#include "channellist/document/CRecentFileList.h"

namespace {
class RecentFiles : public ::testing::Test {
  protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override { QSettings().clear(); }
};
}  // namespace

TEST_F(RecentFiles, MostRecentFirstAndAtMostFourEntries) {
    CRecentFileList list;
    for (const char* p : {"/l/1.svl", "/l/2.svl", "/l/3.svl", "/l/4.svl", "/l/5.svl"})
        list.Add(QString::fromUtf8(p));
    EXPECT_EQ(list.Entries(), (QStringList{"/l/5.svl", "/l/4.svl", "/l/3.svl", "/l/2.svl"}));

    list.Add(QStringLiteral("/l/3.svl"));  // moves up, nothing is lost
    EXPECT_EQ(list.Entries(), (QStringList{"/l/3.svl", "/l/5.svl", "/l/4.svl", "/l/2.svl"}));
}

TEST_F(RecentFiles, StoredAsFile1ToFile4AndReadBack) {
    CRecentFileList list;
    list.Add(QStringLiteral("/l/a.svl"));
    list.Add(QStringLiteral("/l/b.svl"));
    {
        QSettings settings;
        settings.setValue("Recent File List/File3", "/stale.svl");
        list.WriteList(settings);
    }
    QSettings settings;
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), "/l/b.svl");
    EXPECT_EQ(settings.value("Recent File List/File2").toString(), "/l/a.svl");
    EXPECT_FALSE(settings.contains("Recent File List/File3"));
    EXPECT_EQ(CRecentFileList::ReadFirst(settings), "/l/b.svl");

    CRecentFileList again;
    again.ReadList(settings);
    EXPECT_EQ(again.Entries(), list.Entries());
}

TEST_F(RecentFiles, FirstEntryDefaultsToTheNoneMarker) {
    QSettings settings;
    EXPECT_EQ(CRecentFileList::ReadFirst(settings), QStringLiteral("<<NONE>>"));
}

TEST_F(RecentFiles, RelativePathsAreStoredAbsolute) {
    CRecentFileList list;
    list.Add(QStringLiteral("rel.svl"));
    ASSERT_EQ(list.Entries().size(), 1);
    EXPECT_TRUE(list.Entries().first().startsWith(u'/'));
}
