#include "SvlTextDump.h"

#include <cstdio>
#include <map>
#include <sstream>

#include "channellist/Windows1252.h"

namespace {

std::string Hex(const ByteBlock& block) {
    std::string out;
    char buf[4];
    for (std::uint8_t b : block) {
        std::snprintf(buf, sizeof buf, "%02x", b);
        out += buf;
    }
    return out.empty() ? "-" : out;
}

std::string Polarisation(std::int32_t value) {
    if (value == 0) return "H";
    if (value == 1) return "V";
    return "QAM " + std::to_string(value);
}

void WriteProgram(std::ostringstream& out, std::size_t number, const CProgramInfo& p) {
    out << number << ". " << Windows1252ToUtf8(p.Name) << " [" << p.KindText() << "]\n"
        << "   Provider: " << Windows1252ToUtf8(p.Provider) << ", FrontendType " << p.FrontendType
        << ", LNB \"" << Windows1252ToUtf8(p.LnbName) << "\"\n"
        << "   " << p.Frequency << " kHz " << Polarisation(p.PolarisationOrQam) << ", "
        << p.SymbolRate << " sym/s, Programmtype 0x" << std::hex << p.ProgramType << std::dec
        << ", CI-Access " << p.CiAccess << "\n"
        << "   TSID " << p.TransportStreamId << ", NID " << p.NetworkId << ", ONID "
        << p.OriginalNetworkId << ", SID " << p.ServiceId << "\n"
        << "   PCR " << p.PcrPid << ", PMT " << p.PmtPid << ", V " << p.VideoPid << ", A "
        << p.AudioPid << ", TXT " << p.TeletextPid << "\n";
    for (const auto& s : p.Streams) {
        const std::string language = s.LanguageCode();
        out << "   Stream PID " << s.Pid << " " << s.StreamTypeText() << " ("
            << (language.empty() ? "keine Info" : Windows1252ToUtf8(language)) << "), Deskriptoren "
            << Hex(s.Descriptors) << "\n";
    }
    if (!p.ProgramData1.empty() || !p.ProgramData2.empty())
        out << "   Daten1 " << Hex(p.ProgramData1) << ", Daten2 " << Hex(p.ProgramData2) << "\n";
}

}  // namespace

std::string ListToText(const CSVLFile& list) {
    std::ostringstream out;
    out << "Reserved: " << list.Reserved << "\n"
        << "Anzahl Programme: " << list.Programs.size() << "\n";
    for (std::size_t i = 0; i < list.Programs.size(); ++i)
        WriteProgram(out, i + 1, *list.Programs[i]);
    out << "LNBs (Reihenfolge in der Datei): " << list.Lnbs.Size() << "\n";
    std::map<const CLnb*, int> ids;
    for (const auto* e : list.Lnbs.InHashOrder()) {
        out << "  \"" << Windows1252ToUtf8(e->key) << "\" -> ";
        if (!e->lnb) {
            out << "(kein Objekt)\n";
            continue;
        }
        auto [it, added] = ids.emplace(e->lnb.get(), static_cast<int>(ids.size()) + 1);
        const CLnb& l = *e->lnb;
        out << "#" << it->second;
        if (!added) {
            out << " (dasselbe Objekt)\n";
            continue;
        }
        out << " Typ " << l.LnbType << ", " << l.LowFrequency << "-" << l.HighFrequency
            << " kHz, Umschaltung " << l.SwitchFrequency << ", LOF " << l.LowBandLof << "/"
            << l.HighBandLof << ", C-Band " << l.CBand << ", Speisung " << l.PowerOn << ", 22 kHz "
            << l.Tone22kHz << ", DiSEqC " << l.DiseqcType << "/" << l.DiseqcParameter << "/"
            << l.DiseqcRepeat << "\n";
    }
    return out.str();
}
