#pragma once
// The program's side of the video window: the library's calls when the TV
// window comes and goes, the video kept 4:3 over it, the TV window bar shown
// with the video over it, full screen entered and left, the mirror commands,
// the commands of the two pop-up menus and the messages the video window
// posts to the frame. The pauses the library needs are queued on the event
// loop (CStepQueue), never slept.
#include <QObject>
#include <QRect>
#include <array>
#include <functional>

#include "tv/CStepQueue.h"

class CProgramState;
class IDeviceSet;
class ITvWindowHost;
class IVideoDisplay;

class CTvVideo : public QObject {
    Q_OBJECT
  public:
    /// `card` may be null (no card: the decoder gets no picture values).
    CTvVideo(IVideoDisplay& display, ITvWindowHost& host, CProgramState& state, IDeviceSet* card,
             QObject* parent = nullptr);

    /// When the frame comes up: the six message numbers of the video window,
    /// the registered messages, and the first "UM_DVBAPP_HWND" and "UM_DVBAPP_TOP".
    void StartUp();
    /// The six numbers the video window posts to the frame (index 0 to 5).
    const std::array<unsigned, 6>& VideoMessages() const { return videoMessages_; }

    // The TV window (the dialog inside the bar).
    /// `handle` goes to the video window; `rect` gives the window's screen rectangle.
    void TvWindowCreated(qintptr handle, std::function<QRect()> rect);
    /// Timer 1000: the video follows the window's rectangle, 4:3.
    void TvWindowTimer(const QRect& rect);
    void TvWindowDestroyed();
    /// The mouse is over the TV window or its bar.
    void MouseOverTvWindow();

    // The TV window bar (command 32778) and the update of its menu state.
    void ToggleBar();
    void MenuStateUpdate();

    void EnterFullScreen();
    void LeaveFullScreen();
    void ToggleFullScreen();
    /// True while a full-screen change is under way.
    bool FullScreenBusy() const { return fullScreenBusy_; }

    /// Carries out a command of the TV menu or the two pop-up menus; false
    /// for any other command.
    bool Command(int command);
    /// A message of the video window to the frame; false when it is none of
    /// those acted on (the frame handles it as usual).
    bool VideoMessage(unsigned number, qintptr wParam, qintptr lParam);

    CStepQueue& Steps() { return steps_; }

  private:
    void PlaceInBar();
    void ApplyFullScreenPicture();
    CStepQueue::Step FullScreenDone(bool on);
    void Mirror(int how);

    IVideoDisplay& display_;
    ITvWindowHost& host_;
    CProgramState& state_;
    IDeviceSet* card_;
    CStepQueue steps_;
    std::array<unsigned, 6> videoMessages_{};
    unsigned hwnd_ = 0, top_ = 0, ctrlVideo_ = 0, top2_ = 0;
    QRect placedFor_;  ///< the TV window rectangle the video was last placed for
    bool fullScreenBusy_ = false;
};
