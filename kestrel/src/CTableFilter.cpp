#include "kestrel/CTableFilter.h"

#include <span>

#include "mpegts/SectionHeader.h"

namespace {
// Collection reads the header up to last_section_number (8 bytes); a single
// section (mode 1) only needs table id and length.
constexpr int kMinLongSection = static_cast<int>(mpegts::SectionHeader::kLongSize);
constexpr int kMinShortSection = static_cast<int>(mpegts::SectionHeader::kShortSize);
}  // namespace

CTableFilter::CTableFilter() : CTableFilter(nullptr, nullptr, 0) {}

CTableFilter::CTableFilter(Callback callback, char* data, std::uint32_t value)
    : callback_(callback), callbackData_(data), callbackValue_(value) {
    ClearStore();
}

CTableFilter::~CTableFilter() {
    CloseFilter();
    ClearStore();
}

void CTableFilter::SetCallback(Callback callback, char* data, std::uint32_t value) {
    callback_ = callback;
    callbackData_ = data;
    callbackValue_ = value;
}

void CTableFilter::ClearStore() {
    for (auto& s : sections_) s.clear();
    lastSection_ = -1;
    state_ = 0;
}

int CTableFilter::OpenFilter(std::uint16_t pid, std::uint8_t tableId,
                             std::uint16_t tableIdExtension, int useExtension, int* error,
                             int type5, int mode) {
    mode_ = mode;
    const std::uint16_t type = type5 ? 5 : 4;
    CloseFilter();
    ClearStore();
    version_ = kNoVersion;
    pid_ = pid;
    tableId_ = tableId;
    ++generation_;
    const std::uint8_t filter[8] = {tableId,
                                    0,
                                    0,
                                    static_cast<std::uint8_t>(tableIdExtension >> 8),
                                    static_cast<std::uint8_t>(tableIdExtension),
                                    0,
                                    0,
                                    0};
    std::uint8_t mask[8] = {0xFF, 0, 0, 0, 0, 0, 0, 0};
    std::uint8_t length = 1;
    if (useExtension) {
        mask[3] = mask[4] = 0xFF;
        length = 8;
    }
    const ErrReturn r = Filter().SetBitFilter(pid, filter, mask, length, type);
    if (error) *error = r;
    if (r != CCommonDVB::RET_OK) return -1;
    int socketError = 0;
    if (SOpen(Filter().GetFilterHandle(), &socketError)) {
        if (error) *error = 0;
        lastArrival_ = Clock::now();
        opened_ = true;
        return 0;
    }
    Filter().ShutDownFilter();  // never leave a filter without its socket
    if (error) *error = socketError;
    return -2;
}

int CTableFilter::CloseFilter() {
    if (!opened_) return 0;
    SClose();
    const ErrReturn r = Filter().ShutDownFilter();
    opened_ = false;
    ++generation_;
    return r == CCommonDVB::RET_OK ? 0 : -1;
}

std::uint32_t CTableFilter::GetTimeElapsed() const {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastArrival_).count());
}

std::uint32_t CTableFilter::GetValue(int section, std::uint32_t bitOffset,
                                     std::uint32_t count) const {
    if (section < 0 || section > 255 || count > 32) return 0;
    const auto& s = sections_[static_cast<std::size_t>(section)];
    std::uint32_t v = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t bit = bitOffset + i;
        const std::uint32_t byte = bit / 8;
        const unsigned b = byte < s.size() ? (s[byte] >> (7 - bit % 8)) & 1u : 0u;
        v = (v << 1) | b;
    }
    return v & 0xFFFFFFFFul;
}

std::uint8_t* CTableFilter::GetBytePointer(int section, std::uint32_t byteOffset) {
    if (section < 0 || section > 255) return nullptr;
    auto& s = sections_[static_cast<std::size_t>(section)];
    return byteOffset < s.size() ? s.data() + byteOffset : nullptr;
}

std::span<const std::uint8_t> CTableFilter::GetSection(int section) const {
    if (section < 0 || section > 255) return {};
    return sections_[static_cast<std::size_t>(section)];
}

int CTableFilter::GetPayLoadLength(int section) const {
    if (section < 0 || section > 255) return 0;
    const auto header = mpegts::SectionHeader::Parse(sections_[static_cast<std::size_t>(section)]);
    return header ? header->sectionLength : 0;
}

bool CTableFilter::Complete() const {
    if (lastSection_ < 0) return false;
    for (int i = 0; i <= lastSection_; ++i)
        if (sections_[static_cast<std::size_t>(i)].empty()) return false;
    return true;
}

void CTableFilter::Notify() {
    if (callback_) callback_(callbackData_, callbackValue_);
}

void CTableFilter::OnDataArrival(std::uint8_t* data, int length) {
    lastArrival_ = Clock::now();
    if (!data || length < (mode_ == 1 ? kMinShortSection : kMinLongSection)) return;
    const auto header = mpegts::SectionHeader::Parse(
        std::span<const std::uint8_t>(data, static_cast<std::size_t>(length)));
    if (!header) return;
    // The long form is there whenever a mode collects tables (eight bytes).
    const auto& form = header->longForm;
    if (mode_ == 0 && !form->currentNext) return;
    const unsigned gen = generation_;
    if (state_ == 2) {
        Notify();
        if (gen != generation_) return;  // the callback closed or reopened the filter
        if (form && form->version == version_) return;
        ClearStore();
    }
    if (state_ == 0) {
        if (mode_ == 1) {
            sections_[0].assign(data, data + length);
            lastSection_ = 0;
            state_ = 2;
            Notify();
            if (gen == generation_) ClearStore();
            return;
        }
        version_ = form->version;
        state_ = 1;
    }
    if (mode_ == 1) return;
    if (form->version != version_) {
        ClearStore();
        version_ = form->version;
    }
    lastSection_ = form->lastSectionNumber;
    sections_[form->sectionNumber].assign(data, data + length);
    if (Complete()) {
        state_ = 2;
        Notify();
    } else {
        state_ = 1;
    }
}
