#include <gtest/gtest.h>

#include <QHeaderView>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>

#include "Allgemein/CGfxListCtrl.h"
#include "channellist/CSVLFile.h"
#include "common/CommandIds.h"
#include "common/PrivateMessages.h"
#include "frame/view/CSVL_EditorView.h"

namespace {

void Add(CSVLFile& list, const char* name, const char* provider, std::uint32_t type) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = name;
    p->Provider = provider;
    p->ProgramType = type;
    p->VideoPid = 255;
    list.Programs.push_back(std::move(p));
}

void StoreSetting(const char* key, int value) {
    QSettings s;
    s.setValue(QStringLiteral("Einstellungen/") + key, value);
}

int StoredSetting(const char* key) {
    QSettings s;
    return s.value(QStringLiteral("Einstellungen/") + key, -99).toInt();
}

class EditorViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        // Document order: TV, radio, TV, data, radio.
        Add(list, "Das Erste", "ARD", 0x1);
        Add(list, "Bayern 3", "ARD", 0x2);
        Add(list, "ZDF", "ZDFvision", 0x10001);
        Add(list, "Videotext", "ARD", 0x4);
        Add(list, "Klassik", "Radio \x80", 0x2);
    }
    std::unique_ptr<CSVL_EditorView> MakeView() {
        auto v = std::make_unique<CSVL_EditorView>();
        v->setDocumentList(&list);
        return v;
    }
    static QStringList Column(CSVL_EditorView& v, int column) {
        QStringList out;
        CGfxListModel* m = v.listCtrl()->Model();
        for (int item = 0; item < int(m->Items().size()); ++item)
            out << m->IndexOfItem(item).siblingAtColumn(column).data().toString();
        return out;
    }
    static QStringList Headers(CSVL_EditorView& v) {
        QStringList out;
        CGfxListModel* m = v.listCtrl()->Model();
        for (int g = 0; g < m->rowCount(); ++g) out << m->index(g, 0).data().toString();
        return out;
    }
    void SelectItems(CSVL_EditorView& v, const std::vector<int>& items) {
        v.listCtrl()->SelectItems(items);
    }
    CSVLFile list;
};

TEST_F(EditorViewTest, RefillFiltersByKindAndCountsTheWholeDocument) {
    StoreSetting("Programmfilter", 1);
    auto v = MakeView();
    QSignalSpy count(v.get(), &CSVL_EditorView::programCountText);
    QSignalSpy shown(v.get(), &CSVL_EditorView::programFilterShown);
    v->setCategoryMode(false);
    v->OnUpdate();
    EXPECT_EQ(Column(*v, 2), (QStringList{"Bayern 3", "Klassik"}));
    EXPECT_EQ(Column(*v, 1), (QStringList{"2", "5"}));  // Nr is the document position
    ASSERT_EQ(count.size(), 1);
    EXPECT_EQ(count[0][0].toString(), "Anzahl Programme: 5");
    EXPECT_EQ(shown[0][0].toInt(), 1);
}

TEST_F(EditorViewTest, FilterMessageRefillsAndStoresTheFilter) {
    auto v = MakeView();
    v->setCategoryMode(false);
    v->OnUpdate();
    EXPECT_EQ(Column(*v, 2), (QStringList{"Das Erste", "ZDF"}));

    ASSERT_TRUE(PrivateMessages::Send(Msg::ProgramFilter, 2));
    EXPECT_EQ(Column(*v, 2), (QStringList{"Videotext"}));
    EXPECT_EQ(StoredSetting("Programmfilter"), 2);

    ASSERT_TRUE(PrivateMessages::Send(Msg::ProgramFilter, 3));
    EXPECT_EQ(Column(*v, 2).size(), 5);

    QSignalSpy shown(v.get(), &CSVL_EditorView::programFilterShown);
    ASSERT_TRUE(PrivateMessages::Send(Msg::ProgramFilter, 9));  // out of range: TV
    EXPECT_EQ(shown[0][0].toInt(), 0);
    EXPECT_EQ(v->programFilter(), 0);
    EXPECT_EQ(StoredSetting("Programmfilter"), 0);
    EXPECT_EQ(Column(*v, 2), (QStringList{"Das Erste", "ZDF"}));
}

TEST_F(EditorViewTest, IsTheWindowThatRemoteKeysAndProgramStepsArePostedTo) {
    auto v = MakeView();
    EXPECT_EQ(PrivateMessages::Window(MessageWindow::View), v.get());
}

TEST_F(EditorViewTest, RefillAsksForTheLastProgramOfTheFilterWhileBusy) {
    StoreSetting("Programmfilter", 1);
    StoreSetting("LastRadioProgramm", 0);  // a TV program, not in the radio list
    StoreSetting("LastTVProgramm", 2);
    auto v = MakeView();
    std::vector<int> requested;
    bool busyDuringRequest = false;
    bool textsDuringRequest = true;
    QObject::connect(v.get(), &CSVL_EditorView::switchToProgramRequested, [&](int index) {
        requested.push_back(index);
        busyDuringRequest = v->isBusy();
        textsDuringRequest =
            v->listCtrl()->Model()->IndexOfItem(0).siblingAtColumn(2).data().isValid();
    });
    v->OnUpdate();
    EXPECT_EQ(requested, std::vector<int>{0});
    EXPECT_TRUE(busyDuringRequest);
    EXPECT_FALSE(textsDuringRequest);
    EXPECT_FALSE(v->isBusy());

    PrivateMessages::Send(Msg::ProgramFilter, 3);  // "Alle" uses the TV memory
    EXPECT_EQ(requested, (std::vector<int>{0, 2}));
}

TEST_F(EditorViewTest, NoRequestForAMissingLastProgramOrAnEmptyList) {
    StoreSetting("LastTVProgramm", 5);  // one past the end
    auto v = MakeView();
    QSignalSpy requested(v.get(), &CSVL_EditorView::switchToProgramRequested);
    v->OnUpdate();
    StoreSetting("LastTVProgramm", -1);
    v->OnUpdate();
    EXPECT_EQ(requested.size(), 0);

    CSVLFile empty;
    StoreSetting("LastTVProgramm", 0);
    QSignalSpy count(v.get(), &CSVL_EditorView::programCountText);
    v->setDocumentList(&empty);
    v->OnUpdate();
    EXPECT_EQ(requested.size(), 0);
    EXPECT_EQ(count[0][0].toString(), "Anzahl Programme: 0");
}

TEST_F(EditorViewTest, CategoryModeIsOnAtStartAndGroupsByProvider) {
    StoreSetting("Programmfilter", 3);
    auto v = MakeView();
    v->OnUpdate();
    EXPECT_TRUE(v->categoryMode());
    EXPECT_EQ(Headers(*v),
              (QStringList{"Providergruppe: 'ARD' (3 Programme)",
                           "Providergruppe: 'ZDFvision' (1 Programm )",
                           QString::fromUtf8("Providergruppe: 'Radio €' (1 Programm )")}));
    v->toggleCategoryMode();
    EXPECT_FALSE(v->categoryMode());
    EXPECT_EQ(v->listCtrl()->Model()->rowCount(), 5);
    v->OnUpdate();  // a refill keeps the mode
    EXPECT_FALSE(v->categoryMode());
}

TEST_F(EditorViewTest, SelectionInRowOrderAndChoosingRemembersPerFilter) {
    StoreSetting("Programmfilter", 3);
    auto v = MakeView();
    v->OnUpdate();
    // Category rows: ARD(0,1,3), ZDFvision(2), Radio(4). Items are list positions here.
    SelectItems(*v, {4, 2, 3, 0});
    EXPECT_EQ(v->selectedProgramIndexes(), (std::vector<int>{0, 3, 2, 4}));

    QSignalSpy requested(v.get(), &CSVL_EditorView::switchToProgramRequested);
    v->chooseSelectedPrograms();
    ASSERT_EQ(requested.size(), 4);
    EXPECT_EQ(requested[3][0].toInt(), 4);
    EXPECT_EQ(StoredSetting("LastTVProgramm"), 4);  // filter "Alle" keeps the TV memory

    PrivateMessages::Send(Msg::ProgramFilter, 1);
    SelectItems(*v, {1});  // radio list: "Klassik"
    v->chooseSelectedPrograms();
    EXPECT_EQ(StoredSetting("LastRadioProgramm"), 4);
    EXPECT_EQ(StoredSetting("LastTVProgramm"), 4);
}

TEST_F(EditorViewTest, AHeaderRowEndsTheProcessing) {
    StoreSetting("Programmfilter", 3);
    auto v = MakeView();
    v->OnUpdate();
    CGfxListCtrl* ctrl = v->listCtrl();
    const auto flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
    ctrl->selectionModel()->select(ctrl->Model()->IndexOfItem(0), flags);  // ARD, first
    ctrl->selectionModel()->select(ctrl->Model()->index(1, 0), flags);     // header ZDFvision
    ctrl->selectionModel()->select(ctrl->Model()->IndexOfItem(2), flags);  // ZDF
    QSignalSpy requested(v.get(), &CSVL_EditorView::switchToProgramRequested);
    v->chooseSelectedPrograms();
    ASSERT_EQ(requested.size(), 1);
    EXPECT_EQ(requested[0][0].toInt(), 0);
    EXPECT_EQ(v->selectedProgramIndexes(), (std::vector<int>{0, 2}));
}

TEST_F(EditorViewTest, DoubleClickTunesOrEditsByEditMode) {
    auto v = MakeView();
    v->setCategoryMode(false);
    v->OnUpdate();
    QSignalSpy tune(v.get(), &CSVL_EditorView::switchToProgramRequested);
    QSignalSpy edit(v.get(), &CSVL_EditorView::editProgramRequested);
    QSignalSpy clicked(v.get(), &CSVL_EditorView::rowDoubleClicked);
    SelectItems(*v, {1});
    emit v->listCtrl()->rowDoubleClicked(1);
    EXPECT_EQ(tune.size(), 1);
    EXPECT_EQ(tune[0][0].toInt(), 2);
    v->toggleEditMode();
    emit v->listCtrl()->rowDoubleClicked(1);
    EXPECT_EQ(tune.size(), 1);
    ASSERT_EQ(edit.size(), 1);
    EXPECT_EQ(edit[0][0].toInt(), 2);
    EXPECT_EQ(clicked.size(), 2);
}

TEST_F(EditorViewTest, PidDisplaySwitchesBetweenDecimalAndHex) {
    auto v = MakeView();
    v->OnUpdate();
    EXPECT_EQ(Column(*v, 10).first(), "255");
    v->setPidHexDisplay(true);
    EXPECT_EQ(Column(*v, 10).first(), "00FF");
}

TEST_F(EditorViewTest, ContextMenuFollowsSelectionReceiversAndCategoryMode) {
    auto v = MakeView();
    v->OnUpdate();
    QObject::connect(v.get(), &CSVL_EditorView::switchToProgramRequested, [] {});
    QObject::connect(v.get(), &CSVL_EditorView::editCommandRequested, [] {});
    auto enabled = [&](int command) {
        const auto menu = v->createContextMenu();
        for (QAction* a : menu->actions())
            if (a->data().toInt() == command) return a->isEnabled();
        ADD_FAILURE() << "no action " << command;
        return false;
    };
    EXPECT_EQ(v->createContextMenu()->title(), "Senderliste");
    EXPECT_FALSE(enabled(Cmd::SwitchToSelected));  // nothing selected
    SelectItems(*v, {0});
    EXPECT_TRUE(enabled(Cmd::SwitchToSelected));
    EXPECT_FALSE(enabled(Cmd::AddToTimerList));  // nobody receives it yet
    EXPECT_FALSE(enabled(Cmd::EditCopy));        // not in category mode
    v->setCategoryMode(false);
    EXPECT_TRUE(enabled(Cmd::EditCopy));

    QSignalSpy commands(v.get(), &CSVL_EditorView::editCommandRequested);
    const auto menu = v->createContextMenu();
    for (QAction* a : menu->actions())
        if (a->data().toInt() == Cmd::EditCut) a->trigger();
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands[0][0].toInt(), int(Cmd::EditCut));
}

TEST_F(EditorViewTest, RefreshRowsKeepsSelectionAndUpdatesCount) {
    auto v = MakeView();
    v->setCategoryMode(false);
    v->OnUpdate();
    SelectItems(*v, {1});  // "ZDF", document index 2
    list.Programs.erase(list.Programs.begin());
    QSignalSpy count(v.get(), &CSVL_EditorView::programCountText);
    v->refreshRows();
    EXPECT_EQ(Column(*v, 1), (QStringList{"2"}));
    EXPECT_EQ(v->selectedProgramIndexes(), std::vector<int>{1});
    EXPECT_EQ(count[0][0].toString(), "Anzahl Programme: 4");
}

TEST_F(EditorViewTest, DestructionStoresSettingsAndLayout) {
    {
        auto v = MakeView();
        v->OnUpdate();
        SelectItems(*v, {1});  // TV list: "ZDF", document index 2
        v->chooseSelectedPrograms();
        v->listCtrl()->header()->resizeSection(2, 321);
    }
    QSettings s;
    EXPECT_EQ(s.value("GfxLists/TheMainList/NumDef").toInt(), 14);
    EXPECT_EQ(s.value("GfxLists/TheMainList/ColDef_width_2").toInt(), 321);
    EXPECT_EQ(StoredSetting("LastTVProgramm"), 2);
    EXPECT_EQ(StoredSetting("CurrentNextEvent"), 0);

    auto next = MakeView();
    EXPECT_EQ(next->listCtrl()->header()->sectionSize(2), 321);
}

}  // namespace

TEST_F(EditorViewTest, QuickFilterNarrowsTheShownKindAndKeepsTheSelection) {
    auto v = MakeView();
    v->setCategoryMode(false);
    v->setProgramFilter(3);   // all kinds
    SelectItems(*v, {0, 2});  // "Das Erste", "ZDF"
    v->setQuickFilter(QStringLiteral("zdf"));
    EXPECT_EQ(Column(*v, 2), (QStringList{"ZDF"}));
    EXPECT_EQ(v->selectedProgramIndexes(), std::vector<int>{2});

    v->setQuickFilter(QString::fromUtf8("€"));  // the provider "Radio €" (0x80)
    EXPECT_EQ(Column(*v, 2), (QStringList{"Klassik"}));
    v->setProgramFilter(0);  // TV only: the two filters together
    EXPECT_TRUE(Column(*v, 2).isEmpty());
    v->setQuickFilter(QString());
    EXPECT_EQ(Column(*v, 2), (QStringList{"Das Erste", "ZDF"}));
}
