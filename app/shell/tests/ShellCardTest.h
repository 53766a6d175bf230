#pragma once
// The frame with the TV part on a real emulated card, for the parts' card
// tests: a connected CKestrelCard with its device objects, a document, the
// frame and CTvBinding on them. A test's fixture readies the card for its
// part in PrepareCard() (the document exists then, the frame not yet),
// attaches its part after this SetUp and detaches it before this TearDown;
// ReleaseCard() runs once frame and document are gone.
#include <QFile>
#include <QSettings>
#include <QString>
#include <memory>

#include "channellist/document/CSVL_EditorDoc.h"
#include "common/CProgramState.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "receiver/CKestrelCard.h"
#include "receiver/IDeviceSet.h"
#include "receiver/tests/CardServerTest.h"
#include "shell/CTvBinding.h"

class ShellCardTest : public CardServerTest {
  protected:
    void SetUp() override {
        CardServerTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(Connect());
        link_.StartUp(nullptr);
        card_ = link_.Devices();
        ASSERT_NE(card_, nullptr);
        QSettings().clear();
        doc_ = std::make_unique<CSVL_EditorDoc>(prompts_);
        PrepareCard();
        if (HasFatalFailure()) return;
        frame_ = std::make_unique<CMainFrame>(*doc_, state_);
        tv_ = new CTvBinding(*frame_, *doc_, *card_);
    }
    void TearDown() override {
        delete tv_;
        tv_ = nullptr;
        frame_.reset();
        doc_.reset();
        if (card_) ReleaseCard();
        link_.TearDown();
        CardServerTest::TearDown();
    }
    /// True when SetUp got as far as the frame (the card is there).
    bool Ready() const { return tv_ != nullptr; }
    virtual void PrepareCard() {}
    virtual void ReleaseCard() {}

    /// The fixture's channel list (CardServerTest's programs) as a file in
    /// the test's folder, for the document to open.
    QString WriteListFile() {
        const auto bytes = list_.Store();
        QFile file(QString::fromStdString((dir_ / "karte.svl").string()));
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return file.fileName();
    }

    CKestrelCard link_;
    IDeviceSet* card_ = nullptr;
    CProgramState state_;
    SilentPrompts prompts_;
    std::unique_ptr<CSVL_EditorDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    CTvBinding* tv_ = nullptr;
};
