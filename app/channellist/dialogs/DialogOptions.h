#pragma once
// What the program, LNB and stream dialogs take from the program's options,
// passed in by the caller (the dialogs read no global state).
#include <cstdint>
#include <functional>

struct DialogOptions {
    bool pidHex = false;      ///< IDs and PIDs shown as "%04X" instead of decimal
    bool fadeOutOff = false;  ///< close without the 300 ms fade-out

    /// From the option values as the settings keep them: the PID display is
    /// stored under "Verwendete API" (1 = hex), the fade-out switch under
    /// "FadeOut Mode" (non-zero = no fade-out).
    static constexpr DialogOptions FromSettingValues(int verwendeteApi, int fadeOutMode) {
        return DialogOptions{verwendeteApi == 1, fadeOutMode != 0};
    }
};

/// What a double-click in the stream list switches. Empty functions do nothing.
struct StreamSwitch {
    std::function<void(std::uint16_t)> setVideoPid;  ///< the decoder's video PID
    std::function<void(std::uint16_t)> setAudioPid;  ///< the decoder's audio PID
};
