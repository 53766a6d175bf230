#pragma once
// The values that the whole program shares: which program is tuned, whether
// the picture is full screen, the audio PID last given to the decoder and the
// time zone. One object, owned by the application object and handed to the
// parts that read or change them; each change is announced once.
#include <QObject>
#include <cstdint>

class CProgramState : public QObject {
    Q_OBJECT
  public:
    explicit CProgramState(QObject* parent = nullptr);

    /// Document index of the tuned program; -1 while nothing is tuned.
    int TunedProgramIndex() const { return tunedProgramIndex_; }
    void SetTunedProgramIndex(int index);

    /// Local hour minus UTC hour, taken when the program starts.
    int TimeZoneOffsetHours() const { return timeZoneOffsetHours_; }
    void SetTimeZoneOffsetHours(int hours);
    /// The local time zone's offset to UTC in whole hours, now.
    static int LocalTimeZoneOffsetHours();

    /// True while the picture is shown full screen.
    bool FullScreen() const { return fullScreen_; }
    void SetFullScreen(bool on);

    /// The audio PID last given to the decoder; 0 before the first.
    std::uint16_t CurrentAudioPid() const { return currentAudioPid_; }
    void SetCurrentAudioPid(std::uint16_t pid);

  signals:
    void tunedProgramIndexChanged(int index);
    void timeZoneOffsetHoursChanged(int hours);
    void fullScreenChanged(bool on);
    void currentAudioPidChanged(std::uint16_t pid);

  private:
    int tunedProgramIndex_ = -1;
    int timeZoneOffsetHours_ = 0;
    bool fullScreen_ = false;
    std::uint16_t currentAudioPid_ = 0;
};
