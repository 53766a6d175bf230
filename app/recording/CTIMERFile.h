#pragma once
// The timer list and its file "Timer.dat": an identifier word 0x80037890, the
// number of entries and the entries in list order, each field in the archive
// encoding (integers little-endian 32-bit, strings length-prefixed in
// Windows-1252, no class tags). An entry holds a full copy of its program, so
// that a timer records what was chosen even when the channel list changes.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "channellist/CProgramInfo.h"
#include "recording/LocalDateTime.h"

/// What the timer dialog sets of an entry.
struct TimerSettings {
    QDateTime start, end;  ///< local
    std::string fileName;  ///< UTF-8
    std::int32_t formatIndex = 3;
    std::uint32_t flags = 0;

    bool operator==(const TimerSettings&) const = default;
};

class CTimerEntry final : public CSerializable {
  public:
    enum Status : std::uint32_t { Armed = 1, Recording = 2, Finished = 4 };
    /// Flag bits: power off after the recording, weekly program, then the
    /// weekdays Saturday (bit 2) to Friday (bit 8).
    static constexpr std::uint32_t kPowerOff = 1u << 0;
    static constexpr std::uint32_t kWeekly = 1u << 1;
    static constexpr int kFirstDayBit = 2;
    static constexpr std::uint32_t kAllDays = 0x7Fu << kFirstDayBit;

    CProgramInfo program;
    ArchiveDateTime start, end;
    std::uint32_t status = Armed;
    std::string fileName;          ///< UTF-8 here, Windows-1252 in the file
    std::int32_t formatIndex = 3;  ///< 0 AudioPES, 1 AudioMp2, 2 VideoPES, 3 AV_PES
    std::uint32_t flags = 0;
    std::uint32_t reserved1 = 0, reserved2 = 0;  ///< written 0, ignored on reading

    const char* ClassName() const override { return "CTimerEntry"; }
    void Load(CArchiveReader& in) override;
    void Store(CArchiveWriter& out) const override;
    /// The bytes of the smallest entry (empty strings, no streams).
    static std::size_t MinStoredBytes();
    /// Makes the class known to the archive readers by its name.
    static void RegisterClass();

    bool Weekly() const { return (flags & kWeekly) != 0; }
    bool PowerOff() const { return (flags & kPowerOff) != 0; }
    QDateTime Start() const { return LocalDateTime::ToLocal(start); }
    QDateTime End() const { return LocalDateTime::ToLocal(end); }
    /// The program's name as text (the record holds Windows-1252).
    QString ProgramName() const;

    TimerSettings Settings() const;
    /// Takes start, end, file name, format and flags.
    void Apply(const TimerSettings& settings);

    /// The flag bit of a weekday (Qt's numbering, Monday 1 .. Sunday 7).
    static std::uint32_t DayBit(int qtDayOfWeek);
    /// The VCR's RecordFormat of a format index (0 for an unknown index).
    static int VcrFormatOfIndex(std::int32_t index);
    /// The format index of a quick recording's VCR format (A/V PES for others).
    static std::int32_t IndexOfVcrFormat(int vcrFormat);

    bool operator==(const CTimerEntry&) const = default;
};

class CTIMERFile {
  public:
    static constexpr std::uint32_t kIdentifier = 0x80037890;

    std::vector<CTimerEntry> entries;

    /// Reads a whole file's bytes. False, with an empty list, when the
    /// identifier differs or the entries do not read (Valid() tells which).
    bool Load(std::span<const std::uint8_t> bytes);
    /// The identifier of the last load matched.
    bool Valid() const { return valid_; }
    std::vector<std::uint8_t> Store() const;

    /// The file of an empty list, as the program creates it.
    static std::vector<std::uint8_t> EmptyFile();

  private:
    bool valid_ = false;
};
