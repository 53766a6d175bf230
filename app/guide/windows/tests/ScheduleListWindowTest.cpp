// The schedule list window, its search result and the detail window: the
// hooks on open, reload and close, the columns, the category view, the
// context menu's actions, the search, and the detail window's fields.
#include <gtest/gtest.h>

#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <deque>

#include "Allgemein/CGfxListCtrl.h"
#include "guide/CEPGInfo.h"
#include "guide/windows/CDetailWindow.h"
#include "guide/windows/CScheduleListWindow.h"
#include "guide/windows/CSearchResultWindow.h"
#include "guide/windows/GuideCells.h"
#include "guide/windows/GuideWindowTexts.h"

namespace {

namespace T = GuideWindowTexts;
namespace C = GuideCells;
using Records = std::vector<const CEPGInfo*>;

CEPGInfo Event(const char* name, std::uint8_t category, int minute = 0) {
    CEPGInfo r;
    r.ServiceName = "Das Erste HD";
    r.EventName = name;
    r.ShortText = "Art";
    r.ContentHigh = category;
    r.Start = ArchiveDateTime::FromCivil({2024, 3, 11, 20, minute, 0, 0});
    r.Duration = {ArchiveDateTime::Valid, 30.0 / 1440.0};
    return r;
}

// Answers the guide's dialogs as a test says and notes what they showed.
struct ScriptedGuideDialogs : IGuideDialogs {
    std::optional<QString> searchText;
    int asked = 0;
    int nothingFound = 0;
    std::vector<std::string> details;
    std::vector<Records> results;

    std::optional<QString> AskSearchText(QWidget*) override {
        ++asked;
        return searchText;
    }
    void TellNothingFound(QWidget*) override { ++nothingFound; }
    void ShowDetail(const CEPGInfo& record, QWidget*) override {
        details.push_back(record.EventName);
    }
    void ShowResults(Records hits, QWidget*) override { results.push_back(std::move(hits)); }
};

QStringList EnabledEntries(QMenu& menu) {
    QStringList on;
    for (QAction* a : menu.actions())
        if (!a->isSeparator() && a->isEnabled()) on << a->text();
    return on;
}

void Trigger(QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text) return a->trigger();
    ADD_FAILURE() << "no menu entry " << text.toStdString();
}

class ScheduleListWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store_ = {Event("Tagesschau", 0x2, 0), Event("Tatort: Tödliche Grüße", 0x1, 15),
                  Event("Tagesthemen", 0x2, 45), Event("Sportschau", 0x4, 50),
                  Event("Polizeiruf 110", 0x1, 55)};
        for (const CEPGInfo& r : store_) order_.push_back(&r);
        hooks_.records = [this] {
            log_ << "records";
            return order_;
        };
        hooks_.startReception = [this] { log_ << "start"; };
        hooks_.stopReception = [this] { log_ << "stop"; };
        hooks_.addToTimerList = [this](const CEPGInfo& r) {
            log_ << "add " + QString::fromStdString(r.EventName);
            return true;
        };
        window_ = std::make_unique<CScheduleListWindow>(hooks_);
        window_->SetDialogs(dialogs_);
    }
    void Open() {
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    CGfxListCtrl& List() const { return window_->List(); }
    QString Cell(const QModelIndex& row, int column) const {
        return List().model()->data(row.siblingAtColumn(column), Qt::DisplayRole).toString();
    }
    QString TopText(int row) const {
        return List().model()->data(List().model()->index(row, 0), Qt::DisplayRole).toString();
    }
    QStringList FlatColumn(int column) const {
        QStringList texts;
        for (int row = 0; row < List().model()->rowCount(); ++row)
            texts << Cell(List().model()->index(row, 0), column);
        return texts;
    }
    std::vector<std::string> SelectedNames() const {
        std::vector<std::string> names;
        for (const CEPGInfo* r : window_->SelectedRecords()) names.push_back(r->EventName);
        return names;
    }

    std::deque<CEPGInfo> store_;
    Records order_;
    QStringList log_;
    ScheduleWindowHooks hooks_;
    ScriptedGuideDialogs dialogs_;
    std::unique_ptr<CScheduleListWindow> window_;
};

TEST_F(ScheduleListWindowTest, OpeningStartsReceptionThenLoadsAndEveryCloseStopsIt) {
    EXPECT_TRUE(log_.isEmpty()) << "nothing before the window opens";
    Open();
    EXPECT_EQ(log_, QStringList({"start", "records"}));
    EXPECT_TRUE(window_->Receiving());
    EXPECT_EQ(window_->Records(), order_);
    window_->reject();  // Escape
    EXPECT_EQ(log_, QStringList({"start", "records", "stop"}));
    EXPECT_FALSE(window_->Receiving());

    log_.clear();
    Open();
    window_->close();  // the title bar's close
    EXPECT_EQ(log_, QStringList({"start", "records", "stop"}));

    log_.clear();
    Open();
    window_.reset();  // destroyed while open
    EXPECT_EQ(log_, QStringList({"start", "records", "stop"}));
}

TEST_F(ScheduleListWindowTest, ColumnsNamesAndTitle) {
    EXPECT_EQ(window_->objectName(), "EPG-ScheduleInfo");
    EXPECT_EQ(List().objectName(), "TheEPGScheduleList");
    EXPECT_EQ(List().ListName(), "TheEPGScheduleList");
    EXPECT_TRUE(window_->isModal());
    QStringList headers;
    std::vector<int> widths;
    for (const CColumnDef& def : List().Layout().ShownDefinitions()) {
        headers << def.text;
        widths.push_back(def.width);
    }
    EXPECT_EQ(headers,
              QStringList({"", "Nr", "Sendername", "Startzeit", "Dauer", "Event", "Art", "FSK"}));
    EXPECT_EQ(widths, (std::vector<int>{0, 50, 100, 50, 200, 200, 200, 120}));

    Open();
    EXPECT_EQ(window_->windowTitle(), "Elektronischer Programmführer für 'Das Erste HD'");
    order_.clear();
    window_->Reload();
    EXPECT_EQ(window_->windowTitle(), "Elektronischer Programmführer");
    EXPECT_EQ(List().model()->rowCount(), 0);
}

TEST_F(ScheduleListWindowTest, CategoryViewIsOnAtTheStartAndTheMenuSwitchesIt) {
    Open();
    ASSERT_TRUE(List().CategoryMode());
    ASSERT_EQ(List().model()->rowCount(), 3);
    EXPECT_EQ(QStringList({TopText(0), TopText(1), TopText(2)}),
              QStringList({"Nachrichten/Aktuelles", "Film/Drama", "Sport"}))
        << "in the order the categories first occur";
    const QModelIndex films = List().model()->index(1, 0);
    ASSERT_EQ(List().model()->rowCount(films), 2);
    EXPECT_EQ(Cell(List().model()->index(1, 0, films), C::ColNr), "  5");
    EXPECT_EQ(Cell(List().model()->index(1, 0, films), C::ColEvent), "Polizeiruf 110");

    List().SelectItems({3});
    Trigger(*window_->MakeContextMenu(), T::MenuCategories);
    EXPECT_FALSE(List().CategoryMode());
    EXPECT_EQ(FlatColumn(C::ColNr), QStringList({"  1", "  2", "  3", "  4", "  5"}));
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"Sportschau"});
    Trigger(*window_->MakeContextMenu(), T::MenuCategories);
    EXPECT_TRUE(List().CategoryMode());
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"Sportschau"});
}

TEST_F(ScheduleListWindowTest, ReloadShowsTheNewListInItsOrderKeepingSelectionAndTopRow) {
    for (int i = 0; i < 200; ++i) {
        store_.push_back(Event("Wiederholung", 0x1));
        store_.back().Start.days += i + 1;  // one a day
    }
    for (std::size_t i = 5; i < store_.size(); ++i) order_.push_back(&store_[i]);
    window_->resize(900, 300);
    Open();
    Trigger(*window_->MakeContextMenu(), T::MenuCategories);  // flat
    List().SelectItems({1, 3});
    List().scrollTo(List().Model()->IndexOfItem(120), QAbstractItemView::PositionAtTop);
    const QString topBefore = Cell(List().indexAt(QPoint(1, 1)), C::ColStart);

    // The receiver found a new first event and dropped "Tagesthemen".
    store_.push_front(Event("Kinderprogramm", 0x5, 5));
    order_.erase(order_.begin() + 2);
    order_.insert(order_.begin(), &store_.front());
    log_.clear();
    Trigger(*window_->MakeContextMenu(), T::MenuReload);
    EXPECT_EQ(log_, QStringList({"records"}));
    EXPECT_EQ(window_->Records(), order_);
    EXPECT_EQ(
        FlatColumn(C::ColEvent).mid(0, 4),
        QStringList({"Kinderprogramm", "Tagesschau", "Tatort: Tödliche Grüße", "Sportschau"}));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"Tatort: Tödliche Grüße", "Sportschau"}));
    const QModelIndex top = List().indexAt(QPoint(1, 1));
    EXPECT_EQ(List().Model()->ItemOf(top), 120) << "one row more above, one less";
    EXPECT_EQ(Cell(top, C::ColStart), topBefore);
}

TEST_F(ScheduleListWindowTest, TimerListAndDetailActOnTheSelection) {
    Open();
    auto menu = window_->MakeContextMenu();
    EXPECT_EQ(EnabledEntries(*menu),
              QStringList({T::MenuCategories, T::MenuReload, T::MenuSearch}));
    List().SelectItems({1, 3});
    menu = window_->MakeContextMenu();
    EXPECT_EQ(EnabledEntries(*menu),
              QStringList({T::MenuAddToTimers, T::MenuDetail, T::MenuCategories, T::MenuReload,
                           T::MenuSearch}));
    log_.clear();
    Trigger(*menu, T::MenuAddToTimers);
    EXPECT_EQ(log_, QStringList({"add Tatort: Tödliche Grüße", "add Sportschau"}));
    Trigger(*menu, T::MenuDetail);
    EXPECT_EQ(dialogs_.details, std::vector<std::string>{"Tatort: Tödliche Grüße"});

    // A double click on an event's row; one on a heading opens nothing.
    dialogs_.details.clear();
    const QRect row =
        List().visualRect(List().Model()->IndexOfItem(4).siblingAtColumn(C::ColEvent));
    const QRect heading = List().visualRect(List().model()->index(0, 0));
    ASSERT_TRUE(row.isValid() && heading.isValid());
    // The first click of a double click is a press and release of its own.
    for (const QRect& rect : {row, heading}) {
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, rect.center());
    }
    EXPECT_EQ(dialogs_.details, std::vector<std::string>{"Polizeiruf 110"});
}

TEST_F(ScheduleListWindowTest, SearchShowsTheHitsOrTellsThatThereAreNone) {
    Open();
    dialogs_.searchText = "TODLICHE";
    QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(dialogs_.asked, 1) << "Ctrl+F";
    ASSERT_EQ(dialogs_.results.size(), 1u);
    EXPECT_EQ(dialogs_.results[0], Records{&store_[1]});

    dialogs_.searchText = "Tages";
    Trigger(*window_->MakeContextMenu(), T::MenuSearch);
    ASSERT_EQ(dialogs_.results.size(), 2u);
    EXPECT_EQ(dialogs_.results[1], (Records{&store_[0], &store_[2]}));

    dialogs_.searchText = "Bundesliga";
    window_->Search();
    EXPECT_EQ(dialogs_.nothingFound, 1);
    dialogs_.searchText.reset();  // cancelled
    window_->Search();
    EXPECT_EQ(dialogs_.nothingFound, 1);
    EXPECT_EQ(dialogs_.results.size(), 2u);
}

TEST_F(ScheduleListWindowTest, SearchResultIsFlatWithTheTwoActions) {
    CSearchResultWindow result({&store_[4], &store_[0]}, hooks_);
    result.SetDialogs(dialogs_);
    EXPECT_EQ(result.windowTitle(), "Suchergebnis");
    EXPECT_FALSE(result.List().CategoryMode());
    ASSERT_EQ(result.List().model()->rowCount(), 2);
    const QAbstractItemModel* m = result.List().model();
    EXPECT_EQ(m->data(m->index(1, C::ColEvent), Qt::DisplayRole).toString(), "Tagesschau");
    result.List().SelectItems({0, 1});
    auto menu = result.MakeContextMenu();
    EXPECT_EQ(EnabledEntries(*menu), QStringList({T::MenuAddToTimers, T::MenuDetail}));
    Trigger(*menu, T::MenuAddToTimers);
    EXPECT_EQ(log_, QStringList({"add Polizeiruf 110", "add Tagesschau"}));
    Trigger(*menu, T::MenuDetail);
    EXPECT_EQ(dialogs_.details, std::vector<std::string>{"Polizeiruf 110"});
}

TEST(DetailWindow, ShowsEveryFieldAndTheDescriptionWithPlainLineFeeds) {
    CEPGInfo r = Event("Tatort: Tödliche Grüße", 0x1, 15);
    r.ShortText = "Krimi";
    r.Duration.days = 90.0 / 1440.0;
    r.ParentalRating = 9;
    r.Description = "Ein Postbote wird am Rand des Großmarkts tot aufgefunden.";
    CDetailWindow window(r);
    EXPECT_EQ(window.windowTitle(), "Detailinfo");
    const auto* box = window.findChild<QGroupBox*>();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title(), "Tatort: Tödliche Grüße");
    const auto* form = qobject_cast<QFormLayout*>(box->layout());
    ASSERT_TRUE(form);
    QStringList rows;
    for (int row = 0; row < form->rowCount(); ++row) {
        const auto* label =
            qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget());
        const auto* value =
            qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::FieldRole)->widget());
        rows << (label ? label->text() : "?") + " " + (value ? value->text() : "(box)");
    }
    EXPECT_EQ(rows,
              QStringList({"Sendername: Das Erste HD", "Beginnzeit: Montag, 11.März 2024 20:15:00",
                           "Dauer: 90 min", "Art: Krimi", "FSK: 12", "Beschreibung: (box)"}));
    EXPECT_TRUE(window.Description().isReadOnly());
    EXPECT_EQ(window.Description().toPlainText(),
              "Tatort: Tödliche Grüße\nKrimi (90 min)\n\nEin Postbote wird am Rand des Großmarkts "
              "tot\naufgefunden.\n");
}

}  // namespace
