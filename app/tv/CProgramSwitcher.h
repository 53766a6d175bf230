#pragma once
// The program switch: from a program of the channel list to the card tuned,
// the decoder on its video and audio, the present/following events of the
// program requested and its teletext on. The calls, their order and the
// pauses the card needs between them are fixed; the pauses are not slept:
// the sequence is queued on the event loop, so the window keeps painting,
// and a switch asked for while one runs replaces the rest of it (the pause
// of the step under way is still kept).
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <deque>
#include <functional>

class CProgramInfo;
class CProgramState;
class CSVLFile;
class IDeviceSet;

/// One entry of the audio choice box: the text shown and the stream's PID.
struct AudioChoice {
    QString text;
    std::uint16_t pid = 0;
    bool operator==(const AudioChoice&) const = default;
};

/// The entries of the audio choice box for `program` and the one to select
/// (-1: none). `currentPid` is the decoder's audio PID.
struct AudioChoices {
    QList<AudioChoice> items;
    int selected = -1;
};
AudioChoices AudioChoicesFor(const CProgramInfo& program, std::uint16_t currentPid);

class CProgramSwitcher : public QObject {
    Q_OBJECT
  public:
    /// What the switch asks of the rest of the program.
    struct Hooks {
        /// The recorder's state: 0 idle, 1 recording, 2 playing back.
        std::function<int()> vcrMode;
        /// Asks a yes/no question (caption "Programmwechsel"); true for yes.
        std::function<bool(const QString& question)> confirm;
        /// Shows "Der Filter für die SI wurde nicht gesetzt!".
        std::function<void()> siFilterFailed;
    };

    CProgramSwitcher(IDeviceSet& card, CProgramState& state, QObject* parent = nullptr);
    ~CProgramSwitcher() override;

    void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    /// Switches to `program` of `list`. `interactive` for every user action
    /// (the present/following reception starts only then), not for the timer
    /// list. The caller has set the tuned program index already.
    void SwitchToProgram(const CSVLFile& list, const CProgramInfo& program, bool interactive);

    /// Stops the present/following and the schedule reception (before the
    /// list is refilled), queued ahead of any switch asked for later.
    void StopReception();

    /// True while a switch sequence has steps left.
    bool Running() const { return !steps_.empty() || pause_.isActive(); }
    /// Runs the rest of the sequence at once, sleeping its pauses: a timer
    /// recording must not start before the card is on its program.
    void FinishNow();
    const QString& TunedProgramName() const { return tunedName_; }
    void SetTunedProgramName(const QString& name) { tunedName_ = name; }

  signals:
    /// The on-screen guide is to close (its timers stop).
    void guideClosed();
    /// The audio choice box gets these entries.
    void audioChoicesChanged(const AudioChoices& choices);
    /// The present/following reception starts over (the receiver forgets its events).
    void eventReceptionReset();
    /// One datagram of the present/following filter arrived.
    void eventSectionArrived(const QByteArray& section);
    /// The guide's short information is to be shown.
    void shortInfoRequested();
    /// The teletext page cache is to be emptied (another program's teletext).
    void teletextCacheCleared();
    /// The last step of a switch ran; `elapsedMs` since it was asked for.
    void switchFinished(qint64 elapsedMs);

  private:
    struct Step {
        std::function<void()> run;
        int pauseMs = 0;
        bool ofSwitch = false;  ///< part of a program switch (a later switch replaces it)
    };
    bool EndVcrFor(bool interactive);
    void CloseGuide();
    std::vector<Step> StepsFor(const CSVLFile& list, const CProgramInfo& program, bool interactive);
    void AddSwitchCommand(std::vector<Step>& steps, const struct CTuningPlan& plan);
    void AddEventReception(std::vector<Step>& steps, const CProgramInfo& program);
    void RunSteps();

    IDeviceSet& card_;
    CProgramState& state_;
    Hooks hooks_;
    QString tunedName_;
    std::deque<Step> steps_;
    QTimer pause_;
    QElapsedTimer sinceRequest_;
    bool inStep_ = false;
    bool switchPending_ = false;  ///< a switch's steps are queued and not finished
};

Q_DECLARE_METATYPE(AudioChoices)
