// The records' stored layout against byte images written out by hand, field
// by field, with a different value in every field (so that two fields
// swapped in the layout cannot go unnoticed), and the reader's behaviour when
// an input ends at or inside any field.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"
#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"
#include "channellist/CStreaminfo.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

/// A byte image built field by field, remembering where each field starts.
struct Image {
    Bytes bytes;
    std::vector<std::size_t> fieldStarts;

    void Field(std::initializer_list<std::uint8_t> b) {
        fieldStarts.push_back(bytes.size());
        bytes.insert(bytes.end(), b);
    }
    void U16(std::uint16_t v) {
        Field({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
    }
    void U32(std::uint32_t v) {
        Field({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
               static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)});
    }
    /// A short string or block: its length prefix and its bytes are one field
    /// each (a cut inside the bytes fails where they start).
    void Text(const std::string& s) {
        Field({static_cast<std::uint8_t>(s.size())});
        if (!s.empty()) {
            fieldStarts.push_back(bytes.size());
            bytes.insert(bytes.end(), s.begin(), s.end());
        }
    }
    void Block(std::initializer_list<std::uint8_t> b) {
        U16(static_cast<std::uint16_t>(b.size()));
        if (b.size() != 0) Field(b);
    }
    /// Where a read of the first `n` bytes must fail: the start of the field
    /// that byte `n` belongs to.
    std::size_t FailureOffset(std::size_t n) const {
        std::size_t at = 0;
        for (std::size_t start : fieldStarts)
            if (start <= n) at = start;
        return at;
    }
};

CProgramInfo DistinctProgram() {
    CProgramInfo p;
    p.Name = "Name";
    p.Provider = "Prov";
    p.FrontendType = 0x0A0B0C0D;
    p.LnbName = "Lnb";
    p.Frequency = 0x11121314;
    p.PolarisationOrQam = 0x21222324;
    p.SymbolRate = 0x31323334;
    p.ProgramType = 0x41424344;
    p.CiAccess = 0x5152;
    p.TransportStreamId = 0x5354;
    p.NetworkId = 0x5556;
    p.OriginalNetworkId = 0x5758;
    p.ServiceId = 0x595A;
    p.PcrPid = 0x5B5C;
    p.PmtPid = 0x5D5E;
    p.VideoPid = 0x6162;
    p.AudioPid = 0x6364;
    p.TeletextPid = 0x6566;
    CStreaminfo s;
    s.Descriptors = {0x0A, 0x01, 0x77};
    s.StreamType = 0x7172;
    s.Pid = 0x7374;
    p.Streams.push_back(s);
    s.Descriptors = {};
    s.StreamType = 0x7576;
    s.Pid = 0x7778;
    p.Streams.push_back(s);
    p.ProgramData1 = {0x81, 0x82};
    p.ProgramData2 = {0x91};
    return p;
}

/// DistinctProgram() as the file holds it, written from the field table.
Image DistinctProgramImage() {
    Image i;
    i.Text("Name");
    i.Text("Prov");
    i.U32(0x0A0B0C0D);  // FrontendType
    i.Text("Lnb");
    i.U32(0x11121314);  // Frequency
    i.U32(0x21222324);  // PolarisationOrQam
    i.U32(0x31323334);  // SymbolRate
    i.U32(0x41424344);  // ProgramType
    i.U16(0x5152);      // CiAccess
    i.U16(0x5354);      // TransportStreamId
    i.U16(0x5556);      // NetworkId
    i.U16(0x5758);      // OriginalNetworkId
    i.U16(0x595A);      // ServiceId
    i.U16(0x5B5C);      // PcrPid
    i.U16(0x5D5E);      // PmtPid
    i.U16(0x6162);      // VideoPid
    i.U16(0x6364);      // AudioPid
    i.U16(0x6566);      // TeletextPid
    i.U32(2);           // StreamCount
    i.Block({0x0A, 0x01, 0x77});
    i.U16(0x7172);
    i.U16(0x7374);
    i.Block({});
    i.U16(0x7576);
    i.U16(0x7778);
    i.Block({0x81, 0x82});  // ProgramData1
    i.Block({0x91});        // ProgramData2
    return i;
}

TEST(RecordLayout, ProgramStoresFieldByField) {
    const CProgramInfo program = DistinctProgram();
    Bytes out;
    CArchiveWriter writer(out);
    program.Store(writer);
    EXPECT_EQ(out, DistinctProgramImage().bytes);
    EXPECT_EQ(program.StoredSize(), out.size());
}

TEST(RecordLayout, ProgramLoadsFieldByField) {
    const Image image = DistinctProgramImage();
    CArchiveReader in(image.bytes);
    CProgramInfo program;
    program.Load(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(program, DistinctProgram());
}

TEST(RecordLayout, ProgramNumbersSitAtTheirOffsets) {
    // Frequency starts the run; the stream count follows TeletextPid.
    constexpr std::size_t expected[] = {0, 4, 8, 12, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34};
    ASSERT_EQ(ProgramNumbers::Count, std::size(expected));
    for (std::size_t i = 0; i < ProgramNumbers::Count; ++i)
        EXPECT_EQ(ProgramNumbers::Offsets[i], expected[i]) << i;
    EXPECT_EQ(ProgramNumbers::Bytes, 36u);
}

TEST(RecordLayout, LnbIsTwelveNumbersInOrder) {
    CLnb lnb;
    std::int32_t* fields[] = {&lnb.LnbType,         &lnb.LowFrequency,    &lnb.HighFrequency,
                              &lnb.SwitchFrequency, &lnb.LowBandLof,      &lnb.HighBandLof,
                              &lnb.CBand,           &lnb.PowerOn,         &lnb.Tone22kHz,
                              &lnb.DiseqcType,      &lnb.DiseqcParameter, &lnb.DiseqcRepeat};
    Image image;
    for (std::size_t k = 0; k < std::size(fields); ++k) {
        *fields[k] = static_cast<std::int32_t>(0x01000000 * (k + 1) + k);
        image.U32(static_cast<std::uint32_t>(*fields[k]));
    }
    *fields[11] = -3;
    image.bytes.resize(44);
    image.U32(0xFFFFFFFD);
    Bytes out;
    CArchiveWriter writer(out);
    lnb.Store(writer);
    EXPECT_EQ(out, image.bytes);

    CArchiveReader in(image.bytes);
    CLnb back;
    back.Load(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(back, lnb);
}

// Every cut of the program image, from empty to one byte short: the load
// fails with the end-of-input error at the start of the field the cut falls
// in, reads nothing past the cut (the input is a heap copy of exactly that
// length, which the address sanitizer guards) and the reader stays failed.
TEST(ReaderBounds, EveryCutOfAProgramFailsAtItsField) {
    const Image image = DistinctProgramImage();
    for (std::size_t n = 0; n < image.bytes.size(); ++n) {
        auto copy = std::make_unique<std::uint8_t[]>(n == 0 ? 1 : n);
        std::copy_n(image.bytes.begin(), n, copy.get());
        CArchiveReader in(std::span<const std::uint8_t>(copy.get(), n));
        CProgramInfo program;
        program.Load(in);
        ASSERT_TRUE(in.Failed()) << n;
        EXPECT_EQ(in.Error().offset, image.FailureOffset(n)) << n;
        EXPECT_EQ(in.Error().message, "Unerwartetes Dateiende") << n;
        EXPECT_EQ(in.Remaining(), 0u) << n;
        EXPECT_EQ(in.ReadU32(), 0u) << n;
        EXPECT_EQ(in.Error().offset, image.FailureOffset(n)) << "the first fault stays, " << n;
    }
}

TEST(ReaderBounds, FixedRunFailsAtTheFieldItCutsAndReadsAsZeros) {
    static constexpr std::uint8_t widths[] = {4, 2, 2};
    const Bytes input{1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (std::size_t n = 0; n < 8; ++n) {
        CArchiveReader in(std::span(input.data(), n));
        const std::uint8_t* run = in.ReadFixed(widths, 8);
        ASSERT_TRUE(in.Failed()) << n;
        EXPECT_EQ(in.Error().offset, n < 4 ? 0u : n < 6 ? 4u : 6u) << n;
        for (std::size_t k = 0; k < 8; ++k) EXPECT_EQ(run[k], 0) << n;
    }
    CArchiveReader whole(input);
    const std::uint8_t* run = whole.ReadFixed(widths, 8);
    EXPECT_FALSE(whole.Failed());
    EXPECT_EQ(run, input.data());
    EXPECT_EQ(whole.Remaining(), 1u);
}

TEST(ReaderBounds, ErrorIsStickyAcrossReadKinds) {
    const Bytes input{0x34, 0x12, 0x05};
    CArchiveReader in(input);
    EXPECT_EQ(in.ReadU16(), 0x1234);
    EXPECT_EQ(in.ReadString(), "");  // five bytes announced, none there
    ASSERT_TRUE(in.Failed());
    EXPECT_EQ(in.Error().offset, 3u);
    EXPECT_EQ(in.ReadU8(), 0);
    EXPECT_TRUE(in.ReadBytes().empty());
    EXPECT_TRUE(in.ReadRaw(0).empty());
    EXPECT_EQ(in.ReadObject(), nullptr);
    EXPECT_EQ(in.ReadCount(), 0u);
    in.Fail("später");
    EXPECT_EQ(in.Error().offset, 3u);
    EXPECT_EQ(in.Error().message, "Unerwartetes Dateiende");
}

TEST(ReaderBounds, StreamCountBeyondTheInputFailsWhereTheFirstMissingStreamEnds) {
    // The stream loop is bounded by what the bytes left can hold: a record
    // of MinStoredBytes is the smallest, so the first missing stream must fail.
    EXPECT_EQ(CStreaminfo().StoredSize(), CStreaminfo::MinStoredBytes);
    CProgramInfo program;
    program.Streams.resize(3);
    for (const std::int32_t count : {4, 1000, 0x7FFFFFFF}) {
        Bytes bytes;
        CArchiveWriter out(bytes);
        program.Store(out);
        // The count sits before the streams and the two (empty) data blocks.
        const std::size_t countAt = bytes.size() - 4 - 3 * 6 - 2 - 2;
        for (int k = 0; k < 4; ++k) bytes[countAt + k] = std::uint8_t(count >> (8 * k));
        CArchiveReader in(bytes);
        CProgramInfo loaded;
        loaded.Load(in);
        ASSERT_TRUE(in.Failed()) << count;
        // Stream 4 reads the two empty data blocks' four bytes as an empty
        // descriptor block and a type: its PID is missing at the very end.
        EXPECT_EQ(in.Error().offset, bytes.size()) << count;
        EXPECT_LE(loaded.Streams.size(), bytes.size() / CStreaminfo::MinStoredBytes + 1) << count;
    }
}

}  // namespace
