#pragma once
// Hand-built PSI sections for the PSI decoder's tests, and a key writer that
// keeps what it is given in memory.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "PsiTables.h"
#include "mpegts/Crc32.h"

namespace kestrel::test {

using ByteVector = std::vector<std::uint8_t>;

/// A long-form section: header, body, CRC.
inline ByteVector LongSection(std::uint8_t tableId, std::uint16_t extension, const ByteVector& body,
                              int number = 0, int last = 0, int version = 1) {
    const std::size_t length = 5 + body.size() + 4;
    ByteVector s = {tableId,
                    static_cast<std::uint8_t>(0xB0 | (length >> 8)),
                    static_cast<std::uint8_t>(length),
                    static_cast<std::uint8_t>(extension >> 8),
                    static_cast<std::uint8_t>(extension),
                    static_cast<std::uint8_t>(0xC1 | version << 1),
                    static_cast<std::uint8_t>(number),
                    static_cast<std::uint8_t>(last)};
    s.insert(s.end(), body.begin(), body.end());
    const std::uint32_t crc = mpegts::Crc32Mpeg2(s);
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<std::uint8_t>(crc >> shift));
    return s;
}

inline void Put16(ByteVector& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v >> 8));
    b.push_back(static_cast<std::uint8_t>(v));
}

/// Association table: (program number, PID) pairs.
inline ByteVector Pat(std::uint16_t tsid,
                      const std::vector<std::pair<unsigned, unsigned>>& programs, int number = 0,
                      int last = 0) {
    ByteVector body;
    for (const auto& [program, pid] : programs) {
        Put16(body, program);
        Put16(body, 0xE000 | pid);
    }
    return LongSection(0x00, tsid, body, number, last);
}

struct StreamEntry {
    unsigned type, pid;
    ByteVector descriptors;
};

inline ByteVector Pmt(std::uint16_t program, unsigned pcr, const ByteVector& info,
                      const std::vector<StreamEntry>& streams) {
    ByteVector body;
    Put16(body, 0xE000 | pcr);
    Put16(body, 0xF000 | info.size());
    body.insert(body.end(), info.begin(), info.end());
    for (const auto& s : streams) {
        body.push_back(static_cast<std::uint8_t>(s.type));
        Put16(body, 0xE000 | s.pid);
        Put16(body, 0xF000 | s.descriptors.size());
        body.insert(body.end(), s.descriptors.begin(), s.descriptors.end());
    }
    return LongSection(0x02, program, body);
}

inline ByteVector Descriptor(std::uint8_t tag, const ByteVector& data) {
    ByteVector d = {tag, static_cast<std::uint8_t>(data.size())};
    d.insert(d.end(), data.begin(), data.end());
    return d;
}

inline ByteVector ServiceDescriptor(std::uint8_t type, const std::string& provider,
                                    const std::string& name) {
    ByteVector data = {type, static_cast<std::uint8_t>(provider.size())};
    data.insert(data.end(), provider.begin(), provider.end());
    data.push_back(static_cast<std::uint8_t>(name.size()));
    data.insert(data.end(), name.begin(), name.end());
    return Descriptor(0x48, data);
}

struct ServiceEntry {
    unsigned serviceId;
    bool schedule, presentFollowing;
    unsigned running;
    bool scrambled;
    ByteVector descriptors;
};

inline ByteVector Sdt(std::uint16_t tsid, std::uint16_t onid,
                      const std::vector<ServiceEntry>& services) {
    ByteVector body;
    Put16(body, onid);
    body.push_back(0xFF);
    for (const auto& s : services) {
        Put16(body, s.serviceId);
        body.push_back(static_cast<std::uint8_t>(0xFC | s.schedule << 1 | s.presentFollowing));
        Put16(body, s.running << 13 | unsigned(s.scrambled) << 12 | s.descriptors.size());
        body.insert(body.end(), s.descriptors.begin(), s.descriptors.end());
    }
    return LongSection(0x42, tsid, body);
}

/// Keeps every value by "key|name"; numbers and texts apart.
class MemoryWriter : public psi::IKeyWriter {
  public:
    void Dword(const std::string& key, const std::string& name, std::uint32_t value) override {
        dwords[key + "|" + name] = value;
    }
    void String(const std::string& key, const std::string& name,
                const std::string& value) override {
        strings[key + "|" + name] = value;
    }
    void Binary(const std::string& key, const std::string& name, psi::Bytes value) override {
        binaries[key + "|" + name] = ByteVector(value.begin(), value.end());
    }
    bool Has(const std::string& keyName) const {
        return dwords.count(keyName) || strings.count(keyName) || binaries.count(keyName);
    }
    std::map<std::string, std::uint32_t> dwords;
    std::map<std::string, std::string> strings;
    std::map<std::string, ByteVector> binaries;
};

}  // namespace kestrel::test
