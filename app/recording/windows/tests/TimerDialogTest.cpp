// "Timer": what each mode shows and allows, the weekly program's switch,
// the four refusals of OK and the warning about another transponder, and
// the file chosen with "..".
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimeEdit>

#include "QStringPrinter.h"
#include "ScriptedDialogs.h"
#include "recording/CTimerList.h"
#include "recording/windows/CPlayListDialogs.h"
#include "recording/windows/CTimerDialog.h"
#include "recording/windows/PlayListTexts.h"

namespace {

const QString kCaption = QStringLiteral("Fehlerhafte Timereinstellung");

CProgramInfo Program() {
    CProgramInfo p;
    p.Name = "Das Erste \xc4";  // Windows-1252
    return p;
}

class TimerDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { QSettings().clear(); }
    template <typename W = QWidget>
    W* Field(const char* name) {
        W* w = dialog_->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Open(TimerDialogMode mode, TimerConflictCheck conflict = {}) {
        dialog_ = std::make_unique<CTimerDialog>(entry_, mode, dialogs_, std::move(conflict));
    }
    bool Enabled(const char* name) { return Field(name)->isEnabled(); }
    void Set(const QDateTime& start, const QDateTime& end) {
        Field<QDateEdit>("StartDate")->setDate(start.date());
        Field<QTimeEdit>("StartTime")->setTime(start.time());
        Field<QDateEdit>("EndDate")->setDate(end.date());
        Field<QTimeEdit>("EndTime")->setTime(end.time());
    }
    int CheckedFormat() {
        for (int i = 0; i < 4; ++i)
            if (Field<QRadioButton>(("Format" + std::to_string(i)).c_str())->isChecked()) return i;
        return -1;
    }
    // OK; the box it showed, empty when it took the values.
    QString PressOk() {
        dialogs_.shown.clear();
        dialog_->setResult(QDialog::Rejected);
        dialog_->accept();
        return dialog_->result() == QDialog::Accepted ? QString() : dialogs_.shown.value(0);
    }

    CTimerEntry entry_ = CTimerList::NewEntry(Program(), QDateTime());
    ScriptedDialogs dialogs_;
    std::unique_ptr<CTimerDialog> dialog_;
    const QDateTime tomorrow_ = QDateTime(QDate::currentDate().addDays(1), QTime(20, 15));
};

TEST_F(TimerDialogTest, ANewTimerStartsNowWithAvPesAndNoWeekdays) {
    Open(TimerDialogMode::New);
    EXPECT_EQ(dialog_->windowTitle(), "Timer");
    EXPECT_EQ(Field<QLabel>("Program")->text(), "Das Erste Ä");
    const TimerSettings v = dialog_->Values();
    EXPECT_LE(std::abs(v.start.secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_EQ(v.end, v.start);
    EXPECT_EQ(v.fileName, "");
    EXPECT_EQ(v.formatIndex, 3);
    EXPECT_EQ(v.flags, 0u);
    EXPECT_TRUE(Enabled("StartDate") && Enabled("EndDate"));
    for (const char* day : {"Day0", "Day3", "Day6"}) EXPECT_FALSE(Enabled(day)) << day;
    EXPECT_EQ(Field<QCheckBox>("Day2")->text(), "Mo");

    // The weekly program takes weekdays instead of dates, and back.
    Field<QCheckBox>("Weekly")->setChecked(true);
    EXPECT_FALSE(Enabled("StartDate") || Enabled("EndDate"));
    for (const char* day : {"Day0", "Day3", "Day6"}) EXPECT_TRUE(Enabled(day)) << day;
    Field<QCheckBox>("Weekly")->setChecked(false);
    EXPECT_TRUE(Enabled("StartDate") && Enabled("EndDate"));
    EXPECT_FALSE(Enabled("Day1"));
}

TEST_F(TimerDialogTest, AGuideEventAndAnExistingTimerShowTheirValues) {
    entry_ = CTimerList::GuideEntry(Program(), "Tatort", tomorrow_, 5400);
    Open(TimerDialogMode::Guide);
    EXPECT_EQ(dialog_->Values(),
              (TimerSettings{tomorrow_, tomorrow_.addSecs(5400), "Tatort.pva", 3, 0}));

    // Weekly on Saturday and Monday, Video PES, power off.
    const std::uint32_t flags = CTimerEntry::kWeekly | CTimerEntry::kPowerOff | 1u << 2 | 1u << 4;
    entry_.Apply({tomorrow_, tomorrow_.addSecs(600), "/v/a.psv", 2, flags});
    Open(TimerDialogMode::Edit);
    EXPECT_EQ(dialog_->Values(), entry_.Settings());
    EXPECT_EQ(CheckedFormat(), 2);
    EXPECT_TRUE(Field<QCheckBox>("Day0")->isChecked() && Field<QCheckBox>("Day2")->isChecked());
    EXPECT_FALSE(Field<QCheckBox>("Day1")->isChecked());
    EXPECT_FALSE(Enabled("StartDate") || Enabled("EndDate"));
    EXPECT_TRUE(Enabled("Day1") && Enabled("StartTime") && Enabled("FileName"));
}

TEST_F(TimerDialogTest, ARecordingTimerCanOnlyMoveItsEnd) {
    entry_.Apply({tomorrow_, tomorrow_.addSecs(600), "/v/a.pva", 3, 0});
    entry_.status = CTimerEntry::Recording;
    Open(TimerDialogMode::Edit);
    for (const char* name : {"StartDate", "StartTime", "FileName", "Browse", "Format0", "Format3",
                             "Weekly", "Day0", "Day6"})
        EXPECT_FALSE(Enabled(name)) << name;
    EXPECT_TRUE(Enabled("EndDate") && Enabled("EndTime") && Enabled("PowerOff"));

    entry_.flags = CTimerEntry::kWeekly | 1u << 4;
    Open(TimerDialogMode::Edit);
    EXPECT_FALSE(Enabled("EndDate")) << "a weekly timer has no end date";
    EXPECT_TRUE(Enabled("EndTime"));
    EXPECT_FALSE(Enabled("Day2"));
}

TEST_F(TimerDialogTest, OkRefusesImpossibleTimersInOrderAndWarnsAboutAnotherTransponder) {
    CTimerEntry other;
    other.program.Name = "ZDF";
    other.Apply({tomorrow_, tomorrow_.addSecs(60), "z.pva", 3, 0});
    int checks = 0;
    Open(TimerDialogMode::New, [&](const CTimerEntry& candidate) {
        ++checks;
        return candidate.End() > tomorrow_ ? &other : nullptr;
    });
    Set(tomorrow_, tomorrow_);
    EXPECT_EQ(PressOk(), kCaption + " | Endzeit <= Startzeit - Keine Timeraufzeichnung möglich!");
    const QDateTime yesterday = tomorrow_.addDays(-2);
    Set(yesterday, yesterday.addSecs(60));
    EXPECT_EQ(PressOk(), kCaption + " | Endzeit <= Startzeit - Keine Timeraufzeichnung möglich!")
        << "an end in the past";
    Set(tomorrow_.addSecs(-3600), tomorrow_.addSecs(-3599));
    EXPECT_EQ(PressOk(),
              kCaption + " | Kein Dateiname angegeben - Keine Timeraufzeichnung möglich!");
    Field<QLineEdit>("FileName")->setText("/v/a.pva");

    // 23:00 to 01:00 the next day is a valid span of two hours.
    const QDateTime late(tomorrow_.date(), QTime(23, 0));
    Set(late, late.addSecs(7200));
    EXPECT_EQ(PressOk(), "");
    EXPECT_EQ(dialogs_.shown.value(0),
              kCaption + " | Achtung - der Timer für „Das Erste Ä " +
                  late.toString("dd.MM.yyyy hh:mm") +
                  "“ überschneidet sich mit dem Timer für „ZDF " +
                  tomorrow_.toString("dd.MM.yyyy hh:mm") +
                  "“ auf einem anderen Transponder.\nDie Karte hat nur einen Empfänger: nur eine "
                  "der beiden Aufnahmen ist möglich.");
    EXPECT_EQ(entry_.End(), late.addSecs(7200)) << "taken despite the warning";

    // Weekly: the dates do not count, the weekdays and times of day do.
    Field<QCheckBox>("Weekly")->setChecked(true);
    Set(tomorrow_, tomorrow_.addDays(-5).addSecs(60));
    EXPECT_EQ(PressOk(), kCaption + " | Es wurde kein Wochentag gewählt - Bitte überprüfen!");
    Field<QCheckBox>("Day3")->setChecked(true);
    Set(tomorrow_, tomorrow_.addSecs(-60));
    EXPECT_EQ(PressOk(),
              kCaption + " | Endzeit darf nicht kleiner Startzeit sein! Bitte korrigieren!");
    Set(tomorrow_, tomorrow_.addDays(-5).addSecs(60));
    EXPECT_EQ(PressOk(), "");
    EXPECT_EQ(entry_.flags, CTimerEntry::kWeekly | 1u << 5);
    EXPECT_EQ(checks, 2) << "the overlap is looked at only for timers that pass";
}

TEST_F(TimerDialogTest, BrowseOffersTheFormatsFilterAndTheExtensionChoosesTheFormat) {
    QSettings().setValue("Einstellungen/Directory Filesave", "/aufnahmen/");
    QSettings().setValue("Einstellungen/Directory Fileopen", "/filme/");
    entry_.Apply({tomorrow_, tomorrow_.addSecs(60), "/anders/alt.pva", 2, 0});
    Open(TimerDialogMode::Edit);
    dialogs_.chosenFile = "/neu/krimi";
    Field<QPushButton>("Browse")->click();
    ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
    const FileRequest r = dialogs_.fileRequests[0];
    EXPECT_EQ(r.title, "Videodatei zum Aufnehmen öffnen");
    EXPECT_EQ(r.filters, PlayListTexts::PlaybackFilters);
    EXPECT_EQ(r.selectedFilter, "PES Video Dateien (*.psv)");
    EXPECT_EQ(r.folder, "/aufnahmen/alt.pva");
    EXPECT_EQ(Field<QLineEdit>("FileName")->text(), "/neu/krimi.psv");
    EXPECT_EQ(QSettings().value("Einstellungen/Directory Filesave").toString(), "/neu/");
    EXPECT_EQ(QSettings().value("Einstellungen/Directory Fileopen").toString(), "/filme/");
    EXPECT_TRUE(dialogs_.shown.isEmpty());

    dialog_->TakeFile("/neu/ton.MP2");
    EXPECT_EQ(CheckedFormat(), 1);
    dialog_->TakeFile("/neu/film.avi");
    EXPECT_EQ(CheckedFormat(), -1);
    const QString noFormat = kCaption +
                             " | Achtung - es wurde kein Dateiformat für die Aufnahme angegeben.\n"
                             "Bitte überprüfen, da sonst die Timeraufnahme nicht garantiert "
                             "werden kann!";
    EXPECT_EQ(dialogs_.shown, QStringList{noFormat});
    dialogs_.chosenFile = "/neu/ohne";
    Field<QPushButton>("Browse")->click();
    EXPECT_EQ(dialogs_.fileRequests.back().selectedFilter, PlayListTexts::PlaybackFilters[0]);
    EXPECT_EQ(Field<QLineEdit>("FileName")->text(), "/neu/ohne.uka");
    EXPECT_EQ(dialogs_.shown.size(), 2);

    // The real file dialog shows the filter asked for.
    const auto fileDialog = CPlayListDialogs::MakeFileDialog(r, nullptr);
    EXPECT_EQ(fileDialog->selectedNameFilter(), "PES Video Dateien (*.psv)");
}

}  // namespace
