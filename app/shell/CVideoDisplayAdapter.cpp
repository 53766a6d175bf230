#include "shell/CVideoDisplayAdapter.h"

#include <QWidget>

#include "videodisplay/CVideoDisplay.h"
#include "videodisplay/VideoMessages.h"

CVideoDisplayAdapter::CVideoDisplayAdapter() : display_(std::make_unique<CVideoDisplay>()) {}
CVideoDisplayAdapter::~CVideoDisplayAdapter() = default;

void CVideoDisplayAdapter::Open(const char* options) { display_->Open(options); }
void CVideoDisplayAdapter::Close() { display_->Close(); }
void CVideoDisplayAdapter::EnableVideo(int on) { display_->EnableVideo(on); }
void CVideoDisplayAdapter::UnHide() { display_->UnHide(); }

void CVideoDisplayAdapter::MoveTo(std::uint16_t x, std::uint16_t y, std::uint16_t width,
                                  std::uint16_t height, int computed) {
    display_->MoveTo(x, y, width, height, computed);
}

void CVideoDisplayAdapter::SetBCS(std::uint8_t brightness, std::uint8_t contrast,
                                  std::uint8_t saturation) {
    display_->SetBCS(brightness, contrast, saturation);
}

unsigned CVideoDisplayAdapter::GetMessageValue(int index) const {
    return display_->GetMessageValue(index);
}

unsigned CVideoDisplayAdapter::RegisterMessage(const QString& name) {
    return VideoMessages::Register(name);
}

bool CVideoDisplayAdapter::ViewerExists() const {
    return VideoMessages::FindWindow(VideoMessages::WindowTitle) != nullptr;
}

bool CVideoDisplayAdapter::SendToViewer(unsigned number, qintptr wParam, qintptr lParam) {
    return VideoMessages::Send(VideoMessages::FindWindow(VideoMessages::WindowTitle), number,
                               wParam, lParam);
}

void CVideoDisplayAdapter::Broadcast(unsigned number, qintptr wParam, qintptr lParam) {
    VideoMessages::Broadcast(number, wParam, lParam);
}

void CVideoDisplayAdapter::ActivateViewer() {
    if (QWidget* viewer = VideoMessages::FindWindow(VideoMessages::WindowTitle)) {
        viewer->raise();
        viewer->activateWindow();
    }
}

std::optional<VideoWindowMessage> CVideoDisplayAdapter::MessageOf(const QEvent& e) const {
    if (const auto* m = dynamic_cast<const VideoMessages::Event*>(&e))
        return VideoWindowMessage{m->number(), m->wParam(), m->lParam()};
    return std::nullopt;
}
