#pragma once
// The desktop side of full screen: the display mode 800 x 600 through XRandR
// (only when the X server offers exactly that size; on other platforms, such
// as offscreen or Wayland, the change is refused as not supported), the black
// background over the whole screen, and the boxes that report failures. The
// mode the desktop had is restored on leaving, and at the latest when this
// object goes.
#include <QPointer>
#include <QWidget>

#include "tv/ITvWindowHost.h"

class CFullScreenDesktop {
  public:
    CFullScreenDesktop() = default;
    ~CFullScreenDesktop();
    CFullScreenDesktop(const CFullScreenDesktop&) = delete;
    CFullScreenDesktop& operator=(const CFullScreenDesktop&) = delete;

    DisplayModeResult SetFullScreenMode();
    void RestoreDisplayMode();
    /// True while the desktop runs in the mode this object set.
    bool ModeChanged() const { return changed_; }

    bool CreateBackground();
    void DestroyBackground();
    QWidget* Background() const { return background_; }

    /// Information box, in front of all windows.
    static void ShowInformation(QWidget* owner, const QString& caption, const QString& text);
    /// Stop box, in front of all windows.
    static void ShowStop(QWidget* owner, const QString& caption, const QString& text);

  private:
    QPointer<QWidget> background_;
    bool changed_ = false;
    int savedSize_ = 0;
    int savedRotation_ = 0;
};
