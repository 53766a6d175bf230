#pragma once
// Recording and playback with the server doing the file work.
#include <cstdint>
#include <string>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CRecordPlayback : public CCommonDVB {
  public:
    static constexpr std::size_t kMaxName = 380;

    /// A name longer than 380 characters is refused with RET_INVALID.
    ErrReturn Open(const std::string& name, TYPE_REC_PLAY_FORMAT format, int forPlayback);
    ErrReturn Close();
    ErrReturn Record();
    ErrReturn Stop();
    ErrReturn Playback(std::uint32_t startMs);
    ErrReturn Pause();
    ErrReturn Forward();
    ErrReturn Backward();
    ErrReturn SlowPlayback(std::uint8_t speed);
    ErrReturn FastPlayback(int speed);
    ErrReturn GetStatus(std::uint32_t& lengthMs, std::uint32_t& kbits, std::uint32_t& positionMs,
                        REC_PLAY_MODE& mode, TYPE_REC_PLAY_FORMAT& format);
    /// window is a token of the program's choice; posted messages come back
    /// through CServerConnection's posted-message handler.
    ErrReturn SetStatusChangedMessage(std::uint32_t window, unsigned int message, int enable);
};
