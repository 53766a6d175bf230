#pragma once
// Values that the whole program shares, set when the frame comes up.
#include <cstdint>

/// Document index of the tuned program; -1 while nothing is tuned.
inline int tunedProgramIndex = -1;
/// Local hour minus UTC hour at start-up.
inline int timeZoneOffsetHours = 0;
/// Non-zero while the picture is shown full screen.
inline int fullScreen = 0;
/// The audio PID last given to the decoder.
inline std::uint16_t currentAudioPid = 0;
