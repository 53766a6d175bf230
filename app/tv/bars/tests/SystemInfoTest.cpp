// "Systeminformationen": the card's rows and the processor clock measured
// while the dialog is open.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTableWidget>
#include <QTest>

#include "receiver/CFakeDeviceSet.h"
#include "tv/bars/CSystemInfoDialog.h"
#include "tv/bars/SystemInfoRows.h"

namespace {
QStringList Row(const QTableWidget& list, int row) {
    return {list.item(row, 0)->text(), list.item(row, 1)->text()};
}
}  // namespace

TEST(SystemInfo, CardRowsGroupByTheCallsThatSucceed) {
    CFakeDeviceSet card;
    card.firmware = {0x10220042, 0x2A, 0x1F, "Jan 12 2002", "10:11:12"};
    card.ipCheck = 2;
    card.macCheck = 1;
    const auto rows = SystemInfoRows::CardRows(card);
    const std::vector<SystemInfoRows::Row> expected{
        {"Hersteller", "Hersteller"},
        {"Boardtyp", "Karte"},
        {"Firmware", "2.2.0042 Final "},
        {"Firmware Date", "Jan 12 2002 - 10:11:12 "},
        {"Video Decoder Rev.", "1F"},
        {"Runtime Library", "2A"},
        {"IP Check", "could not determine IP address os Subnet mask"},
        {"IP-Adresse", "127.0.0.1"},
        {"Subnetmask", "255.0.0.0"},
        {"MAC Check", "could not read EEPROM"},
        {"MAC Adresse", "00:11:22:33:44:55"}};
    EXPECT_EQ(rows, expected);

    card.ScriptResult("GetBoardMfg", 0);
    card.ScriptResult("GetIP", 0);
    std::vector<QString> labels;
    for (const auto& row : SystemInfoRows::CardRows(card)) labels.push_back(row.first);
    EXPECT_EQ(labels, (std::vector<QString>{"Firmware", "Firmware Date", "Video Decoder Rev.",
                                            "Runtime Library", "MAC Check", "MAC Adresse"}));
}

TEST(SystemInfo, DialogOpensAtOnceAndFillsTheClockWhenMeasured) {
    CFakeDeviceSet card;
    CSystemInfoDialog dialog(
        &card, nullptr, [](std::stop_token) { return std::optional<std::uint64_t>(866050000); });
    EXPECT_EQ(dialog.windowTitle(), "Systeminformationen");
    const QTableWidget& general = dialog.General();
    ASSERT_EQ(general.rowCount(), 6);
    EXPECT_EQ(Row(general, 1).at(0), "Bildschirm");
    EXPECT_EQ(Row(general, 2).at(0), "Speicher");
    EXPECT_TRUE(Row(general, 2).at(1).endsWith(" KB RAM gefunden"));
    EXPECT_EQ(dialog.Card().rowCount(), 11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.ClockShown(); }, 2000));
    EXPECT_EQ(Row(general, 5), (QStringList{"Taktfrequenz", "866.05 MHz ungefähr"}));
}

TEST(SystemInfo, ClosingDuringTheMeasurementDoesNotWaitForIt) {
    QElapsedTimer closing;
    {
        CSystemInfoDialog dialog(nullptr, nullptr, &SystemInfoRows::MeasureTicksPerSecond);
        EXPECT_EQ(dialog.Card().rowCount(), 0);
        EXPECT_EQ(dialog.General().item(5, 1)->text(), "wird gemessen...");
        closing.start();
    }
    EXPECT_LT(closing.elapsed(), 500);
}

#if defined(__x86_64__) || defined(__i386__)
TEST(SystemInfo, TheCounterRunsDuringTheSecond) {
    QElapsedTimer took;
    took.start();
    const auto ticks = SystemInfoRows::MeasureTicksPerSecond(std::stop_token{});
    EXPECT_GE(took.elapsed(), 990);
    ASSERT_TRUE(ticks);
    EXPECT_GT(*ticks, 100'000'000u);  // any processor of these years counts faster
}
#endif
