// "Timerliste": its columns and status texts, the context menu's rules, the
// questions before deleting, editing and saving when it closes.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>

#include "Allgemein/CGfxListCtrl.h"
#include "QStringPrinter.h"
#include "ScriptedDialogs.h"
#include "channellist/AtomicFile.h"
#include "recording/CTimerList.h"
#include "recording/windows/CTimerListWindow.h"
#include "recording/windows/TimerCells.h"

namespace {

const QDateTime kStart(QDate(2023, 3, 15), QTime(20, 15, 0));

class TimerListWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"eins", "zwei", "drei"}) {
            CProgramInfo p;
            p.Name = std::string("Sender ") + name;
            timers_.Add(p,
                        {kStart, kStart.addSecs(3600), std::string("/v/") + name + ".pva", 3, 0});
        }
        window_ = std::make_unique<CTimerListWindow>(timers_);
        window_->SetDialogs(dialogs_);
    }
    QString Cell(int row, int column) const {
        const QAbstractItemModel* m = window_->List().model();
        return m->data(m->index(row, column), Qt::DisplayRole).toString();
    }
    QAction* Action(const QString& text) {
        menu_ = window_->MakeContextMenu();
        for (QAction* a : menu_->actions())
            if (a->text() == text) return a;
        ADD_FAILURE() << "no menu entry " << text.toStdString();
        return menu_->addAction(text);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : timers_.Entries()) names.push_back(e.fileName);
        return names;
    }

    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;
    CTimerList timers_{dir_.filePath("Timer.dat").toStdString(),
                       static_cast<ITimerDialogs&>(dialogs_)};
    std::unique_ptr<CTimerListWindow> window_;
    std::unique_ptr<QMenu> menu_;
};

TEST_F(TimerListWindowTest, ColumnsShowEachTimer) {
    timers_.Entries()[1].status = CTimerEntry::Recording;
    timers_.Entries()[1].formatIndex = 1;
    window_->Refresh();
    EXPECT_EQ(window_->windowTitle(), "Timerliste");
    EXPECT_TRUE(window_->isModal());
    const QAbstractItemModel* m = window_->List().model();
    QStringList headers, row;
    for (int c = 0; c < m->columnCount(); ++c) {
        headers << m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        row << Cell(1, c);
    }
    EXPECT_EQ(headers, QStringList({"Nr", "Programm", "Startzeit", "Endzeit", "Format", "Dateiname",
                                    "Status"}));
    EXPECT_EQ(row, QStringList({"2", "Sender zwei", "Mittwoch, 15.März 2023 20:15:00",
                                "Mittwoch, 15.März 2023 21:15:00", "AudioMp2", "/v/zwei.pva",
                                "Aufzeichnung läuft"}));
    EXPECT_EQ(Cell(0, TimerCells::ColStatus), "Timer ein");
    EXPECT_EQ(TimerCells::Status(0), "");
    EXPECT_EQ(TimerCells::Status(3), "Aufzeichnung läuft");
    EXPECT_EQ(TimerCells::Status(5), "Aufzeichnung beendet");
    EXPECT_EQ(TimerCells::Format(0), "AudioPES");
    EXPECT_EQ(TimerCells::Format(3), "AV_PES");
    EXPECT_EQ(TimerCells::Format(4), "unbekannt");
    EXPECT_EQ(TimerCells::Format(-1), "unbekannt");
}

TEST_F(TimerListWindowTest, DeletingAsksFirstAndTheMenuFollowsTheSelection) {
    EXPECT_FALSE(Action("Editiere Eintrag")->isEnabled());
    EXPECT_FALSE(Action("Lösche Eintrag")->isEnabled());
    EXPECT_TRUE(Action("Alle Einträge löschen")->isEnabled());

    window_->List().SelectItems({1});
    EXPECT_TRUE(Action("Editiere Eintrag")->isEnabled());
    Action("Lösche Eintrag")->trigger();  // answered No
    EXPECT_EQ(dialogs_.shown, QStringList{"Timerliste bearbeiten | Wollen Sie den selektierten "
                                          "Timereintrag wirklich löschen?"});
    EXPECT_EQ(Names().size(), 3u);

    window_->List().SelectItems({0, 2});
    dialogs_.answers = {true};
    emit window_->List().deletePressed();
    EXPECT_EQ(
        dialogs_.shown.back(),
        "Timerliste bearbeiten | Wollen Sie die selektierten Timereinträge wirklich löschen?");
    EXPECT_EQ(Names(), std::vector<std::string>{"/v/zwei.pva"});
    EXPECT_EQ(window_->List().model()->rowCount(), 1);

    dialogs_.answers = {true};
    Action("Alle Einträge löschen")->trigger();
    EXPECT_EQ(
        dialogs_.shown.back(),
        "Timerliste bearbeiten | Wollen Sie die selektierten Timereinträge wirklich löschen?");
    EXPECT_TRUE(Names().empty());
    EXPECT_FALSE(Action("Alle Einträge löschen")->isEnabled());
}

TEST_F(TimerListWindowTest, ADoubleClickEditsTheTimerAndClosingSavesTheList) {
    timers_.Entries()[2].status = CTimerEntry::Finished;
    const CTimerEntry* conflict = &timers_.Entries()[0];
    dialogs_.editTimer = [&](CTimerEntry& e, TimerDialogMode mode, const TimerConflictCheck& c) {
        EXPECT_EQ(mode, TimerDialogMode::Edit);
        EXPECT_EQ(e.fileName, "/v/drei.pva");
        CTimerEntry elsewhere = e;
        elsewhere.program.Frequency = 12000000;
        EXPECT_EQ(c(elsewhere), conflict) << "the others are looked at";
        EXPECT_EQ(c(e), nullptr) << "not itself, nor one on its own transponder";
        e.fileName = "/v/neu.pva";
        return true;
    };
    emit window_->List().rowDoubleClicked(2);
    EXPECT_EQ(dialogs_.edits, 1);
    EXPECT_EQ(Cell(2, TimerCells::ColFileName), "/v/neu.pva");
    EXPECT_EQ(Cell(2, TimerCells::ColStatus), "Timer ein");

    window_->done(QDialog::Accepted);
    std::vector<std::uint8_t> bytes;
    CTIMERFile saved;
    ASSERT_TRUE(ReadWholeFile(timers_.Path(), bytes, nullptr) && saved.Load(bytes));
    ASSERT_EQ(saved.entries.size(), 3u);
    EXPECT_EQ(saved.entries[2].fileName, "/v/neu.pva");
}

}  // namespace
