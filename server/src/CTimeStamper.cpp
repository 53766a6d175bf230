#include "CTimeStamper.h"

namespace nvdvbsrv {
namespace {

uint8_t Bcd(unsigned v) { return uint8_t((v / 10) << 4 | (v % 10)); }

}  // namespace

uint32_t CTimeStamper::Crc32(std::span<const uint8_t> data) {
    uint32_t crc = 0xFFFFFFFF;
    for (uint8_t byte : data) {
        crc ^= uint32_t(byte) << 24;
        for (int b = 0; b < 8; ++b) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

bool CTimeStamper::Stamp(std::span<uint8_t> s, std::time_t utc) {
    if (s.size() < 8) return false;
    const size_t length = 3 + (size_t(s[1] & 0x0F) << 8 | s[2]);
    if (length != s.size()) return false;
    const bool tdt = s[0] == 0x70 && s.size() == 8;
    const bool tot = s[0] == 0x73 && s.size() >= 14;
    if (!tdt && !tot) return false;
    const int64_t t = int64_t(utc);
    const int64_t days = t / 86400;
    const unsigned secs = unsigned(t % 86400);
    const uint32_t mjd = uint32_t(days + 40587);  // 1970-01-01 is MJD 40587
    s[3] = uint8_t(mjd >> 8);
    s[4] = uint8_t(mjd);
    s[5] = Bcd(secs / 3600);
    s[6] = Bcd(secs / 60 % 60);
    s[7] = Bcd(secs % 60);
    if (tot) {
        const uint32_t crc = Crc32(s.first(s.size() - 4));
        for (int k = 0; k < 4; ++k) s[s.size() - 4 + k] = uint8_t(crc >> (24 - 8 * k));
    }
    return true;
}

}  // namespace nvdvbsrv
