#pragma once
// A date-time as the timer and playlist files store it: a signed 32-bit
// status (0 valid, 1 invalid, 2 null) and a little-endian IEEE double of days
// since 1899-12-30 00:00, the time of day as the fraction. Local time.
#include <QDateTime>
#include <cstdint>

class CArchiveReader;
class CArchiveWriter;

struct ArchiveDateTime {
    enum Status : std::int32_t { Valid = 0, Invalid = 1, Null = 2 };
    std::int32_t status = Null;
    double days = 0;

    bool operator==(const ArchiveDateTime&) const = default;

    static ArchiveDateTime Read(CArchiveReader& in);
    void Write(CArchiveWriter& out) const;

    /// Local time to the millisecond; an invalid QDateTime gives Null.
    static ArchiveDateTime FromLocal(const QDateTime& time);
    /// Invalid unless the status is Valid and the days are a finite time.
    QDateTime ToLocal() const;
};
