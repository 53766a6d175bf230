#pragma once
// The video window library as the program uses it: the seven operations of
// the library object, and the registered messages exchanged with its window
// "DVB - Viewer". The shell adapts the real library; tests use
// CFakeVideoDisplay, which records every call.
#include <QEvent>
#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <optional>

namespace VideoNames {
inline const QString Hwnd = QStringLiteral("UM_DVBAPP_HWND");
inline const QString Top = QStringLiteral("UM_DVBAPP_TOP");
inline const QString CtrlVideo = QStringLiteral("UM_DVBAPP_CTRLVIDEO");
inline constexpr int CtrlMirror = 4, CtrlNormal = 8;
/// Options of Open: the video over a window of the program, or full screen.
inline constexpr const char* OverWindow = "-fbrd";
inline constexpr const char* FullScreen = "-nore";
}  // namespace VideoNames

/// A message the video window posted to the frame, with its two parameters.
struct VideoWindowMessage {
    unsigned number = 0;
    qintptr wParam = 0;
    qintptr lParam = 0;
};

class IVideoDisplay {
  public:
    virtual ~IVideoDisplay() = default;

    // The library object.
    virtual void Open(const char* options) = 0;
    virtual void Close() = 0;
    virtual void EnableVideo(int on) = 0;
    virtual void UnHide() = 0;
    /// Screen pixels; `computed` 1 for a 4:3 rectangle, 0 for a provisional one.
    virtual void MoveTo(std::uint16_t x, std::uint16_t y, std::uint16_t width, std::uint16_t height,
                        int computed) = 0;
    virtual void SetBCS(std::uint8_t brightness, std::uint8_t contrast,
                        std::uint8_t saturation) = 0;
    /// The number of message `index` (0 to 5) that the window posts to the frame.
    virtual unsigned GetMessageValue(int index) const = 0;

    // Registered messages and the window "DVB - Viewer".
    virtual unsigned RegisterMessage(const QString& name) = 0;
    /// True while a window titled "DVB - Viewer" exists.
    virtual bool ViewerExists() const = 0;
    /// Delivers a message to the window "DVB - Viewer" at once; false without it.
    virtual bool SendToViewer(unsigned number, qintptr wParam, qintptr lParam) = 0;
    /// Sends a message to every top-level window.
    virtual void Broadcast(unsigned number, qintptr wParam, qintptr lParam) = 0;
    /// Brings the window "DVB - Viewer" to the top and activates it.
    virtual void ActivateViewer() = 0;
    /// The message, when `e` is one the video window posted.
    virtual std::optional<VideoWindowMessage> MessageOf(const QEvent& e) const = 0;
};
