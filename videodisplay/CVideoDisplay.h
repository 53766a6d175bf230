#pragma once
// The video window library: the stand-in on Linux for the outside library
// that shows the card's decoded picture. One object per process; it owns the
// top-level window "DVB - Viewer", which shows the card's composed output
// (the shared picture memory the emulated card publishes), placed where the
// program asks.
//
// Messages between the program and the window are registered messages
// (VideoMessages.h): the program sends "UM_DVBAPP_HWND", "UM_DVBAPP_TOP" and
// "UM_DVBAPP_CTRLVIDEO" to the window; the window posts the six numbers of
// GetMessageValue to the program's main frame (the top-level window of the
// widget handed over with "UM_DVBAPP_HWND", until then the application's
// first visible main window).
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "videodisplay/PictureAdjust.h"

class CVideoWindow;

class CVideoDisplay {
  public:
    /// Needs no card and no window.
    CVideoDisplay();
    ~CVideoDisplay();
    CVideoDisplay(const CVideoDisplay&) = delete;
    CVideoDisplay& operator=(const CVideoDisplay&) = delete;

    /// "-fbrd": the video over a window of the program (shown by UnHide);
    /// "-nore": full screen (a frameless window over the primary screen,
    /// shown at once). The window exists afterwards; one already open in the
    /// same mode is kept, one of the other mode is replaced. The result is 0.
    unsigned Open(const char* options);
    /// The window is gone afterwards; harmless when nothing is open.
    void Close();
    /// 1: the card's picture is shown in the window; 0: the window stays black.
    void EnableVideo(int on);
    /// Makes the window visible.
    void UnHide();
    /// The picture fills exactly this rectangle (screen pixels): it becomes
    /// the window's geometry. `computed` is 1 for a rectangle the program
    /// computed, 0 for a provisional one; both are taken alike.
    void MoveTo(std::uint16_t x, std::uint16_t y, std::uint16_t width, std::uint16_t height,
                int computed);
    /// Brightness, contrast, saturation of the window's picture, 128 neutral.
    void SetBCS(std::uint8_t brightness, std::uint8_t contrast, std::uint8_t saturation);
    /// The number of message `index` (0 to 5) that the window posts to the
    /// frame: 2 full screen toggle, 3 TV menu at (x, y), 4 VCR menu at
    /// (x, y) (x in the low, y in the high 16 bits of the second parameter),
    /// 5 a guide key 1-8 (the code in both parameters); 0 and 1 are never
    /// posted. The same name gives the same number for the life of the
    /// process. 0 for another index.
    unsigned GetMessageValue(int index) const { return MessageNumber(index); }
    /// The same numbers without an object (the window posts them).
    static unsigned MessageNumber(int index);

    /// The window while it is open (for tests and the frame), else null.
    CVideoWindow* Window() const { return window_.get(); }

  private:
    std::unique_ptr<CVideoWindow> window_;
    // Kept from one window to the next (Close, then Open in the other mode):
    // the frame handed over with "UM_DVBAPP_HWND" and the mirror state.
    QPointer<QWidget> handedFrame_;
    bool mirrored_ = false;
    bool videoOn_ = false;
    std::uint8_t brightness_ = videodisplay::PictureAdjust::kNeutralBrightness;
    std::uint8_t contrast_ = videodisplay::PictureAdjust::kNeutralContrast;
    std::uint8_t saturation_ = videodisplay::PictureAdjust::kNeutralSaturation;
};
