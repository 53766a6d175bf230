#include "receiver/CTeletextFeed.h"

CTeletextFeed::CTeletextFeed(CTeletext& teletext, PageCallback callback)
    : teletext_(teletext), callback_(std::move(callback)) {}

CTeletextFeed::~CTeletextFeed() { Close(); }

namespace {
// The search table entry that asks for every page and subpage.
constexpr std::uint16_t kAnyPage = 0xFFFF;
constexpr TTX_REQUEST kRequest = static_cast<TTX_REQUEST>(1);
}  // namespace

bool CTeletextFeed::Open(std::uint16_t pid, SubscribeError& error) {
    const ErrReturn on = teletext_.TTXOn(pid);
    // RET_INVALID: this object's teletext is on already; its handle stays
    // valid and the pages keep coming on it.
    const bool alreadyOn =
        on == CCommonDVB::RET_INVALID && teletext_.GetFilterHandle() != CTeletext::kNoHandle;
    if (on != CCommonDVB::RET_OK && !alreadyOn) {
        error = {SubscribeError::CardRefused, static_cast<int>(on)};
        return false;
    }
    on_ = true;
    int socketError = 0;
    if (!SOpen(teletext_.GetFilterHandle(), &socketError)) {
        Close();  // never leave the acquisition running without its socket
        error = {SubscribeError::SocketFailed, socketError};
        return false;
    }
    teletext_.TTXModifySearchTable(kAnyPage, kAnyPage, kAnyPage, kRequest);
    error = {};
    return true;
}

void CTeletextFeed::Close() {
    SClose();
    if (on_) teletext_.TTXOff();
    on_ = false;
}

void CTeletextFeed::OnDataArrival(std::uint8_t* data, int length) {
    if (!on_ || !data || length <= 0) return;
    callback_(std::span<const std::uint8_t>(data, static_cast<std::size_t>(length)));
}
