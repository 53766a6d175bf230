// A transponder's stream file is outside bytes: packet alignment, PCRs,
// sections, teletext and the video sequence header are all read from it.
#include <cstdint>

#include "CSectionFilterBank.h"
#include "CTeletextDecoder.h"
#include "CTsFile.h"
#include "CVideoProbe.h"

namespace {
struct CheckingSink : nvdvbsrv::IDatagramSink {
    void Send(uint16_t port, std::span<const uint8_t> d) override {
        // A teletext page is always whole; a section is complete: its length
        // field matches.
        if (port == nvdvbsrv::CTeletextDecoder::kPort) {
            if (d.size() != nvdvbsrv::CTeletextDecoder::kPageSize) __builtin_trap();
            return;
        }
        if (d.size() < 3 || d.size() != 3 + (size_t(d[1] & 0x0F) << 8 | d[2])) __builtin_trap();
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = nvdvbsrv::CTsFile::FromBytes(std::span<const uint8_t>(data, size));
    CheckingSink sink;
    nvdvbsrv::CSectionFilterBank bank(sink);
    for (uint16_t pid = 0; pid < 4; ++pid) {
        nvdvbsrv::SectionFilterSetting s;
        s.pid = pid;
        bank.Add(1, uint16_t(pid + 1), s);  // length 0: every section
    }
    nvdvbsrv::CTeletextDecoder teletext(sink);
    teletext.SetPid(0);
    for (size_t i = 0; i < file.PacketCount(); ++i) {
        bank.FeedPacket(file.Packet(i));
        teletext.FeedPacket(file.Packet(i));
    }
    teletext.FeedPes(std::span<const uint8_t>(data, size));
    (void)nvdvbsrv::CVideoProbe::Probe(file, 0);
    return 0;
}
