#pragma once
// The top-level window "DVB - Viewer": shows the card's composed output from
// the shared picture memory of the instance (KESTREL_INSTANCE), scaled to the
// window, and turns mouse clicks and keys into the six messages of
// CVideoDisplay::GetMessageValue, posted to the program's main frame.
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "kestrel/protocol/PictureMemory.h"
#include "videodisplay/PictureAdjust.h"

class CVideoWindow : public QWidget {
    Q_OBJECT

  public:
    /// Windowed: a frameless tool window kept above the frame, hidden until
    /// shown. Full screen: a frameless window over the whole primary screen,
    /// above every other window.
    explicit CVideoWindow(bool fullScreen);

    bool IsFullScreenMode() const { return fullScreen_; }
    void EnableVideo(bool on);
    bool IsVideoOn() const { return videoOn_; }
    void SetBCS(std::uint8_t brightness, std::uint8_t contrast, std::uint8_t saturation);
    void SetMirrored(bool on);
    bool IsMirrored() const { return mirrored_; }
    /// Shows and raises the window, kept above the frame.
    void UnHide();

    /// The window handed over with "UM_DVBAPP_HWND" (its top-level window),
    /// null before. The messages go to it, else to Frame()'s fallback.
    QWidget* HandedFrame() const { return handedFrame_; }
    void SetHandedFrame(QWidget* frame);
    /// Where the messages go now: the handed frame, else the application's
    /// first visible main window, else null.
    QWidget* Frame() const;

    /// Pictures painted that were not painted before (frames per second =
    /// its growth over time).
    std::uint64_t FramesShown() const { return framesShown_; }

  protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void Poll();
    void Watch();
    void Reopen();
    void Convert();
    void KeepAboveFrame();
    void PostToFrame(int index, qintptr wParam, qintptr lParam);

    const bool fullScreen_;
    const unsigned hwndMessage_, topMessage_, ctrlMessage_;
    std::string memoryName_;
    kestrel::protocol::PictureReader reader_;
    kestrel::protocol::PictureFrame latest_;
    std::uint32_t takenSequence_ = 0;  ///< of latest_; 0: nothing taken since (re)opening
    bool tookSinceWatch_ = false;
    bool havePicture_ = false;
    QImage picture_;
    std::uint64_t pictureId_ = 0, paintedId_ = 0, framesShown_ = 0;
    videodisplay::PictureAdjust adjust_;
    bool videoOn_ = false;
    bool mirrored_ = false;
    QPointer<QWidget> handedFrame_;
    QTimer poll_, watch_;
};
