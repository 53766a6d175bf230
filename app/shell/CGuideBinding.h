#pragma once
// The programme guide on the frame: its receivers on the program switch's
// event filter and the schedule filter, the on-screen guide on the private
// messages, keys and commands of the view and the video window, and the
// schedule list window "EPG-ScheduleInfo" on "Scheduleliste öffnen...".
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class CEPGInfo;
class CGuideReception;
class CMainFrame;
class COsdGuide;
class CScheduleListWindow;
class CTvBinding;
class IDeviceSet;

class CGuideBinding : public QObject {
    Q_OBJECT
  public:
    CGuideBinding(CMainFrame& frame, CTvBinding& tv, IDeviceSet& card);
    ~CGuideBinding() override;

    /// "Zur Timerliste addieren" of the schedule list: the timer part takes
    /// the event (timer dialog in guide mode); true when an entry was added.
    void SetAddToTimerList(std::function<bool(const CEPGInfo&)> add) {
        addToTimerList_ = std::move(add);
    }
    CGuideReception& Reception() const { return *reception_; }
    COsdGuide& Osd() const { return *osd_; }

    /// Opens the modal schedule list for the tuned program.
    void OpenScheduleList();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void GuideKey(int code);
    void SetGuidePage(int page);

    CMainFrame& frame_;
    CTvBinding& tv_;
    std::unique_ptr<CGuideReception> reception_;
    COsdGuide* osd_;
    QPointer<CScheduleListWindow> window_;
    std::function<bool(const CEPGInfo&)> addToTimerList_;
    int guidePage_ = 0;
};

CGuideBinding* AttachGuide(CMainFrame& frame, CTvBinding& tv, IDeviceSet& card);
