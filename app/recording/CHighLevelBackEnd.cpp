#include "recording/CHighLevelBackEnd.h"

#include "receiver/IDeviceSet.h"

int CHighLevelBackEnd::Open(const std::string& path, int format, int forPlayback) {
    devices_.WS_RecPlayMethod(0);
    return devices_.RecOpen(path, format, forPlayback).code;
}

int CHighLevelBackEnd::Record() { return devices_.RecRecord().code; }

int CHighLevelBackEnd::Playback(std::uint32_t startMs) {
    devices_.WS_RecPlayMethod(0);
    return devices_.RecPlayback(startMs).code;
}

int CHighLevelBackEnd::Pause() { return devices_.RecPause().code; }
int CHighLevelBackEnd::SlowPlayback(std::uint8_t speed) {
    return devices_.RecSlowPlayback(speed).code;
}
int CHighLevelBackEnd::FastPlayback(int speed) { return devices_.RecFastPlayback(speed).code; }
int CHighLevelBackEnd::Stop() { return devices_.RecStop().code; }
int CHighLevelBackEnd::Close() { return devices_.RecClose().code; }

int CHighLevelBackEnd::GetStatus(RecPlayStatus& status) {
    const RecorderStatus s = devices_.RecGetStatus();
    if (s.result.Ok()) status = {s.lengthMs, s.kbits, s.positionMs, s.mode, s.format};
    return s.result.code;
}

int CHighLevelBackEnd::SetStatusChangedMessage(std::function<void()> notify, unsigned int message,
                                               int enable) {
    return devices_.RecSetStatusChangedMessage(std::move(notify), message, enable).code;
}
