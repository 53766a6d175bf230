#pragma once
// A date-time as the timer, playlist and guide records store it: a signed
// 32-bit status (0 valid, 1 invalid, 2 null) and a little-endian IEEE double
// of days since 1899-12-30 00:00, the time of day as the fraction. The time
// is local; this record knows no time zone.
#include <cstdint>
#include <optional>

class CArchiveReader;
class CArchiveWriter;

/// A calendar date and time of day, to the millisecond.
struct CivilDateTime {
    int year = 1899;
    int month = 12;  ///< 1-12
    int day = 30;    ///< 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    bool operator==(const CivilDateTime&) const = default;
};

struct ArchiveDateTime {
    enum Status : std::int32_t { Valid = 0, Invalid = 1, Null = 2 };
    std::int32_t status = Null;
    double days = 0;

    bool operator==(const ArchiveDateTime&) const = default;

    static ArchiveDateTime Read(CArchiveReader& in);
    void Write(CArchiveWriter& out) const;

    /// Whole days by the calendar, the time of day as the fraction. Before
    /// the epoch the fraction counts forward from the day's start too, as in
    /// the stored form: -1.25 is 1899-12-29 06:00.
    static ArchiveDateTime FromCivil(const CivilDateTime& time);
    /// Nothing unless the status is Valid and the days are a finite time
    /// within about ten thousand years.
    std::optional<CivilDateTime> ToCivil() const;
    /// Whole days since 1899-12-30 of a calendar date (negative before it).
    static std::int64_t DayNumber(int year, int month, int day);
};
