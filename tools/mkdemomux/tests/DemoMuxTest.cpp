#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "CDemoGuide.h"
#include "CDemoList.h"
#include "CMuxBuilder.h"
#include "CSectionFilterBank.h"
#include "CSectionWriter.h"
#include "CSiTables.h"
#include "CTeletextDecoder.h"
#include "CTeletextWriter.h"
#include "CTsFile.h"
#include "EitReader.h"
#include "mpegts/Crc32.h"

using namespace demomux;

namespace {

const char* kList = R"({"Programs": [
 {"Name": "Das Erste", "Provider": "ARD", "Frequency": 11836000, "PolarisationOrQam": 0,
  "SymbolRate": 27500000, "ProgramType": 1, "TransportStreamId": 1101, "NetworkId": 1,
  "OriginalNetworkId": 1, "ServiceId": 28106, "PcrPid": 101, "PmtPid": 100, "VideoPid": 101,
  "AudioPid": 102, "Streams": [{"StreamType": 2, "Pid": 101, "Descriptors": "520101"},
                               {"StreamType": 3, "Pid": 102, "Descriptors": "5201020a0464657500"}]},
 {"Name": "Bayerisches FS S\u00fcd", "Provider": "ARD", "Frequency": 11836000,
  "PolarisationOrQam": 0, "SymbolRate": 27500000, "ProgramType": 65537,
  "TransportStreamId": 1101, "NetworkId": 1, "OriginalNetworkId": 1, "ServiceId": 28107,
  "PcrPid": 201, "PmtPid": 200, "VideoPid": 201, "AudioPid": 202,
  "Streams": [{"StreamType": 2, "Pid": 201, "Descriptors": ""}]},
 {"Name": "Bayern 1", "Provider": "ARD", "Frequency": 12266000, "PolarisationOrQam": 1,
  "SymbolRate": 27500000, "ProgramType": 2, "TransportStreamId": 1093, "NetworkId": 1,
  "OriginalNetworkId": 1, "ServiceId": 28400, "PcrPid": 2101, "PmtPid": 2100, "VideoPid": 0,
  "AudioPid": 2101, "Streams": [{"StreamType": 3, "Pid": 2101, "Descriptors": ""}]}
]})";

CDemoList List() {
    std::string err;
    auto l = CDemoList::Parse(kList, err);
    EXPECT_TRUE(l) << err;
    return *l;
}

struct Recorder : nvdvbsrv::IDatagramSink {
    std::map<uint16_t, std::vector<std::vector<uint8_t>>> got;
    void Send(uint16_t port, std::span<const uint8_t> d) override {
        got[port].emplace_back(d.begin(), d.end());
    }
};

// A sample of one PID with a PCR in every tenth packet, 25 packets per 100 ms.
Sample SyntheticSample(uint16_t video, uint16_t audio, size_t count) {
    Sample s;
    s.videoPid = video;
    s.audioPid = audio;
    for (size_t i = 0; i < count; ++i) {
        Packet p;
        p.fill(0xAB);
        p[0] = 0x47;
        const uint16_t pid = (video && i % 2 == 0) ? video : audio;
        p[1] = uint8_t(pid >> 8);
        p[2] = uint8_t(pid);
        p[3] = 0x10;
        if (i % 10 == 0) {
            const uint64_t base = i * 3600 / 25;  // 27 MHz / 300 per 1/25 s of 100 ms
            p[3] = 0x30;
            p[4] = 7;
            p[5] = 0x10;
            p[6] = uint8_t(base >> 25);
            p[7] = uint8_t(base >> 17);
            p[8] = uint8_t(base >> 9);
            p[9] = uint8_t(base >> 1);
            p[10] = uint8_t((base & 1) << 7 | 0x7E);
            p[11] = 0;
        }
        s.packets.push_back(p);
    }
    return s;
}

constexpr std::time_t kBuilt = 750516300;     // 1993-10-13 12:45:00 UTC
constexpr std::time_t kBuildDay = 750470400;  // 1993-10-13 00:00:00 UTC
constexpr std::time_t kEightDays = 8 * 86400;

std::vector<eitreader::Eit> ParseAll(const std::vector<Section>& sections) {
    std::vector<eitreader::Eit> out;
    for (const auto& s : sections) {
        auto eit = eitreader::Parse(s);
        EXPECT_TRUE(eit) << "section " << out.size() << " does not parse";
        if (eit) out.push_back(*eit);
    }
    return out;
}

std::vector<eitreader::Event> EventsOf(const std::vector<eitreader::Eit>& sections) {
    std::vector<eitreader::Event> out;
    for (const auto& s : sections) out.insert(out.end(), s.events.begin(), s.events.end());
    return out;
}

}  // namespace

TEST(SectionWriterTest, OverflowYieldsNothing) {
    CSectionWriter w(0x42, 1, 0, 0, 0);
    for (int i = 0; i < 300; ++i) w.U32(0);
    EXPECT_FALSE(w.Ok());
    EXPECT_TRUE(w.Finish().empty());
}

TEST(SiTablesTest, PatListsTheNetworkAndEveryProgram) {
    const auto l = List();
    const Section pat = CSiTables::Pat(l.transponders[0]);
    const std::vector<uint8_t> expectedHead = {0x00, 0xB0, 0x15, 0x04, 0x4D, 0xC3, 0x00,
                                               0x00, 0x00, 0x00, 0xE0, 0x10, 0x6D, 0xCA,
                                               0xE0, 0x64, 0x6D, 0xCB, 0xE0, 0xC8};
    ASSERT_EQ(pat.size(), expectedHead.size() + 4);
    EXPECT_TRUE(std::equal(expectedHead.begin(), expectedHead.end(), pat.begin()));
    EXPECT_TRUE(mpegts::SectionCrcValid(pat));
}

TEST(SiTablesTest, SdtCarriesNamesTypesAndScrambling) {
    const auto l = List();
    const Section sdt = CSiTables::Sdt(l.transponders[0]);
    ASSERT_FALSE(sdt.empty());
    EXPECT_TRUE(mpegts::SectionCrcValid(sdt));
    // Walk the service loop as a receiver would.
    size_t i = 11;
    std::vector<std::string> names;
    std::vector<bool> scrambled;
    while (i + 5 <= sdt.size() - 4) {
        const size_t len = size_t(sdt[i + 3] & 0x0F) << 8 | sdt[i + 4];
        EXPECT_EQ(sdt[i + 3] >> 5, 4);       // running
        EXPECT_EQ(sdt[i + 2] & 0x03, 0x03);  // EIT schedule and present/following here
        scrambled.push_back(sdt[i + 3] & 0x10);
        const uint8_t* d = &sdt[i + 5];
        ASSERT_EQ(d[0], 0x48);
        const uint8_t provLen = d[3];
        const uint8_t nameLen = d[4 + provLen];
        names.emplace_back(reinterpret_cast<const char*>(d + 5 + provLen), nameLen);
        i += 5 + len;
    }
    EXPECT_EQ(i, sdt.size() - 4);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "Das Erste");
    EXPECT_EQ(names[1], std::string("\x10\x00\x01"
                                    "Bayerisches FS S\xFC"
                                    "d",
                                    21));
    EXPECT_EQ(scrambled, (std::vector<bool>{false, true}));
}

TEST(SiTablesTest, TimesAndDeliveryDataAreBcd) {
    // 1993-10-13 12:45:00 UTC is MJD 0xC079 with 12:45:00.
    EXPECT_EQ(CSiTables::Tdt(750516300), (Section{0x70, 0x70, 0x05, 0xC0, 0x79, 0x12, 0x45, 0x00}));
    const auto l = List();
    const Section nit = CSiTables::Nit(l.transponders, 1, "ASTRA");
    EXPECT_TRUE(mpegts::SectionCrcValid(nit));
    // First transport stream: descriptor after tsid, onid, length.
    const size_t netLen = size_t(nit[8] & 0x0F) << 8 | nit[9];
    const size_t ts = 10 + netLen + 2;
    const uint8_t* d = &nit[ts + 6];
    ASSERT_EQ(d[0], 0x43);
    EXPECT_EQ(std::vector<uint8_t>(d + 2, d + 6), (std::vector<uint8_t>{0x01, 0x18, 0x36, 0x00}));
    EXPECT_EQ(std::vector<uint8_t>(d + 9, d + 13), (std::vector<uint8_t>{0x02, 0x75, 0x00, 0x03}));
    EXPECT_EQ(d[8] & 0x60, 0x00);  // horizontal
}

TEST(DemoListTest, GroupsProgramsByTransponderAndRejectsBadEntries) {
    const auto l = List();
    ASSERT_EQ(l.transponders.size(), 2u);
    EXPECT_EQ(l.transponders[0].programs.size(), 2u);
    EXPECT_EQ(l.transponders[1].FileName(), "12266V.ts");
    EXPECT_EQ(l.transponders[1].programs[0].ServiceType(), 2);
    std::string err;
    EXPECT_FALSE(
        CDemoList::Parse("{\"Programs\": [{\"Name\": \"x\", \"ServiceId\": 1, "
                         "\"PmtPid\": 9000}]}",
                         err));
    EXPECT_FALSE(CDemoList::Parse("not json", err));
}

TEST(MuxBuilderTest, TheCardFindsEveryTableAndProgramInTheBuiltStream) {
    const auto l = List();
    const Sample tv = SyntheticSample(0x100, 0x101, 400);
    const Sample radio = SyntheticSample(0, 0x100, 100);
    CMuxBuilder b(tv, radio, 4, kBuilt);
    const auto packets = b.Build(l.transponders[0], l.transponders);
    std::vector<uint8_t> bytes;
    for (const auto& p : packets) bytes.insert(bytes.end(), p.begin(), p.end());

    // The card's own demultiplexer reads the tables back.
    Recorder rec;
    nvdvbsrv::CSectionFilterBank bank(rec);
    auto setting = [](uint16_t pid, uint8_t table) {
        nvdvbsrv::SectionFilterSetting s;
        s.pid = pid;
        s.length = 1;
        s.filter[0] = table;
        s.mask[0] = 0xFF;
        return s;
    };
    ASSERT_TRUE(bank.Add(1, 1, setting(0, 0x00)));
    ASSERT_TRUE(bank.Add(1, 2, setting(100, 0x02)));
    ASSERT_TRUE(bank.Add(1, 3, setting(0x11, 0x42)));
    ASSERT_TRUE(bank.Add(1, 4, setting(0x12, 0x4E)));
    ASSERT_TRUE(bank.Add(1, 5, setting(0x14, 0x70)));
    auto schedule = setting(0x12, 0x50);
    schedule.mask[0] = 0xFE;  // 0x50 and 0x51
    ASSERT_TRUE(bank.Add(1, 6, schedule));
    for (size_t off = 0; off < bytes.size(); off += 188) {
        bank.FeedPacket(std::span<const uint8_t>(bytes).subspan(off, 188));
    }
    EXPECT_EQ(rec.got[1].size(), 40u);  // PAT every 100 ms for 4 s
    EXPECT_EQ(rec.got[1][0], CSiTables::Pat(l.transponders[0]));
    EXPECT_EQ(rec.got[2][0], CSiTables::Pmt(l.transponders[0].programs[0]));
    EXPECT_EQ(rec.got[3][0], CSiTables::Sdt(l.transponders[0]));
    EXPECT_EQ(rec.got[4].size(), 8u * 2 * 2);  // 8 repeats, 2 programs, present + following
    ASSERT_EQ(rec.got[5].size(), 1u);
    EXPECT_EQ(rec.got[5][0], CSiTables::Tdt(750516300));

    // Every schedule section once a loop; present/following are the schedule's
    // events at the build time, with the same ids and descriptors.
    std::set<Section> expectedSchedule;
    for (const auto& p : l.transponders[0].programs) {
        const auto events = CDemoGuide::Events(p, kBuilt);
        for (auto& s : CSiTables::EitSchedule(l.transponders[0], p, events, kBuildDay))
            expectedSchedule.insert(s);
        const auto scheduled =
            EventsOf(ParseAll(CSiTables::EitSchedule(l.transponders[0], p, events, kBuildDay)));
        std::vector<eitreader::Event> pf(2);
        for (const auto& s : rec.got[4]) {
            const auto eit = eitreader::Parse(s);
            ASSERT_TRUE(eit);
            ASSERT_EQ(eit->events.size(), 1u);
            if (eit->service == p.serviceId) pf[eit->number] = eit->events[0];
        }
        const auto present = std::find_if(scheduled.begin(), scheduled.end(), [](const auto& e) {
            return e.start <= kBuilt && kBuilt < e.start + e.duration;
        });
        ASSERT_NE(present, scheduled.end());
        ASSERT_NE(present + 1, scheduled.end());
        EXPECT_EQ(pf[0].id, present->id);
        EXPECT_EQ(pf[0].start, present->start);
        EXPECT_EQ(pf[0].descriptors, present->descriptors);
        EXPECT_EQ(pf[0].running, 4);
        EXPECT_EQ(pf[1].id, present[1].id);
        EXPECT_EQ(pf[1].start, present->start + present->duration);
        EXPECT_EQ(pf[1].descriptors, present[1].descriptors);
    }
    EXPECT_EQ(rec.got[6].size(), expectedSchedule.size());
    EXPECT_EQ(std::set<Section>(rec.got[6].begin(), rec.got[6].end()), expectedSchedule);

    // Every program's video and audio arrive under its own PIDs, counters unbroken.
    std::map<uint16_t, int> last;
    std::map<uint16_t, size_t> count;
    for (const auto& p : packets) {
        const uint16_t pid = uint16_t((p[1] & 0x1F) << 8 | p[2]);
        if (last.count(pid)) {
            EXPECT_EQ(p[3] & 0x0F, (last[pid] + 1) & 0x0F) << pid;
        }
        last[pid] = p[3] & 0x0F;
        count[pid]++;
    }
    EXPECT_EQ(count[101], 200u);
    EXPECT_EQ(count[202], 200u);
    EXPECT_EQ(count[0x100], 0u);
    // The card measures the rate from the copied PCRs.
    auto file = nvdvbsrv::CTsFile::FromBytes(bytes);
    EXPECT_TRUE(file.BitrateFromPcr());
}

TEST(TeletextWriterTest, TheCardReadsBackTheWrittenPages) {
    const auto pes = CTeletextWriter::PagePes(102, "102 Das Erste        Demo-VT",
                                              {"", "  Technik", "  Video-PID    101"});
    EXPECT_EQ(pes.size() % 184, 0u);
    EXPECT_EQ(size_t(pes[4] << 8 | pes[5]) + 6, pes.size());
    Recorder rec;
    nvdvbsrv::CTeletextDecoder dec(rec);
    dec.SetPid(0x68);
    dec.FeedPes(pes);
    // The page is finished by the next header of its magazine.
    dec.FeedPes(CTeletextWriter::PagePes(103, "103", {}));
    ASSERT_EQ(rec.got[nvdvbsrv::CTeletextDecoder::kPort].size(), 1u);
    const auto& page = rec.got[nvdvbsrv::CTeletextDecoder::kPort][0];
    std::string text;
    for (uint8_t c : page) text.push_back(char(c & 0x7F));
    EXPECT_EQ(text.substr(8, 3), "102");
    EXPECT_EQ(text.substr(12, 8), "Das Erst");
    EXPECT_EQ(text.substr(80, 9), "  Technik");
    EXPECT_EQ(text.substr(120, 18), "  Video-PID    101");
    EXPECT_EQ(page[1000], 1);
    // Every character went out with odd parity.
    for (size_t i = 40; i < 1000; ++i) EXPECT_TRUE(__builtin_parity(page[i])) << i;
}

TEST(SiTablesTest, GermanTextGoesOutInTheDefaultTable) {
    // No selector byte; the mark comes before its letter, ß is a letter of its own.
    EXPECT_EQ(CSiTables::DefaultText("Tödliche Grüße"),
              (std::vector<uint8_t>{'T', 0xC8, 'o', 'd', 'l', 'i', 'c', 'h', 'e', ' ', 'G', 'r',
                                    0xC8, 'u', 0xFB, 'e'}));
    EXPECT_EQ(CSiTables::DefaultText("Übersee, Café"),
              (std::vector<uint8_t>{0xC8, 'U', 'b', 'e', 'r', 's', 'e', 'e', ',', ' ', 'C', 'a',
                                    'f', 0xC2, 'e'}));
    EXPECT_EQ(CSiTables::DefaultText("5 €"), (std::vector<uint8_t>{'5', ' ', '?'}));
}

TEST(DemoGuideTest, EverySchedulePartsIntoSegmentsOfEightDaysBackToBack) {
    const auto l = List();
    int films = 0, longTexts = 0;
    for (const auto& tp : l.transponders) {
        for (const auto& p : tp.programs) {
            SCOPED_TRACE(p.name);
            const auto events = CDemoGuide::Events(p, kBuilt);
            const auto sections = CSiTables::EitSchedule(tp, p, events, kBuildDay);
            ASSERT_FALSE(sections.empty());
            const auto eits = ParseAll(sections);
            ASSERT_EQ(eits.size(), sections.size());
            std::map<uint8_t, int> lastNumber;
            for (size_t i = 0; i < eits.size(); ++i) {
                const auto& eit = eits[i];
                EXPECT_LE(sections[i].size(), 4096u);
                EXPECT_EQ(eit.service, p.serviceId);
                EXPECT_EQ(eit.lastTable, 0x51);
                ASSERT_TRUE(eit.table == 0x50 || eit.table == 0x51) << int(eit.table);
                // Segment n of table 0x50 + t holds the events that start in
                // the 3 hours from day 4t + n/8 of the build day on.
                const int segment = eit.number / 8;
                EXPECT_EQ(eit.segmentLast / 8, segment);
                EXPECT_GE(eit.segmentLast, eit.number);
                const std::time_t from =
                    kBuildDay + (eit.table - 0x50) * 4 * 86400 + segment * 10800;
                for (const auto& e : eit.events) {
                    EXPECT_GE(e.start, from);
                    EXPECT_LT(e.start, from + 10800);
                }
                lastNumber[eit.table] = std::max(lastNumber[eit.table], int(eit.number));
            }
            for (const auto& eit : eits) EXPECT_EQ(eit.last, lastNumber[eit.table]);

            const auto read = EventsOf(eits);
            ASSERT_EQ(read.size(), events.size());
            EXPECT_EQ(read.front().start, kBuildDay);
            EXPECT_EQ(read.back().start + read.back().duration, kBuildDay + kEightDays);
            std::set<uint16_t> ids;
            for (size_t i = 0; i < read.size(); ++i) {
                const auto& e = read[i];
                if (i > 0) {
                    EXPECT_EQ(read[i - 1].start + read[i - 1].duration, e.start) << i;
                }
                EXPECT_GE(e.duration, 5u * 60);
                EXPECT_LE(e.duration, 120u * 60);
                EXPECT_TRUE(ids.insert(e.id).second) << "event id twice: " << e.id;
                EXPECT_EQ(e.language, "deu");
                EXPECT_EQ(e.name, events[i].name);
                EXPECT_EQ(e.text, events[i].text);
                EXPECT_EQ(e.extended, events[i].extended);
                EXPECT_NE(e.content, 0);
                if (!e.ratingCountry.empty()) {  // films, from 12 or 16 years
                    ++films;
                    EXPECT_EQ(e.content >> 4, 0x1);
                    EXPECT_EQ(e.ratingCountry, "DEU");
                    EXPECT_TRUE(e.rating == 0x09 || e.rating == 0x0D) << int(e.rating);
                }
                if (e.extended.size() > 255) {
                    ++longTexts;
                    EXPECT_GE(e.extendedPieces, 2);
                }
            }
        }
    }
    EXPECT_GT(films, 0);
    EXPECT_GT(longTexts, 0);
}

TEST(DemoGuideTest, ASegmentTooLargeForOneSectionIsSplit) {
    const auto l = List();
    const auto& tp = l.transponders[0];
    const auto& p = tp.programs[0];
    const auto events = CDemoGuide::Events(p, kBuilt);
    const auto whole = ParseAll(CSiTables::EitSchedule(tp, p, events, kBuildDay));
    const auto small = CSiTables::EitSchedule(tp, p, events, kBuildDay, 1024);
    const auto split = ParseAll(small);
    ASSERT_GT(split.size(), whole.size());
    for (const auto& s : small) EXPECT_LE(s.size(), 1024u);
    // The sections of a segment count up from segment * 8 to its last one.
    std::map<std::pair<uint8_t, int>, std::vector<int>> numbers;
    for (const auto& eit : split) {
        numbers[{eit.table, eit.number / 8}].push_back(eit.number % 8);
        EXPECT_EQ(eit.segmentLast % 8 + 1,
                  int(std::count_if(split.begin(), split.end(), [&](const auto& o) {
                      return o.table == eit.table && o.number / 8 == eit.number / 8;
                  })));
    }
    bool someSplit = false;
    for (const auto& [segment, ks] : numbers) {
        for (size_t k = 0; k < ks.size(); ++k) EXPECT_EQ(ks[k], int(k));
        someSplit |= ks.size() > 1;
    }
    EXPECT_TRUE(someSplit);
    const auto a = EventsOf(whole), b = EventsOf(split);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].descriptors, b[i].descriptors);
}
