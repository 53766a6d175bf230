#pragma once
// Every way of choosing a program besides the list itself: program up and
// down, number entry on the remote control (shown in on-screen window 6,
// tuned 2 s after the last digit or at the fourth), the radio and TV keys,
// and the list's own requests. It takes the view's private messages 1228,
// 1232 and 1235 (as an event filter on the view) and tunes through the
// program switch.
#include <QBasicTimer>
#include <QObject>

class CProgramState;
class CProgramInfo;
class CProgramSwitcher;
class IDeviceSet;
class IProgramListHost;

class CProgramNavigator : public QObject {
    Q_OBJECT
  public:
    static constexpr int kNumberEntryTimer = 8001;
    static constexpr int kNumberEntryMs = 2000;

    CProgramNavigator(IProgramListHost& host, CProgramSwitcher& switcher, IDeviceSet& card,
                      CProgramState& state, QObject* parent = nullptr);

    /// The list asks to tune the program at a document index (already remembered).
    void TuneRequested(int index);
    /// The non-asking switch of a timer recording to `program` (a copy the
    /// timer list keeps): the list's own program when it still holds it,
    /// else the copy with the list's LNBs. Returns when the card is tuned.
    void TuneForTimer(const CProgramInfo& program);
    /// Program up (+1) or down (-1) over the whole list in document order.
    void Step(int direction);
    /// One digit of the number entry.
    void Digit(int digit);
    /// A remote-control key that the view handles (digits, 12, 15, 34).
    void RemoteKey(int code);

    int EnteredNumber() const { return enteredNumber_; }
    int EnteredDigits() const { return enteredDigits_; }
    bool NumberEntryRunning() const { return numberTimer_.isActive(); }

  signals:
    /// Remote key 34: the on-screen guide goes on or off.
    void guideToggleRequested();
    /// Message 1235 with 1: the audio choice with this PID is to be selected.
    void audioChoiceRequested(int pid);
    /// Message 1235 with 2: a timer-list entry for the tuned program.
    void quickTimerRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    /// Tunes the program at `index` (outside the list: the first), remembering it.
    void TuneIndex(int index, bool remember);
    void ShowNumber(const char* format);

    IProgramListHost& host_;
    CProgramSwitcher& switcher_;
    IDeviceSet& card_;
    CProgramState& state_;
    QBasicTimer numberTimer_;
    int enteredNumber_ = 0;
    int enteredDigits_ = 0;
};
