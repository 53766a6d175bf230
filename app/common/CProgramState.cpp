#include "common/CProgramState.h"

#include <QDateTime>
#include <QTimeZone>

CProgramState::CProgramState(QObject* parent)
    : QObject(parent), timeZoneOffsetHours_(LocalTimeZoneOffsetHours()) {}

void CProgramState::SetTunedProgramIndex(int index) {
    if (index < -1) index = -1;
    if (index == tunedProgramIndex_) return;
    tunedProgramIndex_ = index;
    emit tunedProgramIndexChanged(index);
}

void CProgramState::SetTimeZoneOffsetHours(int hours) {
    if (hours == timeZoneOffsetHours_) return;
    timeZoneOffsetHours_ = hours;
    emit timeZoneOffsetHoursChanged(hours);
}

int CProgramState::LocalTimeZoneOffsetHours() {
    return QDateTime::currentDateTime().offsetFromUtc() / 3600;
}

void CProgramState::SetFullScreen(bool on) {
    if (on == fullScreen_) return;
    fullScreen_ = on;
    emit fullScreenChanged(on);
}

void CProgramState::SetCurrentAudioPid(std::uint16_t pid) {
    if (pid == currentAudioPid_) return;
    currentAudioPid_ = pid;
    emit currentAudioPidChanged(pid);
}
