// The timer file: its byte layout, and the data file at start-up when it is
// missing, of another kind, cut short or claims more entries than it holds.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>

#include "channellist/AtomicFile.h"
#include "channellist/CArchiveWriter.h"
#include "channellist/CClassRegistry.h"
#include "recording/TimerStore.h"

namespace {

struct Messages : IRecordingMessages {
    QStringList shown;
    void ShowError(const QString& caption, const QString& text) override {
        shown << caption + " | " + text;
    }
};

void U32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

void Date(std::vector<std::uint8_t>& b, double days) {
    U32(b, 0);  // valid
    std::uint8_t raw[8];
    std::memcpy(raw, &days, 8);
    b.insert(b.end(), raw, raw + 8);
}

CProgramInfo Program() {
    CProgramInfo p;
    p.Name = "Das Erste";
    p.Frequency = 11836000;
    p.ServiceId = 28106;
    p.Streams.resize(2);
    p.Streams[1].Pid = 102;
    return p;
}

// One entry written field by field: the program by its own Store, then
// start, end, status, "Film\xe4.pva" (Windows-1252), format, flags and the
// two reserved words.
std::vector<std::uint8_t> OneEntryFile(std::uint32_t reserved) {
    std::vector<std::uint8_t> b;
    U32(b, 0x80037890);
    U32(b, 1);
    CArchiveWriter out(b);
    Program().Store(out);
    Date(b, 45355.84375);  // 2024-03-04 20:15
    Date(b, 45355.875);    // 21:00
    U32(b, 2);
    b.push_back(9);
    for (char c : std::string("Film\xe4.pva")) b.push_back(std::uint8_t(c));
    U32(b, 3);
    U32(b, 0x12);  // weekly, Monday
    U32(b, reserved);
    U32(b, reserved);
    return b;
}

class TimerStoreTest : public ::testing::Test {
  protected:
    std::string Path() const { return dir_.filePath("Timer.dat").toStdString(); }
    static std::vector<std::uint8_t> Read(const std::string& path) {
        std::vector<std::uint8_t> bytes;
        ReadWholeFile(path, bytes, nullptr);
        return bytes;
    }
    QTemporaryDir dir_;
    Messages messages_;
};

TEST(TimerFile, StoresEveryFieldInFileOrderAndReadsItBack) {
    const std::vector<std::uint8_t> bytes = OneEntryFile(0);
    CTIMERFile file;
    ASSERT_TRUE(file.Load(bytes));
    ASSERT_EQ(file.entries.size(), 1u);
    const CTimerEntry& e = file.entries[0];
    EXPECT_EQ(e.program, Program());
    EXPECT_EQ(e.Start(), QDateTime(QDate(2024, 3, 4), QTime(20, 15)));
    EXPECT_EQ(e.End(), QDateTime(QDate(2024, 3, 4), QTime(21, 0)));
    EXPECT_EQ(e.status, CTimerEntry::Recording);
    EXPECT_EQ(e.fileName, "Filmä.pva");
    EXPECT_EQ(e.formatIndex, 3);
    EXPECT_TRUE(e.Weekly());
    EXPECT_EQ(file.Store(), bytes);

    // The reserved words are not kept: they go back as 0.
    ASSERT_TRUE(file.Load(OneEntryFile(77)));
    EXPECT_EQ(file.Store(), bytes);
    EXPECT_EQ(CTIMERFile::EmptyFile(),
              (std::vector<std::uint8_t>{0x90, 0x78, 0x03, 0x80, 0, 0, 0, 0}));
    CTimerEntry::RegisterClass();
    EXPECT_STREQ(CClassRegistry::Create("CTimerEntry")->ClassName(), "CTimerEntry");
}

TEST(TimerFile, ACountLargerThanTheBytesCanHoldFailsBeforeReading) {
    std::vector<std::uint8_t> bytes = OneEntryFile(0);
    bytes[4] = 0xFF, bytes[5] = 0xFF, bytes[6] = 0xFF, bytes[7] = 0x7F;
    CTIMERFile file;
    EXPECT_FALSE(file.Load(bytes));
    EXPECT_TRUE(file.Valid());
    EXPECT_TRUE(file.entries.empty());
    bytes[4] = 2, bytes[5] = bytes[6] = bytes[7] = 0;  // one more than is there
    EXPECT_FALSE(file.Load(bytes));
    EXPECT_TRUE(file.entries.empty());
}

TEST_F(TimerStoreTest, AMissingFileIsCreatedEmptyWithoutAWord) {
    CTIMERFile list;
    LoadTimersAtStartUp(Path(), list, messages_);
    EXPECT_TRUE(messages_.shown.isEmpty());
    EXPECT_EQ(Read(Path()), CTIMERFile::EmptyFile());
    EXPECT_TRUE(list.Valid());
}

TEST_F(TimerStoreTest, AFileOfAnotherKindIsKeptAsBakAndReplaced) {
    const std::vector<std::uint8_t> playlist = {0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0};
    const std::vector<std::uint8_t> older = {1};
    ASSERT_TRUE(SaveFileAtomically(Path() + ".bak", older, nullptr));
    ASSERT_TRUE(SaveFileAtomically(Path(), playlist, nullptr));
    CTIMERFile list;
    list.entries.resize(1);
    LoadTimersAtStartUp(Path(), list, messages_);
    EXPECT_EQ(messages_.shown,
              QStringList{"Fehler in der Timer-Datei | Timer-Datei hat eine falsche Dateikennung!\n"
                          "Es wird eine neue Datei erstellt!\n"
                          "Die alte Datei wurde als „Timer.dat.bak“ aufbewahrt."});
    EXPECT_TRUE(list.entries.empty());
    EXPECT_EQ(Read(Path()), CTIMERFile::EmptyFile());
    EXPECT_EQ(Read(Path() + ".bak"), playlist);
}

TEST_F(TimerStoreTest, AFileCutShortIsReportedDamagedAndKept) {
    std::vector<std::uint8_t> bytes = OneEntryFile(0);
    bytes.resize(bytes.size() - 3);
    ASSERT_TRUE(SaveFileAtomically(Path(), bytes, nullptr));
    CTIMERFile list;
    LoadTimersAtStartUp(Path(), list, messages_);
    ASSERT_EQ(messages_.shown.size(), 1);
    EXPECT_EQ(messages_.shown[0],
              "Fehler in der Timer-Datei | Timer-Datei ist beschädigt!\nEs wird eine neue Datei "
              "erstellt!\nDie alte Datei wurde als „Timer.dat.bak“ aufbewahrt.");
    EXPECT_TRUE(list.entries.empty());
    EXPECT_EQ(Read(Path() + ".bak"), bytes);
    EXPECT_EQ(Read(Path()), CTIMERFile::EmptyFile());
}

TEST_F(TimerStoreTest, AFailedSaveNamesTheFileAndTheReason) {
    CTIMERFile list;
    const std::string path = dir_.filePath("no/folder/Timer.dat").toStdString();
    EXPECT_FALSE(SaveTimers(path, list, messages_));
    ASSERT_EQ(messages_.shown.size(), 1);
    EXPECT_TRUE(messages_.shown[0].startsWith("Timerliste speichern | Die Timer-Datei „" +
                                              QString::fromStdString(path) +
                                              "“ konnte nicht gespeichert werden:\n"));
    EXPECT_FALSE(messages_.shown[0].section('\n', 1).isEmpty()) << "no reason given";
    ASSERT_TRUE(SaveTimers(Path(), list, messages_));
    EXPECT_EQ(Read(Path()), CTIMERFile::EmptyFile());
}

}  // namespace
