// The dialog "Sendersuchlauf": what it offers for satellite and cable, the
// choice it gives, and "Starten" with a choice that cannot be scanned.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "channellist/CSVLFile.h"
#include "scan/windows/CScanDialog.h"
#include "scan/windows/ScanWindowTexts.h"

namespace {

class ScanDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        list.Lnbs.Set("Astra 19\xB0", std::make_shared<CLnb>());  // Windows-1252 degree sign
        list.Lnbs.Set("Hotbird", std::make_shared<CLnb>());
    }
    template <class W>
    W* Child(CScanDialog& dialog, const char* name) {
        W* w = dialog.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    CSVLFile list;
};

}  // namespace

TEST_F(ScanDialogTest, OffersTheListsLnbsAndTheCableWithTheirSources) {
    CScanDialog dialog(list, true, true);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sendersuchlauf"));
    auto* reception = Child<QComboBox>(dialog, "Reception");
    ASSERT_EQ(reception->count(), 3);
    QStringList shown;
    for (int i = 0; i < reception->count(); ++i) shown << reception->itemText(i);
    EXPECT_TRUE(shown.contains(QStringLiteral("Astra 19°")));
    EXPECT_EQ(shown.last(), QStringLiteral("Kabel"));
    EXPECT_EQ(Child<QRadioButton>(dialog, "FromNit")->text(),
              QStringLiteral("NIT des eingestellten Transponders"));
    EXPECT_EQ(Child<QPushButton>(dialog, "Start")->text(), QStringLiteral("Starten"));

    // Satellite: the cable table is not on offer, and the reverse.
    reception->setCurrentIndex(int(shown.indexOf(QStringLiteral("Astra 19°"))));
    EXPECT_TRUE(Child<QRadioButton>(dialog, "FromList")->isEnabled());
    EXPECT_FALSE(Child<QRadioButton>(dialog, "FromCable")->isEnabled());
    EXPECT_EQ(dialog.Choice().lnbName, "Astra 19\xB0");
    EXPECT_FALSE(dialog.Choice().cable);
    reception->setCurrentIndex(2);
    EXPECT_FALSE(Child<QRadioButton>(dialog, "FromList")->isEnabled());
    EXPECT_TRUE(Child<QRadioButton>(dialog, "FromCable")->isChecked());
    EXPECT_TRUE(Child<QSpinBox>(dialog, "SymbolRate")->isEnabled());
    EXPECT_TRUE(dialog.Choice().cable);
    EXPECT_EQ(dialog.Choice().source, ScanSource::CableChannels);
}

TEST_F(ScanDialogTest, ChoiceComesBackAndTheFileChooserFillsTheFile) {
    CScanDialog dialog(list, true, false);
    EXPECT_EQ(Child<QComboBox>(dialog, "Reception")->count(), 2);
    ScanChoice earlier;
    earlier.lnbName = "Hotbird";
    earlier.source = ScanSource::TransponderFile;
    dialog.SetChoice(earlier);
    auto* file = Child<QLineEdit>(dialog, "File");
    EXPECT_TRUE(file->isEnabled());
    dialog.SetFileChooser([] { return QStringLiteral("/tmp/hotbird.txt"); });
    QTest::mouseClick(Child<QPushButton>(dialog, "Browse"), Qt::LeftButton);
    const ScanChoice choice = dialog.Choice();
    EXPECT_EQ(choice.lnbName, "Hotbird");
    EXPECT_EQ(choice.source, ScanSource::TransponderFile);
    EXPECT_EQ(choice.transponderFile, QStringLiteral("/tmp/hotbird.txt"));
}

TEST_F(ScanDialogTest, StartWithAChoiceThatCannotBeScannedStaysOpenWithTheMessage) {
    CScanDialog dialog(list, true, false);
    QStringList shown;
    dialog.SetErrorSink([&](const QString& text) { shown << text; });
    bool allow = false;
    dialog.SetCheck([&](const ScanChoice&, QString& error) {
        error = QStringLiteral("geht nicht");
        return allow;
    });
    dialog.show();
    QTest::mouseClick(Child<QPushButton>(dialog, "Start"), Qt::LeftButton);
    EXPECT_EQ(shown, QStringList{QStringLiteral("geht nicht")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    allow = true;
    QTest::mouseClick(Child<QPushButton>(dialog, "Start"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}
