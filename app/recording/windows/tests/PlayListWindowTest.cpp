// The playlist window: its columns, the context menu's rules and commands,
// the questions, loading and saving, the VCR commands, closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "Allgemein/CGfxListCtrl.h"
#include "QStringPrinter.h"
#include "ScriptedDialogs.h"
#include "channellist/AtomicFile.h"
#include "recording/CPlayListFile.h"
#include "recording/windows/CPlayListDialogs.h"
#include "recording/windows/CPlayListWindow.h"
#include "recording/windows/PlayListCells.h"
#include "recording/windows/PlayListTexts.h"

namespace {

namespace T = PlayListTexts;

struct Post {
    int code;
    std::uint32_t index;
    qint64 atNs;
};

struct RecordingVcr : IVcrCommandSink {
    using IVcrCommandSink::PostVcrCommand;
    std::vector<Post> posts;
    QElapsedTimer clock;
    RecordingVcr() { clock.start(); }
    void PostVcrCommand(int code, std::uint32_t index, const std::string&) override {
        posts.push_back({code, index, clock.nsecsElapsed()});
    }
};

CPlayListEntry Entry(const char* name, std::uint32_t status = CPlayListEntry::Stopped) {
    CPlayListEntry e;
    e.fileName = name;
    e.status = status;
    return e;
}

class PlayListWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        list_.entries = {Entry("/video/eins.pva"), Entry("/video/zwei.pva"),
                         Entry("/video/drei.mp2")};
        window_ = std::make_unique<CPlayListWindow>(list_, Path("PlayList.dat"), vcr_);
        window_->SetDialogs(dialogs_);
    }
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
    QString Cell(int row, int column) const {
        const QAbstractItemModel* m = window_->List().model();
        return m->data(m->index(row, column), Qt::DisplayRole).toString();
    }
    int Rows() const { return window_->List().model()->rowCount(); }
    void Select(std::vector<int> items) { window_->List().SelectItems(items); }
    static QAction* Action(QMenu& menu, const QString& text) {
        for (QAction* a : menu.actions())
            if (a->text() == text) return a;
        ADD_FAILURE() << "no menu entry " << text.toStdString();
        static QAction none;
        return &none;
    }
    void Trigger(const QString& text) { Action(*window_->MakeContextMenu(), text)->trigger(); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : list_.entries) names.push_back(e.fileName);
        return names;
    }

    QTemporaryDir dir_;
    CPlayListFile list_;
    ScriptedDialogs dialogs_;
    RecordingVcr vcr_;
    std::unique_ptr<CPlayListWindow> window_;
};

TEST_F(PlayListWindowTest, ColumnsShowEveryFieldOfAnEntry) {
    CPlayListEntry& e = list_.entries[1];
    e.playLengthMs = 3723004;
    e.lastPlayed = LocalDateTime::FromLocal(QDateTime(QDate(2023, 3, 15), QTime(9, 5, 7)));
    e.repetitions = 3;
    e.pauseSec = 45;
    e.status = CPlayListEntry::Finished;
    window_->Refresh();

    EXPECT_EQ(window_->windowTitle(), "Wiedergabeliste");
    const QAbstractItemModel* m = window_->List().model();
    QStringList headers;
    for (int c = 0; c < m->columnCount(); ++c)
        headers << m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(headers, QStringList({"Nr", "Dateiname", "Spiellänge", "Zuletzt gespielt",
                                    "Anzahl Wiederholungen", "Spielpause", "Status"}));
    ASSERT_EQ(Rows(), 3);
    QStringList row;
    for (int c = 0; c < m->columnCount(); ++c) row << Cell(1, c);
    EXPECT_EQ(
        row, QStringList({"2", "/video/zwei.pva", "01:02:03,004", "Mittwoch, 15.März 2023 09:05:07",
                          "3", "45 sek", "Wiedergabe beendet"}));
    EXPECT_EQ(Cell(0, PlayListCells::ColPlayLength), "00:00:00,000");
    EXPECT_EQ(Cell(0, PlayListCells::ColLastPlayed), "") << "never played";
    EXPECT_EQ(Cell(2, PlayListCells::ColNr), "3");
    EXPECT_EQ(PlayListCells::PlayLength(100u * 3600000u + 59999), "100:00:59,999");
}

TEST(PlayListCells, StatusTextsTestTheBitsAndALaterBitWins) {
    EXPECT_EQ(PlayListCells::Status(0), "");
    EXPECT_EQ(PlayListCells::Status(1), "gestoppt");
    EXPECT_EQ(PlayListCells::Status(2), "Wiedergabe läuft");
    EXPECT_EQ(PlayListCells::Status(3), "Wiedergabe läuft");
    EXPECT_EQ(PlayListCells::Status(4), "Wiedergabe beendet");
    EXPECT_EQ(PlayListCells::Status(6), "Wiedergabe beendet");
    EXPECT_EQ(PlayListCells::Status(0xF1), "gestoppt") << "unknown bits leave the text alone";
}

TEST_F(PlayListWindowTest, MenuEntriesAreEnabledByTheSelectionAndTheList) {
    const auto enabled = [this] {
        const auto menu = window_->MakeContextMenu();
        QStringList on;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isEnabled()) on << a->text();
        return on;
    };
    const auto menu = window_->MakeContextMenu();
    EXPECT_EQ(menu->title(), "Playliste");
    QStringList all;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) all << a->text();
    EXPECT_EQ(all, QStringList({T::MenuInsert, T::MenuEdit, T::MenuDeleteSelected, T::MenuDeleteAll,
                                T::MenuLoad, T::MenuSave, T::MenuPlay}));

    EXPECT_EQ(enabled(), QStringList({T::MenuInsert, T::MenuDeleteAll, T::MenuLoad, T::MenuSave}));
    Select({2});
    EXPECT_EQ(enabled(), all);
    list_.entries.clear();
    window_->Refresh();
    EXPECT_EQ(enabled(), QStringList({T::MenuInsert, T::MenuLoad, T::MenuSave}));
}

TEST_F(PlayListWindowTest, DeletingAsksFirstInTheSingularOrThePlural) {
    Select({1});
    QTest::keyClick(&window_->List(), Qt::Key_Delete);  // answered No
    EXPECT_EQ(dialogs_.shown, QStringList{"Wiedergabenliste bearbeiten | Wollen Sie den "
                                          "selektierten Wiedergabenlisteneintrag wirklich "
                                          "löschen?"});
    EXPECT_EQ(list_.entries.size(), 3u);

    dialogs_.answers = {true};
    Select({0, 2});
    Trigger(T::MenuDeleteSelected);
    EXPECT_EQ(dialogs_.shown.back(),
              "Wiedergabenliste bearbeiten | Wollen Sie die selektierten "
              "Wiedergabenlisteneinträge wirklich löschen?");
    EXPECT_EQ(Names(), std::vector<std::string>{"/video/zwei.pva"});
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, PlayListCells::ColFileName), "/video/zwei.pva");

    Trigger(T::MenuDeleteAll);  // answered No
    EXPECT_EQ(dialogs_.shown.back(),
              "Wiedergabenliste bearbeiten | Wollen Sie wirklich alle "
              "Wiedergabenlisteneinträge löschen?");
    EXPECT_EQ(list_.entries.size(), 1u);
    dialogs_.answers = {true};
    Trigger(T::MenuDeleteAll);
    EXPECT_TRUE(list_.entries.empty());
    EXPECT_EQ(Rows(), 0);
}

TEST_F(PlayListWindowTest, InsertAppendsAndEditReplacesAsStopped) {
    dialogs_.editEntry = [](CPlayListEntry& e) {
        e.fileName = "/video/neu.pva";
        e.repetitions = 7;
        return true;
    };
    Trigger(T::MenuInsert);
    ASSERT_EQ(list_.entries.size(), 4u);
    EXPECT_EQ(list_.entries[3].fileName, "/video/neu.pva");
    EXPECT_EQ(list_.entries[3].status, CPlayListEntry::Stopped);
    EXPECT_EQ(Cell(3, PlayListCells::ColRepetitions), "7");

    list_.entries[1].status = CPlayListEntry::Playing;
    list_.entries[1].reserved = 9;
    dialogs_.editEntry = [](CPlayListEntry& e) {
        e.pauseSec = 30;
        return true;
    };
    const QAbstractItemModel* m = window_->List().model();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    const QRect row = window_->List().visualRect(m->index(1, PlayListCells::ColFileName));
    ASSERT_TRUE(row.isValid());
    QTest::mouseClick(window_->List().viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(window_->List().viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(dialogs_.edits, 2);
    EXPECT_EQ(list_.entries[1].pauseSec, 30u);
    EXPECT_EQ(list_.entries[1].status, CPlayListEntry::Stopped);
    EXPECT_EQ(list_.entries[1].reserved, 0u);
    EXPECT_EQ(Cell(1, PlayListCells::ColPause), "30 sek");

    dialogs_.editEntry = [](CPlayListEntry& e) {
        e.fileName = "verworfen";
        return false;
    };
    Select({0});
    Trigger(T::MenuEdit);
    EXPECT_EQ(list_.entries[0].fileName, "/video/eins.pva") << "cancel changes nothing";
    window_->hide();
}

TEST_F(PlayListWindowTest, LoadingEmptiesTheListFirstAndRefusesATimerFile) {
    const std::vector<std::uint8_t> timerFile = {0x90, 0x78, 0x03, 0x80, 1, 0, 0, 0, 0, 0};
    ASSERT_TRUE(SaveFileAtomically(Path("Timer.dat"), timerFile, nullptr));
    dialogs_.chosenFile = QString::fromStdString(Path("Timer.dat"));

    Trigger(T::MenuLoad);  // "Alle Einträge löschen?" answered No: nothing loads
    EXPECT_TRUE(dialogs_.fileRequests.empty());
    EXPECT_EQ(list_.entries.size(), 3u);

    dialogs_.answers = {true};
    Trigger(T::MenuLoad);
    ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
    const FileRequest& open = dialogs_.fileRequests[0];
    EXPECT_EQ(open.mode, FileRequest::Mode::Open);
    EXPECT_EQ(open.title, "Wiedergabeliste öffnen");
    EXPECT_EQ(open.filters, QStringList({"Wiedergabelisten (*.dat)", "Alle Dateien (*.*)"}));
    EXPECT_EQ(dialogs_.shown.back(),
              "Fehler in der Wiedergabenlisten-Datei | Wiedergabenlisten-Datei hat eine "
              "falsche Dateikennung!\nDatei konnte nicht geladen werden!");
    EXPECT_TRUE(list_.entries.empty());
    EXPECT_EQ(Rows(), 0);

    CPlayListFile stored;
    stored.entries = {Entry("/a.pva", CPlayListEntry::Playing), Entry("/b.pva")};
    ASSERT_TRUE(SaveFileAtomically(Path("Mine.dat"), stored.Store(), nullptr));
    dialogs_.chosenFile = QString::fromStdString(Path("Mine.dat"));
    Trigger(T::MenuLoad);  // an empty list is not asked about
    EXPECT_EQ(Names(), (std::vector<std::string>{"/a.pva", "/b.pva"}));
    EXPECT_EQ(Cell(0, PlayListCells::ColStatus), "gestoppt");
    EXPECT_EQ(Rows(), 2);
}

TEST_F(PlayListWindowTest, SavingWritesTheListWhereTheUserSays) {
    dialogs_.chosenFile = QString::fromStdString(Path("Sicherung.dat"));
    Trigger(T::MenuSave);
    ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs_.fileRequests[0],
              (FileRequest{FileRequest::Mode::Save,
                           "Wiedergabeliste speichern",
                           {"Wiedergabeliste (*.dat)", "Alle Dateien (*.*)"},
                           "dat",
                           {},
                           {}}));
    CPlayListFile back;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(Path("Sicherung.dat"), bytes, nullptr));
    ASSERT_TRUE(back.Load(bytes));
    EXPECT_EQ(back.entries, list_.entries);
    EXPECT_TRUE(dialogs_.shown.isEmpty());
}

TEST_F(PlayListWindowTest, ClosingWritesTheDataFileAndRemembersTheGeometry) {
    window_->show();
    window_->resize(700, 250);
    window_->close();
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(Path("PlayList.dat"), bytes, nullptr));
    EXPECT_EQ(bytes, list_.Store());

    CPlayListWindow again(list_, Path("PlayList.dat"), vcr_);
    EXPECT_EQ(again.size(), QSize(700, 250));
}

TEST_F(PlayListWindowTest, PlayingTheSelectionSendsStopCloseAndPlay50msApart) {
    Trigger(T::MenuPlay);
    EXPECT_TRUE(vcr_.posts.empty()) << "nothing selected";
    Select({2, 1});
    Trigger(T::MenuPlay);
    ASSERT_EQ(vcr_.posts.size(), 1u) << "stop at once, the rest from the event loop";
    ASSERT_TRUE(QTest::qWaitFor([this] { return vcr_.posts.size() == 3; }, 2000));
    QTest::qWait(120);
    ASSERT_EQ(vcr_.posts.size(), 3u);
    const int codes[] = {7, 2, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(vcr_.posts[i].code, codes[i]);
        EXPECT_EQ(vcr_.posts[i].index, 1u) << "the first selected row";
    }
    EXPECT_GE(vcr_.posts[1].atNs - vcr_.posts[0].atNs, 50'000'000);
    EXPECT_GE(vcr_.posts[2].atNs - vcr_.posts[1].atNs, 50'000'000);
}

TEST_F(PlayListWindowTest, RefreshShowsWhatTheVcrChanged) {
    Select({1});
    list_.entries[1].status = CPlayListEntry::Playing;
    window_->Refresh();
    EXPECT_EQ(Cell(1, PlayListCells::ColStatus), "Wiedergabe läuft");
    list_.entries.push_back(Entry("/video/vier.pva"));
    window_->Refresh();
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(window_->List().SelectedItems(), std::vector<int>{1}) << "selection kept";
    list_.entries.pop_back();  // while the window is hidden
    window_->show();
    EXPECT_EQ(Rows(), 3) << "shown anew when the window opens";
    window_->hide();
}

TEST(PlayListFileDialog, FiltersStayAsWrittenAndEachPatternCounts) {
    const FileRequest request{
        FileRequest::Mode::Open, T::PlaybackTitle, T::PlaybackFilters, {}, {}, {}};
    const auto dialog = CPlayListDialogs::MakeFileDialog(request, nullptr);
    EXPECT_EQ(dialog->windowTitle(), T::PlaybackTitle);
    EXPECT_EQ(dialog->nameFilters(), T::PlaybackFilters);
    EXPECT_EQ(T::PlaybackFilters.first(), "Alle Dateien (*.psa;*.mp2;*.psv;*.pva)");
    const auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QStringList all = {"*.psa", "*.mp2", "*.psv", "*.pva"};
    EXPECT_EQ(model->nameFilters(), all);
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    QTest::keyClick(types, Qt::Key_End);  // the user picks the last filter
    EXPECT_EQ(dialog->selectedNameFilter(), T::PlaybackFilters.last());
    EXPECT_EQ(model->nameFilters(), QStringList{"*.ts"});
    QTest::keyClick(types, Qt::Key_Home);  // and back to the first
    EXPECT_EQ(model->nameFilters(), all);
    EXPECT_EQ(CPlayListDialogs::FilterPatterns("Alle Dateien (*.*)"), QStringList{"*.*"});
    EXPECT_EQ(CPlayListDialogs::FilterPatterns("A (x) (*.a *.b)"), QStringList({"*.a", "*.b"}));

    const auto save = CPlayListDialogs::MakeFileDialog(
        {FileRequest::Mode::Save, T::SaveTitle, T::SaveFilters, T::ListSuffix, {}, {}}, nullptr);
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save->defaultSuffix(), "dat");
    EXPECT_EQ(save->nameFilters(), T::SaveFilters);
}

}  // namespace
