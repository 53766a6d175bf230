// The playlist file byte for byte, the identifier check, lists cut short,
// the archive date-time, and the play length of PVA recordings.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "recording/CPlayListFile.h"
#include "recording/LocalDateTime.h"
#include "recording/PvaPlayLength.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

TEST(PlayListFile, StoresTheFieldsInTheirOrderAndReadsThemBack) {
    CPlayListFile list;
    CPlayListEntry e;
    e.fileName = "/srv/tv/Müller.pva";
    e.pauseSec = 5;
    e.lastPlayed = {ArchiveDateTime::Valid, 45000.5};
    e.status = CPlayListEntry::Finished;
    e.repetitions = 3;
    e.powerOff = 1;
    e.playLengthMs = 10000;
    list.entries.push_back(e);
    const Bytes bytes = list.Store();

    Bytes want;
    Put32(want, 0x12345678);
    Put32(want, 1);
    want.push_back(18);  // the name in Windows-1252: "ü" is one byte
    for (char c : std::string("/srv/tv/M\xFCller.pva")) want.push_back(std::uint8_t(c));
    Put32(want, 5);
    Put32(want, 0);  // date-time: valid, then the double 45000.5
    for (std::uint8_t b : {0x00, 0x00, 0x00, 0x00, 0x10, 0xF9, 0xE5, 0x40}) want.push_back(b);
    for (std::uint32_t v : {4u, 3u, 1u, 10000u, 0u}) Put32(want, v);
    EXPECT_EQ(bytes, want);

    CPlayListFile back;
    ASSERT_TRUE(back.Load(bytes));
    EXPECT_TRUE(back.Valid());
    ASSERT_EQ(back.entries.size(), 1u);
    EXPECT_EQ(back.entries[0], e);
    back.MarkAllStopped();
    EXPECT_EQ(back.entries[0].status, CPlayListEntry::Stopped);
}

TEST(PlayListFile, RefusesOtherIdentifiersAndListsCutShort) {
    CPlayListFile list;
    EXPECT_TRUE(list.Load(CPlayListFile::EmptyFile()));
    EXPECT_TRUE(list.entries.empty());

    Bytes timer;  // a timer file: its identifier, one entry
    Put32(timer, 0x80037890);
    Put32(timer, 1);
    EXPECT_FALSE(list.Load(timer));
    EXPECT_FALSE(list.Valid());

    list.entries.resize(2);
    list.entries[1].fileName = "b.pva";
    Bytes cut = list.Store();
    cut.resize(cut.size() - 1);
    CPlayListFile back;
    EXPECT_FALSE(back.Load(cut));
    EXPECT_TRUE(back.entries.empty()) << "no half list";

    Bytes huge;  // a count no file of this size can hold
    Put32(huge, 0x12345678);
    Put32(huge, 0xFFFFFFFF);
    EXPECT_FALSE(back.Load(huge));
}

TEST(PlayListFile, NamesOutsideTheCodePageKeepTheirPlaceAsQuestionMarks) {
    CPlayListFile list;
    list.entries.resize(1);
    list.entries[0].fileName = "Ära–Кино.pva";  // the dash is in the code page, Cyrillic is not
    CPlayListFile back;
    ASSERT_TRUE(back.Load(list.Store()));
    EXPECT_EQ(back.entries[0].fileName, "Ära–????.pva");
}

TEST(ArchiveDateTime, DaysSince1899WithTheTimeAsFraction) {
    const QDateTime noon(QDate(2023, 3, 15), QTime(12, 0));
    const ArchiveDateTime t = LocalDateTime::FromLocal(noon);
    EXPECT_EQ(t.status, ArchiveDateTime::Valid);
    EXPECT_DOUBLE_EQ(t.days, 45000.5);
    EXPECT_EQ(LocalDateTime::ToLocal(t), noon);
    const ArchiveDateTime before{ArchiveDateTime::Valid, -1.25};  // 1899-12-29 06:00
    EXPECT_EQ(LocalDateTime::ToLocal(before), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(LocalDateTime::FromLocal(LocalDateTime::ToLocal(before)), before);
    // A time a hair before midnight is the next day's midnight, either side of 1899.
    EXPECT_EQ(LocalDateTime::ToLocal(ArchiveDateTime{ArchiveDateTime::Valid, 1.9999999999}),
              QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_EQ(LocalDateTime::ToLocal(ArchiveDateTime{ArchiveDateTime::Valid, -1.9999999999}),
              QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_FALSE(LocalDateTime::ToLocal(ArchiveDateTime{ArchiveDateTime::Null, 45000}).isValid());
    EXPECT_FALSE(LocalDateTime::ToLocal(ArchiveDateTime{ArchiveDateTime::Valid, 1e300}).isValid());
    EXPECT_EQ(LocalDateTime::FromLocal(QDateTime()).status, ArchiveDateTime::Null);
}

class PvaLength : public ::testing::Test {
  protected:
    void TearDown() override { std::filesystem::remove(path_); }
    // A packet: header, and for video with a PTS the PTS before the payload.
    static void Packet(Bytes& f, std::uint8_t stream, bool withPts, std::uint32_t pts,
                       std::size_t payload) {
        const std::size_t length = payload + (withPts ? 4 : 0);
        for (std::uint8_t b :
             {std::uint8_t('A'), std::uint8_t('V'), stream, std::uint8_t(0), std::uint8_t(0x55),
              std::uint8_t(withPts ? 0x10 : 0), std::uint8_t(length >> 8), std::uint8_t(length)})
            f.push_back(b);
        if (withPts)
            for (int i = 3; i >= 0; --i) f.push_back(std::uint8_t(pts >> (8 * i)));
        f.insert(f.end(), payload, 0x47);
    }
    std::uint32_t Length(const Bytes& f) {
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
        return PvaPlayLengthMs(path_);
    }
    std::string path_ = (std::filesystem::temp_directory_path() /
                         ("pva-length-" + std::to_string(::getpid()) + ".pva"))
                            .string();
};

TEST_F(PvaLength, TenSecondsOfPacketsOfAnyLength) {
    Bytes f;
    Packet(f, 2, false, 0, 300);  // audio first
    // 251 pictures 40 ms apart: the packets are 7 bytes longer than a multiple
    // of 8, and 100 bytes of audio end the file.
    const std::uint32_t start = 0xFFFF0000;  // wraps past 2^32 on the way
    for (std::uint32_t i = 0; i <= 250; ++i) Packet(f, 1, true, start + i * 3600, 1003);
    Packet(f, 2, false, 0, 100);
    EXPECT_EQ(Length(f), 10000u);
}

TEST_F(PvaLength, NoVideoTimeStampsGiveZero) {
    Bytes f(4000, 0xFF);  // an MP2 file's bytes
    EXPECT_EQ(Length(f), 0u);
    Bytes audio;
    Packet(audio, 2, false, 0, 500);
    Packet(audio, 1, false, 0, 500);  // video without PTS flag
    EXPECT_EQ(Length(audio), 0u);
    Bytes one;
    Packet(one, 1, true, 90000, 10);
    EXPECT_EQ(Length(one), 0u) << "one picture lasts nothing";
    EXPECT_EQ(PvaPlayLengthMs("/nonexistent/file.pva"), 0u);
}

}  // namespace
