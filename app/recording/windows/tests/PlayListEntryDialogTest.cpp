// "Playlisteneintrag": the fields of an entry, the refused ranges, the
// browse dialog and the measured play length.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimeEdit>

#include "QStringPrinter.h"
#include "ScriptedDialogs.h"
#include "recording/windows/CPlayListEntryDialog.h"
#include "recording/windows/IPlayListDialogs.h"
#include "recording/windows/PlayListTexts.h"

namespace {

// A PVA recording: an audio packet, then `pictures` video packets with a
// PTS 40 ms apart (payloads of an odd length), then audio again.
QByteArray PvaFile(int pictures) {
    QByteArray f;
    const auto packet = [&f](std::uint8_t stream, std::uint8_t counter, bool pts,
                             std::uint32_t value, int payload) {
        const int length = payload + (pts ? 4 : 0);
        f.append("AV");
        f.append(char(stream)).append(char(counter)).append(char(0x55));
        f.append(char(pts ? 0x10 : 0)).append(char(length >> 8)).append(char(length & 0xFF));
        if (pts)
            for (int shift = 24; shift >= 0; shift -= 8) f.append(char(value >> shift));
        f.append(QByteArray(payload, char(0x47)));
    };
    packet(2, 0, false, 0, 200);
    for (int i = 0; i < pictures; ++i) packet(1, std::uint8_t(i), true, 900000 + i * 3600, 1001);
    packet(2, 1, false, 0, 77);
    return f;
}

class PlayListEntryDialogTest : public ::testing::Test {
  protected:
    template <typename W>
    W* Field(CPlayListEntryDialog& d, const char* name) {
        W* w = d.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString WriteFile(const char* name, const QByteArray& bytes) {
        const QString path = dir_.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;
};

TEST_F(PlayListEntryDialogTest, ShowsTheEntryAndWritesItBackOnOk) {
    CPlayListEntry e;
    e.fileName = "/video/alt.pva";
    e.playLengthMs = 61500;
    e.lastPlayed = LocalDateTime::FromLocal(QDateTime(QDate(2022, 12, 24), QTime(20, 15, 0)));
    e.pauseSec = 12;
    e.repetitions = 4;
    e.powerOff = 1;
    e.status = CPlayListEntry::Finished;
    CPlayListEntryDialog d(e, dialogs_);
    EXPECT_EQ(d.windowTitle(), "Playlisteneintrag");
    EXPECT_EQ(Field<QLineEdit>(d, "FileName")->text(), "/video/alt.pva");
    EXPECT_EQ(Field<QLineEdit>(d, "PlayLength")->text(), "00:01:01,500");
    EXPECT_TRUE(Field<QLineEdit>(d, "PlayLength")->isReadOnly());
    EXPECT_EQ(Field<QDateEdit>(d, "LastPlayedDate")->date(), QDate(2022, 12, 24));
    EXPECT_EQ(Field<QTimeEdit>(d, "LastPlayedTime")->time(), QTime(20, 15, 0));
    EXPECT_EQ(Field<QLineEdit>(d, "Pause")->text(), "12");
    EXPECT_EQ(Field<QLineEdit>(d, "Repetitions")->text(), "4");
    EXPECT_TRUE(Field<QCheckBox>(d, "PowerOff")->isChecked());

    Field<QDateEdit>(d, "LastPlayedDate")->setDate(QDate(2023, 1, 2));
    Field<QTimeEdit>(d, "LastPlayedTime")->setTime(QTime(6, 7, 8));
    Field<QLineEdit>(d, "Pause")->setText("2000000000");
    Field<QLineEdit>(d, "Repetitions")->setText("200000000");
    Field<QCheckBox>(d, "PowerOff")->setChecked(false);
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(dialogs_.shown.isEmpty());
    EXPECT_EQ(LocalDateTime::ToLocal(e.lastPlayed), QDateTime(QDate(2023, 1, 2), QTime(6, 7, 8)));
    EXPECT_EQ(e.pauseSec, 2000000000u);
    EXPECT_EQ(e.repetitions, 200000000u);
    EXPECT_EQ(e.powerOff, 0u);
    EXPECT_EQ(e.playLengthMs, 61500u) << "the file was not changed, so not measured again";
    EXPECT_EQ(e.status, CPlayListEntry::Finished) << "the window sets the status";
}

TEST_F(PlayListEntryDialogTest, NumbersOutOfRangeAreRefusedAndTheDialogStaysOpen) {
    CPlayListEntry e;
    const CPlayListEntry before = e;
    CPlayListEntryDialog d(e, dialogs_);
    d.show();
    struct Case {
        const char* field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"Pause", "2000000001", "zwischen 0 und 2000000000"},
        {"Pause", "", "zwischen 0 und 2000000000"},
        {"Repetitions", "0", "zwischen 1 und 200000000"},
        {"Repetitions", "200000001", "zwischen 1 und 200000000"},
        {"Repetitions", "9999999999", "zwischen 1 und 200000000"},
    };
    for (const Case& c : cases) {
        Field<QLineEdit>(d, "Pause")->setText("5");
        Field<QLineEdit>(d, "Repetitions")->setText("2");
        Field<QLineEdit>(d, c.field)->setText(QString::fromLatin1(c.text));
        dialogs_.shown.clear();
        d.accept();
        ASSERT_EQ(dialogs_.shown.size(), 1) << c.field << " " << c.text;
        EXPECT_EQ(dialogs_.shown[0], QStringLiteral("Playlisteneintrag | Bitte geben Sie eine "
                                                    "Zahl %1 ein.")
                                         .arg(QString::fromLatin1(c.message)));
        EXPECT_TRUE(d.isVisible());
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(e, before);
    }
}

TEST_F(PlayListEntryDialogTest, BrowseTakesTheFileAndMeasuresItsPlayLength) {
    CPlayListEntry e;
    CPlayListEntryDialog d(e, dialogs_);
    dialogs_.chosenFile = WriteFile("zehn.pva", PvaFile(251));
    d.Browse();
    ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs_.fileRequests[0].mode, FileRequest::Mode::Open);
    EXPECT_EQ(dialogs_.fileRequests[0].filters,
              QStringList({"Alle Dateien (*.psa;*.mp2;*.psv;*.pva)", "PES Audio Dateien (*.psa)",
                           "MP2 Audio Dateien (*.mp2)", "PES Video Dateien (*.psv)",
                           "PES Audio/Video Dateien (*.pva)", "MPEG-TS Dateien (*.ts)"}));
    EXPECT_EQ(Field<QLineEdit>(d, "FileName")->text(), dialogs_.chosenFile);
    EXPECT_EQ(Field<QLineEdit>(d, "PlayLength")->text(), "00:00:10,000");
    d.accept();
    EXPECT_EQ(e.fileName, dialogs_.chosenFile.toStdString());
    EXPECT_EQ(e.playLengthMs, 10000u);

    // Cancelling the file dialog keeps the file; an MP2 file lasts 0 here.
    dialogs_.chosenFile.clear();
    CPlayListEntryDialog again(e, dialogs_);
    again.Browse();
    EXPECT_EQ(Field<QLineEdit>(again, "PlayLength")->text(), "00:00:10,000");
    EXPECT_EQ(dialogs_.fileRequests.back().folder, dir_.path());
    again.TakeFile(WriteFile("ton.mp2", QByteArray(4096, char(0xFF))));
    EXPECT_EQ(Field<QLineEdit>(again, "PlayLength")->text(), "00:00:00,000");
}

TEST_F(PlayListEntryDialogTest, ATypedFileNameIsMeasuredOnOk) {
    CPlayListEntry e;
    e.playLengthMs = 123;
    CPlayListEntryDialog d(e, dialogs_);
    Field<QLineEdit>(d, "FileName")->setText(WriteFile("vier.pva", PvaFile(101)));
    d.accept();
    EXPECT_EQ(e.playLengthMs, 4000u);
}

}  // namespace
