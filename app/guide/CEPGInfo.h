#pragma once
// One event of the programme guide's schedule, with the program it belongs
// to. Texts are UTF-8 in memory; the stored form holds Windows-1252 bytes as
// every record of the program's files does.
#include <cstdint>
#include <string>

#include "channellist/ArchiveDateTime.h"
#include "channellist/CProgramInfo.h"
#include "channellist/CSerializable.h"

class CEPGInfo final : public CSerializable {
  public:
    CProgramInfo Program;     ///< stored inline, without an object tag
    std::string ServiceName;  ///< "Sendername"
    std::string EventName;
    std::string Description;                 ///< the extended text
    std::string ShortText;                   ///< "Art"
    std::uint8_t ContentLow = 0;             ///< low nibble of the first content byte
    std::uint8_t ContentHigh = 0;            ///< its high nibble: the category
    ArchiveDateTime Start = DefaultStart();  ///< local
    ArchiveDateTime Duration = {ArchiveDateTime::Valid, 0};  ///< in days
    std::uint8_t ParentalRating = 0;                         ///< 0 none, else the age minus 3
    std::uint32_t HeaderBit3 = 0;  ///< bit 3 of byte 10 of the event header
    std::uint8_t HeaderLow3 = 0;   ///< its bits 0 to 2

    const char* ClassName() const override { return "CEPGInfo"; }
    void Load(CArchiveReader& in) override;
    void Store(CArchiveWriter& out) const override;

    /// Whole minutes of the duration, as the lists show them.
    int DurationMinutes() const;

    /// 1 January 2000 00:00:00, the start of a record nothing was read into.
    static ArchiveDateTime DefaultStart();

    bool operator==(const CEPGInfo&) const = default;
};
