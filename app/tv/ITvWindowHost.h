#pragma once
// What the TV window's video needs of the windows around it: the desktop's
// display mode, the full-screen background, the TV window bar and the two
// pop-up menus. The shell gives the real windows; tests record the calls.
#include <QPoint>
#include <QRect>
#include <QString>

/// Outcome of a change of the desktop's display mode.
enum class DisplayModeResult {
    Changed,
    RestartNeeded,
    BadFlags,
    DriverFailed,
    NotSupported,
    RegistryFailed
};

class ITvWindowHost {
  public:
    virtual ~ITvWindowHost() = default;

    /// Switches the desktop to 800 x 600 with 32-bit colour.
    virtual DisplayModeResult SetFullScreenMode() = 0;
    /// Back to the mode before SetFullScreenMode (nothing when it changed nothing).
    virtual void RestoreDisplayMode() = 0;
    /// An information box in front of all windows.
    virtual void ShowInformation(const QString& caption, const QString& text) = 0;
    /// Creates, shows and raises the black background; false when it could not be made.
    virtual bool CreateBackground() = 0;
    virtual void DestroyBackground() = 0;
    /// Shows the failure of the background (stop icon).
    virtual void ShowBackgroundFailure(const QString& caption, const QString& text) = 0;

    /// The TV window bar's rectangle on the screen (also while hidden).
    virtual QRect BarRect() const = 0;
    virtual bool BarHidden() const = 0;
    virtual void ShowBar() = 0;
    virtual void HideBar() = 0;

    /// Opens the pop-up menu "TV und EPG Kontrolle" or "Videorekorder" at `at` (screen).
    virtual void OpenTvMenu(QPoint at) = 0;
    virtual void OpenVcrMenu(QPoint at) = 0;
};
