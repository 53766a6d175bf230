#pragma once
// An IVideoDisplay without a window, for tests: every call is one line of a
// log ("Open -fbrd", "MoveTo 8 8 184 0 0", "Send UM_DVBAPP_HWND 0 1234",
// "Broadcast UM_DVBAPP_CTRLVIDEO 0 4"); registered messages are named by
// their name in the log. Note() lets a test put its own lines (pauses, the
// windows around) into the same log.
#include <QHash>
#include <string>
#include <vector>

#include "tv/IVideoDisplay.h"

class CFakeVideoDisplay : public IVideoDisplay {
  public:
    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    void Note(const std::string& line) { log_.push_back(line); }
    /// Whether the window "DVB - Viewer" exists (it does by default).
    bool viewerExists = true;
    /// What GetMessageValue answers for index 0 to 5.
    unsigned messageValues[6] = {0x4000, 0x4001, 0x4002, 0x4003, 0x4004, 0x4005};

    void Open(const char* options) override;
    void Close() override;
    void EnableVideo(int on) override;
    void UnHide() override;
    void MoveTo(std::uint16_t x, std::uint16_t y, std::uint16_t width, std::uint16_t height,
                int computed) override;
    void SetBCS(std::uint8_t brightness, std::uint8_t contrast, std::uint8_t saturation) override;
    unsigned GetMessageValue(int index) const override;
    unsigned RegisterMessage(const QString& name) override;
    bool ViewerExists() const override { return viewerExists; }
    bool SendToViewer(unsigned number, qintptr wParam, qintptr lParam) override;
    void Broadcast(unsigned number, qintptr wParam, qintptr lParam) override;
    void ActivateViewer() override;
    std::optional<VideoWindowMessage> MessageOf(const QEvent& e) const override;

    /// A message as the video window would post it.
    class Event : public QEvent {
      public:
        explicit Event(VideoWindowMessage m) : QEvent(QEvent::Type(m.number)), message(m) {}
        VideoWindowMessage message;
    };

  private:
    std::string NameOf(unsigned number) const;
    std::vector<std::string> log_;
    QHash<QString, unsigned> registered_;
};
