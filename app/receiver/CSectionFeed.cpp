#include "receiver/CSectionFeed.h"

namespace {
// CTableFilter hands over every section on its own in this mode.
constexpr int kEverySection = 1;
// Filter type of plain section filters (5 is the card's other kind).
constexpr int kPlainFilter = 0;
constexpr std::uint32_t kSectionHeader = 3;  // table id and section_length
}  // namespace

CSectionFeed::CSectionFeed(SectionCallback callback)
    : callback_(std::move(callback)),
      table_(&CSectionFeed::OnSection, reinterpret_cast<char*>(this), 0) {}

CSectionFeed::~CSectionFeed() { Close(); }

bool CSectionFeed::Open(const SectionFilter& filter, SubscribeError& error) {
    int code = 0;
    const int rc =
        table_.OpenFilter(filter.pid, filter.tableId, filter.tableIdExtension.value_or(0),
                          filter.tableIdExtension ? 1 : 0, &code, kPlainFilter, kEverySection);
    if (rc == 0) {
        error = {};
        return true;
    }
    error = {rc == -1 ? SubscribeError::CardRefused : SubscribeError::SocketFailed, code};
    return false;
}

void CSectionFeed::Close() { table_.CloseFilter(); }

void CSectionFeed::OnSection(char* self, std::uint32_t) {
    reinterpret_cast<CSectionFeed*>(self)->Deliver();
}

void CSectionFeed::Deliver() {
    // The section as its own length field gives it (ISO/IEC 13818-1 2.4.4.11),
    // only when the datagram really holds that many bytes.
    const std::uint32_t length =
        kSectionHeader + static_cast<std::uint32_t>(table_.GetPayLoadLength(0));
    const std::uint8_t* first = table_.GetBytePointer(0, 0);
    if (!first || !table_.GetBytePointer(0, length - 1)) return;
    callback_(std::span<const std::uint8_t>(first, length));
}
