#pragma once
// IVideoDisplay on the video window library: the process-wide CVideoDisplay
// object and its registered messages (videodisplay/VideoMessages.h).
#include <memory>

#include "tv/IVideoDisplay.h"

class CVideoDisplay;

class CVideoDisplayAdapter : public IVideoDisplay {
  public:
    CVideoDisplayAdapter();
    ~CVideoDisplayAdapter() override;

    void Open(const char* options) override;
    void Close() override;
    void EnableVideo(int on) override;
    void UnHide() override;
    void MoveTo(std::uint16_t x, std::uint16_t y, std::uint16_t width, std::uint16_t height,
                int computed) override;
    void SetBCS(std::uint8_t brightness, std::uint8_t contrast, std::uint8_t saturation) override;
    unsigned GetMessageValue(int index) const override;
    unsigned RegisterMessage(const QString& name) override;
    bool ViewerExists() const override;
    bool SendToViewer(unsigned number, qintptr wParam, qintptr lParam) override;
    void Broadcast(unsigned number, qintptr wParam, qintptr lParam) override;
    void ActivateViewer() override;
    std::optional<VideoWindowMessage> MessageOf(const QEvent& e) const override;

  private:
    std::unique_ptr<CVideoDisplay> display_;
};
