// The progress window on a card that answers at once: its texts while the
// scan runs, the end on its own, and "Abbrechen" keeping what was found.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "FakeScanCard.h"
#include "scan/CScanRun.h"
#include "scan/windows/CScanProgressDialog.h"

namespace {

ScanSettings QuickSettings() {
    ScanSettings s;
    s.lnbName = "Astra";
    s.readNit = false;
    s.settleMs = 0;
    s.lockTimeoutMs = 50;
    s.psiTimeoutMs = 60000;  // only a complete decoding ends a transponder
    return s;
}

const std::vector<ScanTransponder> kThree = {
    {12226000, 1, 27500000}, {11836000, 0, 27500000}, {10744000, 0, 22000000}};

}  // namespace

TEST(ScanProgressDialog, RunsToTheEndWithItsTextsAndTheProgramsFound) {
    FakeScanCard card;
    card.trees[12226000] = TreeOf(1101, 28106, 2, "Erstes ");
    card.dead = {11836000};
    card.trees[10744000] = TreeOf(1019, 10301, 1, "Drittes ");
    CScanRun run(card, QuickSettings(), kThree);
    CScanProgressDialog dialog(run, nullptr, 5);
    EXPECT_EQ(dialog.TransponderLine(), QStringLiteral("Transponder 1 von 3: 12226 MHz V 27500"));
    EXPECT_EQ(dialog.FoundLine(), QStringLiteral("Gefundene Programme: 0"));
    EXPECT_EQ(dialog.ProgressMaximum(), 3);

    QStringList seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!seen.contains(dialog.TransponderLine())) seen << dialog.TransponderLine();
    });
    watch.start(1);
    QTimer::singleShot(10000, &dialog, &QDialog::reject);  // a hung scan fails, not hangs
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(run.Done());
    EXPECT_FALSE(run.Cancelled());
    EXPECT_TRUE(seen.contains(QStringLiteral("Transponder 2 von 3: 11836 MHz H 27500")));
    EXPECT_EQ(dialog.FoundNames(),
              (QStringList{QStringLiteral("Erstes 1"), QStringLiteral("Erstes 2"),
                           QStringLiteral("Drittes 1")}));
    EXPECT_EQ(dialog.FoundLine(), QStringLiteral("Gefundene Programme: 3"));
    EXPECT_EQ(dialog.ProgressValue(), 3);
    EXPECT_EQ(dialog.TransponderLine(), QStringLiteral("Suchlauf beendet"));
}

TEST(ScanProgressDialog, CancelStopsTheScanAndKeepsWhatWasFound) {
    FakeScanCard card;
    card.trees[12226000] = TreeOf(1101, 28106, 2, "Erstes ");
    card.trees[11836000] = TreeOf(1093, 28006, 4, "Zweites ");
    CScanRun run(card, QuickSettings(), kThree);
    CScanProgressDialog dialog(run, nullptr, 5);
    // The second transponder's decoding never completes: the user cancels there.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (run.CurrentIndex() == 1) {
            card.psiCompletes = false;
            if (run.CurrentPhase() == CScanRun::Phase::Decode)
                dialog.findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
        }
    });
    poll.start(1);
    QTimer::singleShot(10000, &dialog, &QDialog::accept);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(run.Cancelled());
    EXPECT_EQ(dialog.StateLine(), QStringLiteral("Abgebrochen"));
    ASSERT_EQ(run.Found().size(), 2u);  // the first transponder's, nothing of the second
    EXPECT_EQ(run.Found()[0].Name, "Erstes 1");
    EXPECT_EQ(dialog.FoundNames(),
              (QStringList{QStringLiteral("Erstes 1"), QStringLiteral("Erstes 2")}));
}
