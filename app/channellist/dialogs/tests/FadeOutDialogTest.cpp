#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "channellist/dialogs/CFadeOutDialog.h"
#include "channellist/dialogs/DialogOptions.h"

TEST(FadeOutDialog, ClosesAtOnceWhenFadeOutIsOff) {
    CFadeOutDialog dialog(true);
    dialog.show();
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
}

TEST(FadeOutDialog, FadesOverThreeHundredMillisecondsThenCloses) {
    CFadeOutDialog dialog(false);
    dialog.show();
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.reject();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.IsClosing());
    EXPECT_EQ(finished.count(), 0);

    QTest::qWait(150);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_LT(dialog.windowOpacity(), 1.0);
    dialog.accept();  // a second close request while fading is ignored

    EXPECT_TRUE(finished.wait(1000));
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), int(QDialog::Rejected));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.IsClosing());
    EXPECT_DOUBLE_EQ(dialog.windowOpacity(), 1.0);  // ready to be shown again
}

TEST(FadeOutDialog, ExecReturnsAfterTheFade) {
    CFadeOutDialog dialog(false);
    QTimer::singleShot(0, &dialog, &QDialog::accept);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(dialog.exec(), int(QDialog::Accepted));
    EXPECT_GE(clock.elapsed(), CFadeOutDialog::FadeDurationMs - 20);
}

TEST(FadeOutDialog, HiddenDialogDoesNotFade) {
    CFadeOutDialog dialog(false);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.accept();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(dialog.IsClosing());
}

TEST(DialogOptions, ReadFromTheCrossedSettingNames) {
    static_assert(DialogOptions::FromSettingValues(0, 0).pidHex == false);
    EXPECT_TRUE(DialogOptions::FromSettingValues(1, 0).pidHex);
    EXPECT_FALSE(DialogOptions::FromSettingValues(2, 0).pidHex);
    EXPECT_FALSE(DialogOptions::FromSettingValues(1, 0).fadeOutOff);
    EXPECT_TRUE(DialogOptions::FromSettingValues(0, 1).fadeOutOff);
    EXPECT_TRUE(DialogOptions::FromSettingValues(0, -1).fadeOutOff);
}
