#pragma once
// The VCR bar without its widgets: what the command codes of message 1230 do,
// the status update on message 1239, the playlist titles, the options and the
// remembered folders. It drives the back end the shared state chooses (the
// card's file method or the network engine) and describes what the bar shows
// in one VcrDisplay; the bar draws it and hands the user's actions back.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "common/RecPlayState.h"
#include "recording/CPlayListSequencer.h"
#include "recording/IRecPlayBackEnd.h"

struct VcrRgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const VcrRgb&) const = default;
};

/// Slider colours (main, light, pale) and the progress bar's colour.
struct VcrColours {
    VcrRgb main, light, pale, progress;
    bool operator==(const VcrColours&) const = default;
};

struct VcrDisplay {
    QString fileName;
    QString position = QStringLiteral("00:00:00");
    QString kbits, size, state, length;
    std::uint32_t sliderMax = 0, sliderPos = 0, sliderTick = 0, sliderPage = 0, sliderLine = 0;
    std::uint32_t progressMax = 0, progressPos = 0;
    VcrColours colours;
    int formatRadio =
        -1;  ///< "Audio PES" 0, "Audio Mp2" 1, "Video PES" 2, "A/V PES" 3, "MPEG-TS" 4
    bool openButton = true, closeButton = false, playButton = false, pauseButton = false,
         stopButton = false, recordButton = false, halfButton = false, doubleButton = false;
    bool usePlaylistEnabled = true;
    bool endless = false, usePlaylist = false;
};

/// The questions and messages of the bar.
class IVcrPrompts {
  public:
    virtual ~IVcrPrompts() = default;
    /// "Videodatei zum Abspielen öffnen"; empty when cancelled.
    virtual QString AskPlaybackFile(const QString& folder) = 0;
    /// "Videodatei zum Aufnehmen öffnen"; empty when cancelled. `suffix` is
    /// the extension chosen the time before; the dialog sets it to the new one.
    virtual QString AskRecordingFile(const QString& folder, QString& suffix) = 0;
    /// The self-closing question after a title that did not open; true when
    /// the user chose to end the playlist in time.
    virtual bool AskEndPlaylist(const QString& path) = 0;
    /// "Kein Eintrag in der Wiedergabeliste - Wiedergabe nicht möglich!"
    virtual void ShowEmptyPlaylist() = 0;
    /// A recording ended without being stopped (the disk is full, the card
    /// went away): what was recorded up to then is in the file.
    virtual void ShowRecordingEnded(const QString& path) = 0;
};

struct VcrHooks {
    /// The settling pauses between back-end calls.
    std::function<void(int ms)> wait;
    /// A quick recording into `path` in `format`: the timer list takes it
    /// (true). Without it, or when it does not take it, the bar records at once.
    std::function<bool(const QString& path, int format)> quickRecording;
    /// The frame's program filter box: enabled only while stopped or paused.
    std::function<void(bool)> programFilterEnabled;
    /// The mode changed: the bar moves the focus to its slider.
    std::function<void()> modeChanged;
    /// A playlist title started or ended: the playlist window redraws.
    std::function<void()> playlistChanged;
    std::function<QDateTime()> now;
};

class CVcrCore : public QObject, private IPlayListPlayer {
    Q_OBJECT
  public:
    /// `highLevel` and `lowLevel` are the two back ends; `state.lowLevel`
    /// chooses between them at every call.
    CVcrCore(RecPlayState& state, IRecPlayBackEnd& highLevel, IRecPlayBackEnd& lowLevel,
             CPlayListFile& playlist, IVcrPrompts& prompts, VcrHooks hooks,
             QObject* parent = nullptr);
    ~CVcrCore() override;

    /// Registers for the back ends' announcements: `notify` must post
    /// message 1239 to the bar (it may be called from another thread).
    void RegisterNotification(const std::function<void()>& notify);

    /// Message 1230: `code` 1..12, the playlist index or kKeepPlaylistIndex,
    /// the file name text of code 12.
    void Command(int code, std::uint32_t index, const QString& text = {});
    /// Message 1239.
    void UpdateStatus();
    /// While recording, the bar asks now and then whether the back end still
    /// answers: a card that went away announces nothing, and its recording
    /// ends here, reported like one that stopped by itself.
    void CheckRecording();

    void SetEndless(bool on);
    void SetUsePlaylist(bool on);
    /// The user drags the position slider / lets it go at `ms`.
    void SliderMoving(std::uint32_t ms);
    void SliderReleased(std::uint32_t ms);

    const VcrDisplay& Display() const { return display_; }
    const RecPlayState& State() const { return state_; }
    const CPlayListSequencer& Sequencer() const { return sequencer_; }

    /// The format of a path by its extension (0 for any other).
    static int FormatOfPath(const QString& path);
    /// The radio button of a format, -1 for none.
    static int RadioOfFormat(int format);
    static QString FormatPrefix(int format);
    /// The state word of a mode; "Unbekannt" for others.
    static QString ModeText(int mode);
    static VcrColours ColoursOfMode(int mode);
    /// "%H:%M:%S" of a span of seconds.
    static QString Clock(std::uint32_t seconds);
    /// "QUICKREC-%02d%02d%04d-%02d%02d%02d.pva" of `at`, in `folder` when set.
    static QString QuickRecordingName(const QString& folder, const QDateTime& at);
    /// Where recordings go without a folder of their own: "Directory
    /// Filesave", else the user's video folder; with its separator.
    static QString RecordingFolder();

  signals:
    void displayChanged();

  private:
    IRecPlayBackEnd& BackEnd() const { return state_.lowLevel ? lowLevel_ : highLevel_; }
    void Changed();
    void Wait(int ms) const;
    void LoadOptions();
    void SaveOptions() const;
    void SetFormat(int format);
    void EnableButtons();
    void ResetSlider();
    void ShowOpenedForPlayback();

    void OpenForPlayback();
    void OpenForRecording();
    void Close();
    void Play();
    void PlayPlaylistTitle();
    void Stop();
    void Pause();
    void Record();
    void QuickRecording();
    void StepTitle(int step);
    void EndOfFile();
    void ShowStatus(const RecPlayStatus& status);

    // What the playlist sequencer asks of the bar.
    void CloseTitle() override { Close(); }
    bool OpenAndPlay(const std::string& fileName) override;
    void ShowEmptyList() override;

    RecPlayState& state_;
    IRecPlayBackEnd& highLevel_;
    IRecPlayBackEnd& lowLevel_;
    CPlayListFile& playlist_;
    CPlayListSequencer sequencer_;
    IVcrPrompts& prompts_;
    VcrHooks hooks_;
    VcrDisplay display_;
    QString openFolder_, saveFolder_, saveSuffix_;
    int previousMode_ = 0;
    int unansweredChecks_ = 0;
    bool stopRequested_ = false;  ///< the user (or a timer) ended the recording
};
