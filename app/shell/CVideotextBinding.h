#pragma once
// Videotext on the frame: the command "&Videotext..." opens the modal window
// "SVL-Editor Videotext" for the tuned program's teletext PID, fed from the
// card's teletext while it is open (closing ends the teletext); the page
// cache lives as long as the binding and is emptied at every program change.
// The command is off while the window is open and without a tuned program.
// Lives as a child of the frame.
#include <QObject>
#include <functional>

#include "videotext/VtPageCache.h"

class CMainFrame;
class CTvBinding;
class CVideotextDlg;
class IReceiver;
struct SubscribeError;

class CVideotextBinding : public QObject {
    Q_OBJECT
  public:
    /// The receiver at the time the window opens (null: no card).
    using ReceiverSource = std::function<IReceiver*()>;
    /// Runs the open window until it ends (default: its own modal loop).
    using Runner = std::function<void(CVideotextDlg& dialog)>;

    CVideotextBinding(CMainFrame& frame, CTvBinding& tv, ReceiverSource receiver);

    vt::VtPageCache& Cache() { return cache_; }
    /// The open window, null while none is open.
    CVideotextDlg* Dialog() const { return dialog_; }
    /// How the last subscription to the card's teletext went.
    bool Subscribed() const { return subscribed_; }
    void SetRunner(Runner runner) { runner_ = std::move(runner); }

    /// The command: the window for the tuned program's teletext.
    void Open();
    /// The command on while no window is open and a program is tuned.
    void UpdateCommand();

  private:
    CMainFrame& frame_;
    CTvBinding& tv_;
    ReceiverSource receiver_;
    Runner runner_;
    vt::VtPageCache cache_;
    CVideotextDlg* dialog_ = nullptr;  // lives in Open() while the window runs
    bool subscribed_ = false;
};

CVideotextBinding* AttachVideotext(CMainFrame& frame, CTvBinding& tv,
                                   CVideotextBinding::ReceiverSource receiver);
