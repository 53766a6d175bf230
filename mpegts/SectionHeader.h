// The header of a PSI/SI section (ISO/IEC 13818-1, 2.4.4.10): table_id, the
// syntax and private indicators and section_length in the first three bytes,
// and in the long form table_id_extension, version, current_next and the
// section numbers in the next five.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace mpegts {

struct SectionHeader {
    static constexpr std::size_t kShortSize = 3;
    static constexpr std::size_t kLongSize = 8;
    static constexpr std::size_t kMaxSize = 4096 + 3;  // private sections; PSI stops at 1024

    struct LongForm {
        std::uint16_t tableIdExtension = 0;
        std::uint8_t version = 0;
        bool currentNext = false;
        std::uint8_t sectionNumber = 0;
        std::uint8_t lastSectionNumber = 0;
    };

    std::uint8_t tableId = 0;
    bool syntaxIndicator = false;
    bool privateIndicator = false;
    std::uint16_t sectionLength = 0;  // the bytes after the length field
    // Read from bytes 3-7 whenever the section has them, whatever the syntax
    // indicator says; callers that need the long form check syntaxIndicator.
    std::optional<LongForm> longForm;

    // The whole section's size as its header announces it.
    std::size_t TotalSize() const { return kShortSize + sectionLength; }
    // The same from the first three bytes alone, 0 when there are fewer (for
    // the assembler, which asks after every chunk of payload).
    static std::size_t AnnouncedSize(std::span<const std::uint8_t> start) {
        if (start.size() < kShortSize) return 0;
        return kShortSize + (std::size_t(start[1] & 0x0F) << 8 | start[2]);
    }

    // Nothing for fewer than three bytes.
    static std::optional<SectionHeader> Parse(std::span<const std::uint8_t> section);
};

}  // namespace mpegts
