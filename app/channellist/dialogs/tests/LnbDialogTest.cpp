#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "QStringPrinter.h"
#include "channellist/CLnb.h"
#include "channellist/dialogs/CLnbDialog.h"

namespace {

using D = CLnbDialog;

CLnb Universal() {
    CLnb l;
    l.LnbType = 3;
    l.LowFrequency = 10700000;
    l.HighFrequency = 12750000;
    l.SwitchFrequency = 11700000;
    l.LowBandLof = 9750000;
    l.HighBandLof = 10600000;
    l.CBand = 0;
    l.PowerOn = 1;
    l.Tone22kHz = 1;
    l.DiseqcType = 2;
    l.DiseqcParameter = 1;
    l.DiseqcRepeat = 2;
    return l;
}

class LnbDialogTest : public ::testing::Test {
  protected:
    std::unique_ptr<CLnbDialog> Open() {
        auto d = std::make_unique<CLnbDialog>(lnb, DialogOptions{false, true});
        d->SetMessageHandler([this](const QString& text) { messages << text; });
        return d;
    }
    static QLineEdit* Edit(QWidget* d, int id) {
        return d->findChild<QLineEdit*>(QString::number(id));
    }
    static QComboBox* Combo(QWidget* d, int id) {
        return d->findChild<QComboBox*>(QString::number(id));
    }

    CLnb lnb = Universal();
    QStringList messages;
};

}  // namespace

TEST_F(LnbDialogTest, OpensWithEveryFieldShown) {
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), "LNB-Einstellungen");
    EXPECT_EQ(Combo(d.get(), D::IdType)->currentText(), "KU-Band Universal LNB");
    EXPECT_EQ(Edit(d.get(), D::IdLowFrequency)->text(), "10700");
    EXPECT_EQ(Edit(d.get(), D::IdHighFrequency)->text(), "12750");
    EXPECT_EQ(Edit(d.get(), D::IdSwitchFrequency)->text(), "11700");
    EXPECT_EQ(Combo(d.get(), D::IdLowBandLof)->currentText(), "9750");
    EXPECT_EQ(Combo(d.get(), D::IdHighBandLof)->currentText(), "10600");
    EXPECT_EQ(Combo(d.get(), D::IdCBand)->currentText(), "Nein");
    EXPECT_EQ(Combo(d.get(), D::IdPowerOn)->currentText(), "Ja");
    EXPECT_EQ(Combo(d.get(), D::IdTone22kHz)->currentText(), "Ja");
    EXPECT_EQ(Combo(d.get(), D::IdDiseqcType)->currentText(), "DiSEqC-Level 1.0");
    EXPECT_EQ(Combo(d.get(), D::IdDiseqcParameter)->currentText(), "Position B");
    EXPECT_EQ(Edit(d.get(), D::IdDiseqcRepeat)->text(), "2");
    EXPECT_EQ(Combo(d.get(), D::IdLowBandLof)->count(), 8);
    EXPECT_EQ(Combo(d.get(), D::IdHighBandLof)->count(), 7);
}

TEST_F(LnbDialogTest, OkWithoutEditsKeepsWholeMHzValues) {
    const CLnb before = lnb;
    Open()->accept();
    EXPECT_EQ(lnb, before);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LnbDialogTest, FrequenciesAreStoredBackInWholeMHz) {
    lnb.LowFrequency = 10700500;
    auto d = Open();
    EXPECT_EQ(Edit(d.get(), D::IdLowFrequency)->text(), "10700");
    d->accept();
    EXPECT_EQ(lnb.LowFrequency, 10700000);
}

TEST_F(LnbDialogTest, OkWritesEveryControl) {
    auto d = Open();
    Combo(d.get(), D::IdType)->setCurrentIndex(0);
    Edit(d.get(), D::IdLowFrequency)->setText("3400");
    Edit(d.get(), D::IdHighFrequency)->setText("4200");
    Edit(d.get(), D::IdSwitchFrequency)->setText("0");
    Combo(d.get(), D::IdLowBandLof)->setCurrentIndex(0);   // 5150
    Combo(d.get(), D::IdHighBandLof)->setCurrentIndex(6);  // 11475
    Combo(d.get(), D::IdCBand)->setCurrentIndex(1);
    Combo(d.get(), D::IdPowerOn)->setCurrentIndex(0);
    Combo(d.get(), D::IdTone22kHz)->setCurrentIndex(0);
    Combo(d.get(), D::IdDiseqcType)->setCurrentIndex(1);
    Combo(d.get(), D::IdDiseqcParameter)->setCurrentIndex(3);
    Edit(d.get(), D::IdDiseqcRepeat)->setText(" 5 ");
    d->findChild<QPushButton*>("IDOK")->click();

    EXPECT_EQ(lnb.LnbType, 0);
    EXPECT_EQ(lnb.LowFrequency, 3400000);
    EXPECT_EQ(lnb.HighFrequency, 4200000);
    EXPECT_EQ(lnb.SwitchFrequency, 0);
    EXPECT_EQ(lnb.LowBandLof, 5150000);
    EXPECT_EQ(lnb.HighBandLof, 11475000);
    EXPECT_EQ(lnb.CBand, 1);
    EXPECT_EQ(lnb.PowerOn, 0);
    EXPECT_EQ(lnb.Tone22kHz, 0);
    EXPECT_EQ(lnb.DiseqcType, 1);
    EXPECT_EQ(lnb.DiseqcParameter, 3);
    EXPECT_EQ(lnb.DiseqcRepeat, 5);
}

TEST_F(LnbDialogTest, CancelWritesNothing) {
    const CLnb before = lnb;
    auto d = Open();
    Combo(d.get(), D::IdType)->setCurrentIndex(0);
    Edit(d.get(), D::IdLowFrequency)->setText("1");
    d->findChild<QPushButton*>("IDCANCEL")->click();
    EXPECT_EQ(d->result(), int(QDialog::Rejected));
    EXPECT_EQ(lnb, before);
}

TEST_F(LnbDialogTest, UnlistedValuesStayUnselectedAndUnchanged) {
    lnb.LnbType = 9;
    lnb.LowBandLof = 0;
    lnb.HighBandLof = 5150000;  // not offered in the high band list
    lnb.DiseqcParameter = -1;
    lnb.CBand = 2;
    const CLnb before = lnb;
    auto d = Open();
    for (int id : {int(D::IdType), int(D::IdLowBandLof), int(D::IdHighBandLof),
                   int(D::IdDiseqcParameter), int(D::IdCBand)})
        EXPECT_EQ(Combo(d.get(), id)->currentIndex(), -1) << id;
    d->accept();
    EXPECT_EQ(lnb, before);
}

TEST_F(LnbDialogTest, NonNumbersKeepOldValuesWithOneMessage) {
    auto d = Open();
    Edit(d.get(), D::IdLowFrequency)->setText("10,7 GHz");
    Edit(d.get(), D::IdSwitchFrequency)->setText("9999999");  // too large for kHz
    Edit(d.get(), D::IdDiseqcRepeat)->setText("");
    Combo(d.get(), D::IdPowerOn)->setCurrentIndex(0);
    d->accept();
    EXPECT_EQ(d->result(), int(QDialog::Accepted));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.front(), "Bitte geben Sie eine ganze Zahl ein.");
    EXPECT_EQ(lnb.LowFrequency, 10700000);
    EXPECT_EQ(lnb.SwitchFrequency, 11700000);
    EXPECT_EQ(lnb.DiseqcRepeat, 2);
    EXPECT_EQ(lnb.PowerOn, 0);
}

TEST_F(LnbDialogTest, ToneChoiceIsDisabledWhileTheTypeIsUniversal) {
    auto d = Open();
    QComboBox* tone = Combo(d.get(), D::IdTone22kHz);
    QComboBox* type = Combo(d.get(), D::IdType);
    EXPECT_FALSE(tone->isEnabled());
    for (int t : {0, 1, 2, 4}) {
        type->setCurrentIndex(t);
        EXPECT_TRUE(tone->isEnabled()) << t;
    }
    type->setCurrentIndex(3);
    EXPECT_FALSE(tone->isEnabled());
    d->accept();
    EXPECT_EQ(lnb.Tone22kHz, 1);  // kept while disabled
}
