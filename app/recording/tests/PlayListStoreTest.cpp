// The playlist's file on disk: the first start, a broken data file kept
// aside, loading and saving other files, and their German messages.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "channellist/AtomicFile.h"
#include "recording/PlayListStore.h"

namespace {

struct Messages : IRecordingMessages {
    QStringList shown;
    void ShowError(const QString& caption, const QString& text) override {
        shown << caption + " | " + text;
    }
};

class PlayListStore : public ::testing::Test {
  protected:
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
    static std::vector<std::uint8_t> Read(const std::string& path) {
        std::vector<std::uint8_t> bytes;
        ReadWholeFile(path, bytes, nullptr);
        return bytes;
    }
    QTemporaryDir dir_;
    Messages messages_;
};

TEST_F(PlayListStore, FirstStartCreatesAnEmptyFileWithoutAWord) {
    CPlayListFile list;
    LoadPlayListAtStartUp(Path("PlayList.dat"), list, messages_);
    EXPECT_TRUE(messages_.shown.isEmpty());
    EXPECT_EQ(Read(Path("PlayList.dat")), CPlayListFile::EmptyFile());
    EXPECT_TRUE(list.Valid());
}

TEST_F(PlayListStore, AfterARestartAllEntriesAreStopped) {
    CPlayListFile list;
    list.entries.resize(2);
    list.entries[0].status = CPlayListEntry::Playing;
    list.entries[1].status = CPlayListEntry::Finished;
    ASSERT_TRUE(SavePlayList(Path("PlayList.dat"), list, messages_));
    CPlayListFile back;
    LoadPlayListAtStartUp(Path("PlayList.dat"), back, messages_);
    ASSERT_EQ(back.entries.size(), 2u);
    EXPECT_EQ(back.entries[0].status, CPlayListEntry::Stopped);
    EXPECT_EQ(back.entries[1].status, CPlayListEntry::Stopped);
}

TEST_F(PlayListStore, ABrokenDataFileIsReportedKeptAsideAndReplaced) {
    const std::string path = Path("PlayList.dat");
    const std::vector<std::uint8_t> timer = {0x90, 0x78, 0x03, 0x80, 0, 0, 0, 0};
    ASSERT_TRUE(SaveFileAtomically(path, timer, nullptr));
    CPlayListFile list;
    LoadPlayListAtStartUp(path, list, messages_);
    EXPECT_EQ(messages_.shown,
              QStringList{"Fehler in der Wiedergabenlisten-Datei | Wiedergabenlisten-Datei hat "
                          "eine falsche Dateikennung!\nEs wird eine neue Datei erstellt!\n"
                          "Die alte Datei wurde als PlayList.dat.bak gesichert."});
    EXPECT_EQ(Read(path), CPlayListFile::EmptyFile());
    EXPECT_EQ(Read(path + ".bak"), timer);

    // Where no copy can be made the message does not claim one.
    const std::string other = Path("Other.dat");
    ASSERT_TRUE(SaveFileAtomically(other, timer, nullptr));
    std::filesystem::create_directory(other + ".bak");
    LoadPlayListAtStartUp(other, list, messages_);
    EXPECT_EQ(messages_.shown.back(),
              "Fehler in der Wiedergabenlisten-Datei | Wiedergabenlisten-Datei hat eine falsche "
              "Dateikennung!\nEs wird eine neue Datei erstellt!");
}

TEST_F(PlayListStore, LoadingOtherFilesAndSaveFailures) {
    CPlayListFile list;
    list.entries.resize(1);
    EXPECT_FALSE(LoadPlayListFrom(Path("missing.dat"), list, messages_));
    EXPECT_TRUE(list.entries.empty());
    const std::vector<std::uint8_t> timer = {0x90, 0x78, 0x03, 0x80, 0, 0, 0, 0};
    ASSERT_TRUE(SaveFileAtomically(Path("Timer.dat"), timer, nullptr));
    EXPECT_FALSE(LoadPlayListFrom(Path("Timer.dat"), list, messages_));
    ASSERT_EQ(messages_.shown.size(), 2);
    EXPECT_EQ(messages_.shown[0], "Wiedergabeliste öffnen | Datei kann nicht geöffnet werden");
    EXPECT_EQ(messages_.shown[1],
              "Fehler in der Wiedergabenlisten-Datei | Wiedergabenlisten-Datei hat eine falsche "
              "Dateikennung!\nDatei konnte nicht geladen werden!");

    list.entries.resize(1);
    EXPECT_FALSE(SavePlayList(Path("no/such/folder/list.dat"), list, messages_));
    EXPECT_EQ(messages_.shown.back(),
              "Wiedergabeliste speichern | Datei konnte nicht geöffnet werden!\n"
              "Wiedergabeliste kann nicht gespeichert werden!");
    ASSERT_TRUE(SavePlayList(Path("mine.dat"), list, messages_));
    CPlayListFile back;
    EXPECT_TRUE(LoadPlayListFrom(Path("mine.dat"), back, messages_));
    EXPECT_EQ(back.entries.size(), 1u);
}

}  // namespace
