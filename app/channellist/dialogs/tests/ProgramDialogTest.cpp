#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

#include "DemoProgram.h"
#include "QStringPrinter.h"
#include "channellist/CLnbTable.h"
#include "channellist/CSVLFile.h"
#include "channellist/dialogs/CLnbDialog.h"
#include "channellist/dialogs/CProgramDialog.h"

namespace {

using D = CProgramDialog;

// Records what the buttons open instead of opening it.
class ObservedProgramDialog : public CProgramDialog {
  public:
    using CProgramDialog::CProgramDialog;
    CLnb* openedLnb = nullptr;
    int streamOpens = 0;

  protected:
    void OpenLnbDialog(CLnb& lnb) override { openedLnb = &lnb; }
    void OpenStreamsDialog() override { ++streamOpens; }
};

class ProgramDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program = DemoProgram();
        original = program;
        lnb = std::make_shared<CLnb>();
        lnbs.Set("Astra 19.2", lnb);
    }

    std::unique_ptr<ObservedProgramDialog> Open(bool hex = false) {
        auto d =
            std::make_unique<ObservedProgramDialog>(program, &lnbs, 7, DialogOptions{hex, true});
        d->SetMessageHandler([this](const QString& text) { messages << text; });
        return d;
    }

    static QLineEdit* Edit(QWidget* d, int id) {
        auto* e = d->findChild<QLineEdit*>(QString::number(id));
        EXPECT_NE(e, nullptr) << id;
        return e;
    }
    static QComboBox* Combo(QWidget* d, int id) {
        auto* c = d->findChild<QComboBox*>(QString::number(id));
        EXPECT_NE(c, nullptr) << id;
        return c;
    }
    static void Type(QWidget* d, int id, const QString& text) {
        QLineEdit* e = Edit(d, id);
        e->selectAll();
        QTest::keyClicks(e, text);
    }

    CProgramInfo program;
    CProgramInfo original;
    std::shared_ptr<CLnb> lnb;
    CLnbTable lnbs;
    QStringList messages;
};

struct ShownText {
    int id;
    const char* decimal;
    const char* hex;
};
const ShownText kShown[] = {
    {D::IdProgramNumber, "7", "7"},
    {D::IdName, "Das Erste – Sport", "Das Erste – Sport"},
    {D::IdProvider, "ARD", "ARD"},
    {D::IdLnbName, "Astra 19.2", "Astra 19.2"},
    {D::IdFrequency, "11836000", "11836000"},
    {D::IdSymbolRate, "27500000", "27500000"},
    {D::IdTransportStreamId, "1101", "044D"},
    {D::IdNetworkId, "1", "0001"},
    {D::IdOriginalNetworkId, "133", "0085"},
    {D::IdServiceId, "28106", "6DCA"},
    {D::IdPcrPid, "101", "0065"},
    {D::IdPmtPid, "100", "0064"},
    {D::IdVideoPid, "8191", "1FFF"},
    {D::IdAudioPid, "102", "0066"},
    {D::IdTeletextPid, "104", "0068"},
};

}  // namespace

TEST_F(ProgramDialogTest, ShowsEveryFieldInTheDisplayMode) {
    for (bool hex : {false, true}) {
        auto d = Open(hex);
        EXPECT_EQ(d->windowTitle(), "Programm bearbeiten");
        for (const auto& s : kShown) {
            SCOPED_TRACE(s.id);
            EXPECT_EQ(Edit(d.get(), s.id)->text(), QString::fromUtf8(hex ? s.hex : s.decimal));
        }
    }
}

TEST_F(ProgramDialogTest, DropListsSelectStoredValues) {
    auto d = Open();
    EXPECT_EQ(Combo(d.get(), D::IdFrontendType)->count(), 11);
    EXPECT_EQ(Combo(d.get(), D::IdFrontendType)->currentText(), "FE_1893");
    EXPECT_EQ(Combo(d.get(), D::IdPolarisation)->currentText(), "Horizontal");
    EXPECT_EQ(Combo(d.get(), D::IdProgramType)->currentText(), "Radio");
    EXPECT_EQ(Combo(d.get(), D::IdEncrypted)->currentText(), "Ja");
}

TEST_F(ProgramDialogTest, ValuesWithoutEntryLeaveListsUnselectedAndUnchanged) {
    program.FrontendType = 11;
    program.PolarisationOrQam = 64;  // cable QAM
    program.ProgramType = 0x10000;   // kind bits 0
    original = program;
    auto d = Open();
    EXPECT_EQ(Combo(d.get(), D::IdFrontendType)->currentIndex(), -1);
    EXPECT_EQ(Combo(d.get(), D::IdPolarisation)->currentIndex(), -1);
    EXPECT_EQ(Combo(d.get(), D::IdProgramType)->currentIndex(), -1);
    d->accept();
    EXPECT_EQ(program, original);
}

TEST_F(ProgramDialogTest, OkWithoutEditsKeepsTheRecordIdentical) {
    std::string allBytes;
    for (int b = 1; b < 256; ++b) allBytes.push_back(static_cast<char>(b));
    program.Provider = allBytes;
    original = program;
    for (bool hex : {false, true}) {
        auto d = Open(hex);
        QSignalSpy modified(d.get(), &CProgramDialog::documentModified);
        d->findChild<QPushButton*>("IDOK")->click();
        EXPECT_EQ(d->result(), int(QDialog::Accepted));
        EXPECT_EQ(modified.count(), 1);
        EXPECT_EQ(program, original);
    }
}

TEST_F(ProgramDialogTest, CancelLeavesTheStoredBytesIdentical) {
    CSVLFile list;
    list.Programs.push_back(std::make_unique<CProgramInfo>(program));
    const std::vector<std::uint8_t> before = list.Store();
    CProgramDialog d(*list.Programs.front(), &lnbs, 1, DialogOptions{true, true});
    QSignalSpy modified(&d, &CProgramDialog::documentModified);
    for (QLineEdit* e : d.findChildren<QLineEdit*>()) e->setText("1FFF");
    for (QComboBox* c : d.findChildren<QComboBox*>()) c->setCurrentIndex(0);
    d.findChild<QPushButton*>("IDCANCEL")->click();
    EXPECT_EQ(d.result(), int(QDialog::Rejected));
    EXPECT_EQ(modified.count(), 0);
    EXPECT_EQ(list.Store(), before);
}

TEST_F(ProgramDialogTest, OkWritesEveryEditedField) {
    auto d = Open();
    Edit(d.get(), D::IdName)->setText(QString::fromUtf8("Ärger €"));
    Type(d.get(), D::IdProvider, "ZDF");
    Type(d.get(), D::IdLnbName, "Hotbird");
    Type(d.get(), D::IdFrequency, "12000000");
    Type(d.get(), D::IdSymbolRate, "22000000");
    Type(d.get(), D::IdTransportStreamId, "11");
    Type(d.get(), D::IdNetworkId, "12");
    Type(d.get(), D::IdOriginalNetworkId, "13");
    Type(d.get(), D::IdServiceId, "14");
    Type(d.get(), D::IdPcrPid, "15");
    Type(d.get(), D::IdPmtPid, "16");
    Type(d.get(), D::IdVideoPid, "1FFF");
    Type(d.get(), D::IdAudioPid, "70000");
    Edit(d.get(), D::IdTeletextPid)->clear();
    Combo(d.get(), D::IdFrontendType)->setCurrentIndex(10);
    Combo(d.get(), D::IdPolarisation)->setCurrentIndex(1);
    Combo(d.get(), D::IdProgramType)->setCurrentIndex(0);
    Combo(d.get(), D::IdEncrypted)->setCurrentIndex(0);
    d->accept();

    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(program.Name, "\xC4rger \x80");
    EXPECT_EQ(program.Provider, "ZDF");
    EXPECT_EQ(program.LnbName, "Hotbird");
    EXPECT_EQ(program.Frequency, 12000000);
    EXPECT_EQ(program.SymbolRate, 22000000);
    EXPECT_EQ(program.TransportStreamId, 11);
    EXPECT_EQ(program.NetworkId, 12);
    EXPECT_EQ(program.OriginalNetworkId, 13);
    EXPECT_EQ(program.ServiceId, 14);
    EXPECT_EQ(program.PcrPid, 15);
    EXPECT_EQ(program.PmtPid, 16);
    EXPECT_EQ(program.VideoPid, 1);  // decimal mode: the number ends at 'F'
    EXPECT_EQ(program.AudioPid, 70000 & 0xFFFF);
    EXPECT_EQ(program.TeletextPid, 0);  // empty edit
    EXPECT_EQ(program.FrontendType, 10);
    EXPECT_EQ(program.PolarisationOrQam, 1);
    EXPECT_EQ(program.ProgramType, 0x00001u);  // radio -> TV, encryption cleared
    // Not shown, not changed.
    EXPECT_EQ(program.CiAccess, original.CiAccess);
    EXPECT_EQ(program.Streams, original.Streams);
    EXPECT_EQ(program.ProgramData1, original.ProgramData1);
    EXPECT_EQ(program.ProgramData2, original.ProgramData2);
}

TEST_F(ProgramDialogTest, UnstorableCharactersAreReplacedWithAMessage) {
    auto d = Open();
    Edit(d.get(), D::IdName)->setText(QString::fromUtf8("Łódź TV"));
    Edit(d.get(), D::IdProvider)->setText(QString::fromUtf8("Žurnal"));  // 0x8E exists
    d->accept();
    EXPECT_EQ(program.Name,
              "?\xF3"
              "d? TV");
    EXPECT_EQ(program.Provider, "\x8Eurnal");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains("ersetzt")) << messages.front().toStdString();
}

TEST_F(ProgramDialogTest, HexModeReadsFourHexDigits) {
    auto d = Open(true);
    Type(d.get(), D::IdVideoPid, "1FFF");
    Type(d.get(), D::IdAudioPid, "abcde");
    Type(d.get(), D::IdNetworkId, "zz");  // no number at all
    d->accept();
    EXPECT_EQ(program.VideoPid, 8191);
    EXPECT_EQ(program.AudioPid, 0xABCD);
    EXPECT_EQ(program.NetworkId, 0);
}

TEST_F(ProgramDialogTest, NonNumberKeepsOldValueWithOneMessageAndStillCloses) {
    auto d = Open();
    Type(d.get(), D::IdFrequency, "12 GHz");
    Type(d.get(), D::IdSymbolRate, "1A");
    Type(d.get(), D::IdProvider, "Neu");
    d->accept();
    EXPECT_EQ(d->result(), int(QDialog::Accepted));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.front(), "Bitte geben Sie eine ganze Zahl ein.");
    EXPECT_EQ(program.Frequency, original.Frequency);
    EXPECT_EQ(program.SymbolRate, original.SymbolRate);
    EXPECT_EQ(program.Provider, "Neu");  // the other fields are written
}

TEST_F(ProgramDialogTest, HexEditsFilterTypedAndPastedCharacters) {
    auto d = Open();
    const int filtered[] = {
        D::IdTransportStreamId, D::IdServiceId, D::IdPcrPid,      D::IdPmtPid,
        D::IdVideoPid,          D::IdAudioPid,  D::IdTeletextPid, D::IdSymbolRate};
    for (int id : filtered) {
        SCOPED_TRACE(id);
        QLineEdit* e = Edit(d.get(), id);
        e->clear();
        QTest::keyClicks(e, "1x2 -G3aF");
        EXPECT_EQ(e->text(), "123aF");
        QApplication::clipboard()->setText(QString::fromUtf8("9 8-7ü€6f"));
        e->paste();
        EXPECT_EQ(e->text(), "123aF9876f");
    }
    const int free[] = {D::IdName,      D::IdProvider,  D::IdLnbName,
                        D::IdFrequency, D::IdNetworkId, D::IdOriginalNetworkId};
    for (int id : free) {
        SCOPED_TRACE(id);
        QLineEdit* e = Edit(d.get(), id);
        e->clear();
        QTest::keyClicks(e, "1x2 -G3");
        EXPECT_EQ(e->text(), "1x2 -G3");
    }
}

TEST_F(ProgramDialogTest, LnbButtonOpensTheNamedLnbAsItStoodAtOpening) {
    auto d = Open();
    Type(d.get(), D::IdLnbName, "Gibt es nicht");
    d->findChild<QPushButton*>(QString::number(D::IdLnbButton))->click();
    EXPECT_EQ(d->openedLnb, lnb.get());

    program.LnbName = "Fehlt";
    auto missing = Open();
    EXPECT_EQ(missing->LnbForButton(), nullptr);
    missing->findChild<QPushButton*>(QString::number(D::IdLnbButton))->click();
    EXPECT_EQ(missing->openedLnb, nullptr);

    CProgramDialog noTable(program, nullptr, 1, DialogOptions{});
    EXPECT_EQ(noTable.LnbForButton(), nullptr);
}

TEST_F(ProgramDialogTest, StreamsButtonOpensTheStreamDialog) {
    auto d = Open();
    d->findChild<QPushButton*>(QString::number(D::IdStreamsButton))->click();
    EXPECT_EQ(d->streamOpens, 1);
}

TEST_F(ProgramDialogTest, LnbDialogEditsTheSharedRecordInPlace) {
    lnb->LnbType = 1;
    CProgramDialog d(program, &lnbs, 1, DialogOptions{false, true});
    bool sawLnbDialog = false;
    QTimer::singleShot(0, [&] {
        auto* lnbDialog = qobject_cast<CLnbDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(lnbDialog, nullptr);
        sawLnbDialog = lnbDialog->windowTitle() == "LNB-Einstellungen";
        lnbDialog->findChild<QComboBox*>(QString::number(CLnbDialog::IdType))->setCurrentIndex(3);
        lnbDialog->accept();
    });
    d.findChild<QPushButton*>(QString::number(D::IdLnbButton))->click();
    EXPECT_TRUE(sawLnbDialog);
    EXPECT_EQ(lnbs.Find("Astra 19.2")->LnbType, 3);
    EXPECT_EQ(program, original);  // the program itself is untouched
}
