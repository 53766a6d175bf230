#include <gtest/gtest.h>

#include <QSignalSpy>

#include "common/CProgramState.h"

TEST(ProgramState, StartsWithNothingTunedAndTheLocalZone) {
    CProgramState state;
    EXPECT_EQ(state.TunedProgramIndex(), -1);
    EXPECT_FALSE(state.FullScreen());
    EXPECT_EQ(state.CurrentAudioPid(), 0);
    EXPECT_EQ(state.TimeZoneOffsetHours(), CProgramState::LocalTimeZoneOffsetHours());
}

// Each change is announced once; setting the value it already has is silent, so
// listeners that redraw on a change do not redraw for nothing.
TEST(ProgramState, AnnouncesEveryChangeOnce) {
    CProgramState state;
    QSignalSpy tuned(&state, &CProgramState::tunedProgramIndexChanged);
    QSignalSpy full(&state, &CProgramState::fullScreenChanged);
    QSignalSpy audio(&state, &CProgramState::currentAudioPidChanged);
    QSignalSpy zone(&state, &CProgramState::timeZoneOffsetHoursChanged);

    state.SetTunedProgramIndex(7);
    state.SetTunedProgramIndex(7);
    state.SetFullScreen(true);
    state.SetFullScreen(true);
    state.SetCurrentAudioPid(0x1FFF);
    state.SetCurrentAudioPid(0x1FFF);
    state.SetTimeZoneOffsetHours(state.TimeZoneOffsetHours() + 1);

    ASSERT_EQ(tuned.count(), 1);
    EXPECT_EQ(tuned[0][0].toInt(), 7);
    ASSERT_EQ(full.count(), 1);
    EXPECT_TRUE(full[0][0].toBool());
    ASSERT_EQ(audio.count(), 1);
    EXPECT_EQ(state.CurrentAudioPid(), 0x1FFF);
    EXPECT_EQ(zone.count(), 1);
}

// Below -1 there is no program: such an index means "nothing tuned".
TEST(ProgramState, NegativeIndexMeansNothingTuned) {
    CProgramState state;
    state.SetTunedProgramIndex(3);
    QSignalSpy tuned(&state, &CProgramState::tunedProgramIndexChanged);
    state.SetTunedProgramIndex(-5);
    EXPECT_EQ(state.TunedProgramIndex(), -1);
    ASSERT_EQ(tuned.count(), 1);
    EXPECT_EQ(tuned[0][0].toInt(), -1);
}
