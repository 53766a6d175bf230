#pragma once
// The card's own file method as a record/playback back end: the server
// reads and writes the file, the program names it and moves the recorder
// from state to state. The card is put back to its file method
// (WS_RecPlayMethod 0) before every open and every playback, so that it is
// never left in the network method of the other back end.
#include "recording/IRecPlayBackEnd.h"

class IDeviceSet;

class CHighLevelBackEnd : public IRecPlayBackEnd {
  public:
    explicit CHighLevelBackEnd(IDeviceSet& devices) : devices_(devices) {}

    int Open(const std::string& path, int format, int forPlayback) override;
    int Record() override;
    int Playback(std::uint32_t startMs) override;
    int Pause() override;
    int SlowPlayback(std::uint8_t speed) override;
    int FastPlayback(int speed) override;
    int Stop() override;
    int Close() override;
    int GetStatus(RecPlayStatus& status) override;
    int SetStatusChangedMessage(std::function<void()> notify, unsigned int message,
                                int enable) override;

  private:
    IDeviceSet& devices_;
};
