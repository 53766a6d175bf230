#include "tv/CFakeVideoDisplay.h"

namespace {
std::string Line(const char* what, std::initializer_list<long long> values) {
    std::string line = what;
    for (long long v : values) line += ' ' + std::to_string(v);
    return line;
}
}  // namespace

void CFakeVideoDisplay::Open(const char* options) {
    log_.push_back(std::string("Open ") + options);
}
void CFakeVideoDisplay::Close() { log_.push_back("Close"); }
void CFakeVideoDisplay::EnableVideo(int on) { log_.push_back(Line("EnableVideo", {on})); }
void CFakeVideoDisplay::UnHide() { log_.push_back("UnHide"); }

void CFakeVideoDisplay::MoveTo(std::uint16_t x, std::uint16_t y, std::uint16_t width,
                               std::uint16_t height, int computed) {
    log_.push_back(Line("MoveTo", {x, y, width, height, computed}));
}

void CFakeVideoDisplay::SetBCS(std::uint8_t brightness, std::uint8_t contrast,
                               std::uint8_t saturation) {
    log_.push_back(Line("SetBCS", {brightness, contrast, saturation}));
}

unsigned CFakeVideoDisplay::GetMessageValue(int index) const {
    return index >= 0 && index < 6 ? messageValues[index] : 0;
}

unsigned CFakeVideoDisplay::RegisterMessage(const QString& name) {
    log_.push_back("Register " + name.toStdString());
    auto it = registered_.constFind(name);
    if (it != registered_.constEnd()) return *it;
    const unsigned number = 0xC000 + unsigned(registered_.size());
    registered_.insert(name, number);
    return number;
}

std::string CFakeVideoDisplay::NameOf(unsigned number) const {
    const QString name = registered_.key(number);
    return name.isEmpty() ? std::to_string(number) : name.toStdString();
}

bool CFakeVideoDisplay::SendToViewer(unsigned number, qintptr wParam, qintptr lParam) {
    if (!viewerExists) return false;
    log_.push_back(Line(("Send " + NameOf(number)).c_str(), {wParam, lParam}));
    return true;
}

void CFakeVideoDisplay::Broadcast(unsigned number, qintptr wParam, qintptr lParam) {
    log_.push_back(Line(("Broadcast " + NameOf(number)).c_str(), {wParam, lParam}));
}

void CFakeVideoDisplay::ActivateViewer() {
    if (viewerExists) log_.push_back("ActivateViewer");
}

std::optional<VideoWindowMessage> CFakeVideoDisplay::MessageOf(const QEvent& e) const {
    if (const auto* m = dynamic_cast<const Event*>(&e)) return m->message;
    return std::nullopt;
}
