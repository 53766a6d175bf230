// "Sendersuchlauf..." on the frame with a fake card: the scan's programs go
// into the open list as one undoable step (known programs updated in place,
// the others appended), the summary is shown and the program tuned before is
// tuned again; the command's refusals.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include "channellist/editing/CListEditor.h"
#include "common/CommandIds.h"
#include "common/RecPlayState.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "receiver/CFakeDeviceSet.h"
#include "scan/windows/CScanDialog.h"
#include "scan/windows/CScanProgressDialog.h"
#include "shell/CFrameEditBinding.h"
#include "shell/CScanBinding.h"
#include "shell/CTvBinding.h"
#include "tv/CProgramNavigator.h"
#include "tv/CProgramSwitcher.h"

namespace {

constexpr std::uint32_t kKnown = 12226000, kDead = 11836000;

std::unique_ptr<CProgramInfo> Program(const char* name, std::int32_t frequency, std::uint16_t sid) {
    auto p = std::make_unique<CProgramInfo>();
    p->Name = name;
    p->LnbName = "Astra";
    p->Frequency = frequency;
    p->PolarisationOrQam = 1;
    p->SymbolRate = 27500000;
    p->ProgramType = 1;
    p->TransportStreamId = 1101;
    p->OriginalNetworkId = 1;
    p->ServiceId = sid;
    p->VideoPid = 101;
    return p;
}

kestrel::PsiProgram Service(std::uint16_t sid, const char* name, std::uint16_t video) {
    kestrel::PsiProgram p;
    p.serviceId = sid;
    p.pmtPid = std::uint16_t(sid & 0x1FFF);
    p.videoPid = video;
    p.audioPid = std::uint16_t(video + 1);
    p.pmtRead = p.inSdt = true;
    p.serviceType = 1;
    p.name = name;
    p.provider = "ARD";
    p.streams = {{2, video, -1, {}}, {3, std::uint16_t(video + 1), -1, {}}};
    return p;
}

class ScanBinding : public FrameFixture {
  protected:
    void SetUp() override {
        FrameFixture::SetUp();
        CSVLFile list;
        list.Lnbs.Set("Astra", std::make_shared<CLnb>());
        list.Programs.push_back(Program("Mein Erstes", kKnown, 28106));
        list.Programs.push_back(Program("Dunkel", kDead, 28006));
        const auto bytes = list.Store();
        QFile file(dir.filePath(QStringLiteral("liste.svl")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        file.close();
        ASSERT_TRUE(doc->OpenDocumentFile(file.fileName()));

        kestrel::PsiTree tree;
        tree.transportStreamId = 1101;
        tree.originalNetworkId = 1;
        tree.programs = {Service(28106, "Das Erste", 201), Service(28107, "arte", 401)};
        card.psiTrees[kKnown] = tree;
        card.unlockedFrequencies = {kDead};

        edit = new CFrameEditBinding(*frame, *doc);
        tv = new CTvBinding(*frame, *doc, card);
        scan = AttachScan(*frame, edit->Editor(), tv, &card);
        ScanSettings quick;
        quick.settleMs = 0;
        quick.lockTimeoutMs = 20;
        quick.psiTimeoutMs = 500;
        quick.readNit = false;
        scan->SetTimings(quick);
        scan->SetRunners(Runners());
    }
    void TearDown() override {
        delete scan;
        delete tv;
        delete edit;
        FrameFixture::TearDown();
    }
    CScanBinding::Runners Runners() {
        CScanBinding::Runners r;
        r.choose = [this](CScanDialog& dialog) {
            ++dialogs;
            if (onDialog) onDialog(dialog);
            dialog.accept();  // "Starten", with the dialog's own check
            return dialog.result() == QDialog::Accepted;
        };
        r.progress = [](CScanProgressDialog& dialog) {
            QTimer::singleShot(10000, &dialog, &QDialog::reject);
            dialog.exec();
        };
        r.message = [this](QMessageBox::Icon, const QString& text) { messages << text; };
        return r;
    }
    CSVLFile& List() { return doc->List(); }

    QTemporaryDir dir;
    CFakeDeviceSet card;
    CFrameEditBinding* edit = nullptr;
    CTvBinding* tv = nullptr;
    CScanBinding* scan = nullptr;
    int dialogs = 0;
    std::function<void(CScanDialog&)> onDialog;
    QStringList messages;
};

}  // namespace

TEST_F(ScanBinding, FoundProgramsMergeAsOneUndoStepAndTheTunedProgramComesBack) {
    QAction* command = frame->Action(Cmd::ChannelScan);
    ASSERT_TRUE(command->isEnabled());
    tv->Navigator().TuneRequested(0);
    QTRY_VERIFY(!tv->Switcher().Running());
    // Astra, the tuned program's LNB, goes to the end of the table.
    const auto astra = std::make_shared<CLnb>(*List().Lnbs.Find("Astra"));
    List().Lnbs.Remove("Astra");
    for (const char* other : {"Hotbird", "Eutelsat", "Turksat", "Thor"})
        List().Lnbs.Set(other, std::make_shared<CLnb>());
    List().Lnbs.Set("Astra", astra);
    const std::vector<std::uint8_t> before = List().Store();
    card.ClearLog();
    // The dialog comes up on the tuned program's LNB, not on the table's first.
    onDialog = [](CScanDialog& dialog) {
        auto* reception = dialog.findChild<QComboBox*>(QStringLiteral("Reception"));
        ASSERT_EQ(reception->count(), 5);
        EXPECT_NE(reception->itemText(0), QStringLiteral("Astra"));
        EXPECT_EQ(dialog.Choice().lnbName, "Astra");
    };

    command->trigger();
    EXPECT_EQ(dialogs, 1);
    ASSERT_EQ(messages,
              QStringList{QStringLiteral("2 Programme gefunden, davon 1 neu und 1 aktualisiert.")});
    ASSERT_EQ(List().Programs.size(), 3u);
    EXPECT_EQ(List().Programs[0]->Name, "Mein Erstes");  // the user's name stays
    EXPECT_EQ(List().Programs[0]->VideoPid, 201);
    EXPECT_EQ(List().Programs[2]->Name, "arte");
    EXPECT_EQ(List().Programs[2]->LnbName, "Astra");
    // Both transponders were tuned, only the one with a signal decoded.
    EXPECT_EQ(card.CallsStartingWith("StartPsiDecoding").size(), 1u);
    EXPECT_FALSE(card.CallsStartingWith("zSetChannel 11836000").empty());

    // The scan ended on the other transponder; the program tuned before is tuned again.
    EXPECT_EQ(state.TunedProgramIndex(), 0);
    QTRY_VERIFY(!tv->Switcher().Running());
    EXPECT_TRUE(card.CallsStartingWith("zSetChannel").back().starts_with("zSetChannel 12226000"));

    QUndoStack* history = edit->Editor().UndoStack();
    EXPECT_EQ(history->undoText(), QStringLiteral("Sendersuchlauf"));
    const std::vector<std::uint8_t> after = List().Store();
    history->undo();
    EXPECT_EQ(List().Store(), before);
    history->redo();
    EXPECT_EQ(List().Store(), after);

    // A second scan finds the same programs again: both are updated, none added.
    messages.clear();
    command->trigger();
    EXPECT_EQ(messages,
              QStringList{QStringLiteral("2 Programme gefunden, davon 0 neu und 2 aktualisiert.")});
    EXPECT_EQ(List().Programs.size(), 3u);
}

TEST_F(ScanBinding, RefusesWithoutCardLnbOrWhileRecording) {
    frame->VcrState().mode = 1;
    frame->Action(Cmd::ChannelScan)->trigger();
    EXPECT_EQ(messages.value(0),
              QStringLiteral("Während einer Aufnahme ist kein Sendersuchlauf möglich."));
    frame->VcrState().mode = 0;

    List().Lnbs.Clear();
    frame->Action(Cmd::ChannelScan)->trigger();
    EXPECT_TRUE(messages.value(1).startsWith(QStringLiteral("Die Liste enthält kein LNB.")));

    CScanBinding withoutCard(*frame, edit->Editor(), nullptr, nullptr);
    withoutCard.SetRunners(Runners());
    withoutCard.Run();
    EXPECT_TRUE(messages.value(2).startsWith(QStringLiteral("Es wurde keine DVB-Karte gefunden")));
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(edit->Editor().UndoStack()->count(), 0);
}

TEST_F(ScanBinding, CableCardScansTheChannelTable) {
    card.frontendType = 3;
    card.psiTrees[314000] = card.psiTrees[kKnown];
    onDialog = [](CScanDialog& dialog) {
        auto* reception = dialog.findChild<QComboBox*>(QStringLiteral("Reception"));
        EXPECT_EQ(reception->count(), 1);
        EXPECT_TRUE(dialog.Choice().cable);
    };
    frame->Action(Cmd::ChannelScan)->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(card.CallsStartingWith("zSetChannel").size(), 3u);  // the three channels
    ASSERT_EQ(List().Programs.size(), 3u);
    EXPECT_EQ(List().Programs[2]->Frequency, 314000);
    EXPECT_EQ(List().Programs[2]->PolarisationOrQam, 64);
}
