#include "CSiTables.h"

#include "CSectionWriter.h"

namespace demomux {
namespace {

constexpr uint16_t kOrbitalPosition = 0x0192;  // 19.2 degrees, BCD
constexpr uint8_t kVersion = 1;

// The four bits before a service's or event's descriptor loop length.
uint8_t RunningAndCa(uint8_t runningStatus, bool scrambled) {
    return uint8_t(runningStatus << 1 | (scrambled ? 1 : 0));
}

void ShortEventDescriptor(CSectionWriter& w, const DemoEvent& e) {
    const auto name = CSiTables::Text(e.name);
    const auto text = CSiTables::Text(e.text);
    w.U8(0x4D);
    w.U8(uint8_t(3 + 1 + name.size() + 1 + text.size()));
    w.Text("deu");
    w.U8(uint8_t(name.size()));
    w.Bytes(name);
    w.U8(uint8_t(text.size()));
    w.Bytes(text);
}

}  // namespace

std::vector<uint8_t> CSiTables::Text(const std::string& latin1) {
    std::vector<uint8_t> out;
    bool wide = false;
    for (unsigned char c : latin1) wide |= c >= 0x80;
    if (wide) out = {0x10, 0x00, 0x01};
    out.insert(out.end(), latin1.begin(), latin1.end());
    if (out.size() > 240) out.resize(240);
    return out;
}

Section CSiTables::Pat(const DemoTransponder& tp) {
    CSectionWriter w(0x00, tp.tsid, kVersion, 0, 0);
    w.U16(0x0000);
    w.U16(0xE000 | 0x0010);  // network PID
    for (const auto& p : tp.programs) {
        w.U16(p.serviceId);
        w.U16(uint16_t(0xE000 | p.pmtPid));
    }
    return w.Finish();
}

Section CSiTables::Pmt(const DemoProgram& p) {
    CSectionWriter w(0x02, p.serviceId, kVersion, 0, 0);
    w.U16(uint16_t(0xE000 | p.pcrPid));
    w.U16(0xF000);  // no program descriptors
    for (const auto& s : p.streams) {
        w.U8(s.type);
        w.U16(uint16_t(0xE000 | s.pid));
        const size_t len = w.BeginLength();
        w.Bytes(s.descriptors);
        w.EndLength(len);
    }
    return w.Finish();
}

Section CSiTables::Sdt(const DemoTransponder& tp) {
    CSectionWriter w(0x42, tp.tsid, kVersion, 0, 0);
    w.U16(tp.onid);
    w.U8(0xFF);
    for (const auto& p : tp.programs) {
        w.U16(p.serviceId);
        w.U8(0xFC | 0x01);  // EIT present/following here, no schedule
        // running_status 4 (running), free_CA_mode, descriptors_loop_length
        const size_t len = w.BeginLength(RunningAndCa(4, p.Encrypted()));
        const auto provider = Text(p.provider);
        const auto name = Text(p.name);
        w.U8(0x48);
        w.U8(uint8_t(1 + 1 + provider.size() + 1 + name.size()));
        w.U8(p.ServiceType());
        w.U8(uint8_t(provider.size()));
        w.Bytes(provider);
        w.U8(uint8_t(name.size()));
        w.Bytes(name);
        w.EndLength(len);
    }
    return w.Finish();
}

Section CSiTables::Nit(const std::vector<DemoTransponder>& all, uint16_t networkId,
                       const std::string& networkName) {
    CSectionWriter w(0x40, networkId, kVersion, 0, 0);
    const size_t netLen = w.BeginLength();
    const auto name = Text(networkName);
    w.U8(0x40);
    w.U8(uint8_t(name.size()));
    w.Bytes(name);
    w.EndLength(netLen);
    const size_t loopLen = w.BeginLength();
    for (const auto& tp : all) {
        w.U16(tp.tsid);
        w.U16(tp.onid);
        const size_t dl = w.BeginLength();
        // satellite_delivery_system_descriptor: GHz with five decimals, BCD.
        w.U8(0x43);
        w.U8(11);
        w.Bcd(tp.frequencyKHz / 10, 8);
        w.U16(kOrbitalPosition);
        w.U8(uint8_t(0x80 | (tp.vertical ? 1 : 0) << 5 | 0x01));  // east, QPSK
        w.Bcd(tp.symbolRate / 100, 7);
        w.Bits(4, 0x3);  // FEC 3/4
        w.EndLength(dl);
    }
    w.EndLength(loopLen);
    return w.Finish();
}

Section CSiTables::EitPresentFollowing(const DemoTransponder& tp, const DemoProgram& p,
                                       uint8_t sectionNumber, const DemoEvent& e) {
    CSectionWriter w(0x4E, p.serviceId, kVersion, sectionNumber, 1);
    w.U16(tp.tsid);
    w.U16(tp.onid);
    w.U8(1);     // segment_last_section_number
    w.U8(0x4E);  // last_table_id
    w.U16(e.eventId);
    w.Utc(e.start);
    w.Duration(e.durationSeconds);
    // running status: 4 running for the present event, 1 not running for the next
    const size_t len = w.BeginLength(RunningAndCa(sectionNumber == 0 ? 4 : 1, p.Encrypted()));
    ShortEventDescriptor(w, e);
    w.EndLength(len);
    return w.Finish();
}

Section CSiTables::Tdt(std::time_t utc) {
    CSectionWriter w(0x70);
    w.Utc(utc);
    return w.Finish();
}

}  // namespace demomux
