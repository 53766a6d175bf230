#pragma once
// The TV window on the frame: the TV window in the "Video" bar, "&TV Fenster"
// (32778) showing the bar with the video over it, the commands of the "&TV"
// menu and of the video window's two pop-up menus, full screen on the
// desktop, and the messages the video window and the remote control (key
// 46) send to the frame. Lives as a child of the frame.
#include <QObject>
#include <functional>

#include "tv/ITvWindowHost.h"
#include "tv/VideoMenuItems.h"
#include "tv/video/CFullScreenDesktop.h"

class CDockingBar;
class CMainFrame;
class CTvVideo;
class CTvWindow;
class IDeviceSet;
class IVideoDisplay;

class CTvWindowBinding : public QObject, public ITvWindowHost {
    Q_OBJECT
  public:
    /// `card` may be null (no card).
    CTvWindowBinding(CMainFrame& frame, IVideoDisplay& display, IDeviceSet* card);
    ~CTvWindowBinding() override;

    CTvVideo& Video() const { return *video_; }
    CTvWindow* Window() const { return window_; }
    /// What the VCR menu's enabling asks: a playback file is open, the
    /// playback runs from the playlist. Neither until the VCR part is there.
    void SetVcrState(std::function<bool()> playbackOpen, std::function<bool()> playlist);
    /// Replaces the running of a pop-up menu (tests): title, items, place; the command chosen.
    using MenuRunner =
        std::function<int(const QString&, const QList<VideoMenuItems::Item>&, QPoint)>;
    void SetMenuRunner(MenuRunner runner) { runMenu_ = std::move(runner); }

    // ITvWindowHost
    DisplayModeResult SetFullScreenMode() override;
    void RestoreDisplayMode() override;
    void ShowInformation(const QString& caption, const QString& text) override;
    bool CreateBackground() override;
    void DestroyBackground() override;
    void ShowBackgroundFailure(const QString& caption, const QString& text) override;
    QRect BarRect() const override;
    bool BarHidden() const override;
    void ShowBar() override;
    void HideBar() override;
    void OpenTvMenu(QPoint at) override;
    void OpenVcrMenu(QPoint at) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void ConnectCommands();
    void UpdateTvMenu();
    void RunMenu(const QString& title, const QList<VideoMenuItems::Item>& items, QPoint at);

    CMainFrame& frame_;
    IVideoDisplay& display_;
    CDockingBar* bar_;
    CFullScreenDesktop desktop_;
    CTvVideo* video_;
    CTvWindow* window_;
    std::function<bool()> playbackOpen_ = [] { return false; };
    std::function<bool()> playlist_ = [] { return false; };
    MenuRunner runMenu_;
};

/// The program's way in: makes the binding on `frame` (owned by the frame).
CTvWindowBinding* AttachTvWindow(CMainFrame& frame, IVideoDisplay& display, IDeviceSet* card);
