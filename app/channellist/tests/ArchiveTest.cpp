// The archive encoding: integers, counts, strings, byte blocks and object tags
// at the boundaries of their forms, and the reader's refusal of bad input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"
#include "channellist/CClassRegistry.h"
#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"
#include "channellist/CStreaminfo.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

template <class F>
Bytes Stored(F&& write) {
    Bytes out;
    CArchiveWriter ar(out);
    write(ar);
    return out;
}

Bytes Prefix(const Bytes& bytes, std::size_t n) { return Bytes(bytes.begin(), bytes.begin() + n); }

TEST(ArchiveIntegers, LittleEndianAndSigned) {
    Bytes out = Stored([](CArchiveWriter& ar) {
        ar.WriteU8(0xAB);
        ar.WriteU16(0x1234);
        ar.WriteU32(0xA1B2C3D4);
        ar.WriteI32(-2);
    });
    EXPECT_EQ(out, (Bytes{0xAB, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1, 0xFE, 0xFF, 0xFF, 0xFF}));
    CArchiveReader in(out);
    EXPECT_EQ(in.ReadU8(), 0xAB);
    EXPECT_EQ(in.ReadU16(), 0x1234);
    EXPECT_EQ(in.ReadU32(), 0xA1B2C3D4u);
    EXPECT_EQ(in.ReadI32(), -2);
    EXPECT_EQ(in.Remaining(), 0u);
}

struct CountCase {
    std::uint32_t count;
    Bytes encoded;
};

void PrintTo(const CountCase& c, std::ostream* os) { *os << "count " << c.count; }

class ArchiveCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(ArchiveCounts, EncodesAtFormBoundaries) {
    const auto& c = GetParam();
    EXPECT_EQ(Stored([&](CArchiveWriter& ar) { ar.WriteCount(c.count); }), c.encoded);
    CArchiveReader in(c.encoded);
    EXPECT_EQ(in.ReadCount(), c.count);
    EXPECT_TRUE(in.Canonical());
}

INSTANTIATE_TEST_SUITE_P(Forms, ArchiveCounts,
                         ::testing::Values(CountCase{0, {0, 0}}, CountCase{0xFFFE, {0xFE, 0xFF}},
                                           CountCase{0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
                                           CountCase{0x12345678,
                                                     {0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}}));

struct StringCase {
    std::size_t length;
    Bytes prefix;
};

void PrintTo(const StringCase& c, std::ostream* os) { *os << "length " << c.length; }

class ArchiveStrings : public ::testing::TestWithParam<StringCase> {};

TEST_P(ArchiveStrings, PrefixFormFollowsLength) {
    const auto& c = GetParam();
    std::string s(c.length, 'x');
    if (!s.empty()) s.front() = 'A', s.back() = '\xB0';
    Bytes out = Stored([&](CArchiveWriter& ar) { ar.WriteString(s); });
    ASSERT_EQ(out.size(), c.prefix.size() + c.length);
    EXPECT_EQ(Prefix(out, c.prefix.size()), c.prefix);
    CArchiveReader in(out);
    EXPECT_EQ(in.ReadString(), s);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_TRUE(in.Canonical());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArchiveStrings,
    ::testing::Values(StringCase{0, {0x00}}, StringCase{254, {0xFE}},
                      StringCase{255, {0xFF, 0xFF, 0x00}}, StringCase{0xFFFD, {0xFF, 0xFD, 0xFF}},
                      StringCase{0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                      StringCase{0x10000, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}}));

TEST(ArchiveStrings, LongerFormThanNeededIsReadButNotCanonical) {
    const Bytes middle{0xFF, 0x02, 0x00, 'h', 'i'};
    CArchiveReader a(middle);
    EXPECT_EQ(a.ReadString(), "hi");
    EXPECT_FALSE(a.Canonical());
    const Bytes longForm{0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00, 'h', 'i'};
    CArchiveReader b(longForm);
    EXPECT_EQ(b.ReadString(), "hi");
    EXPECT_FALSE(b.Canonical());
}

TEST(ArchiveBytes, BlockIsCountThenBytes) {
    const ByteBlock block{1, 2, 3};
    Bytes out = Stored([&](CArchiveWriter& ar) { ar.WriteBytes(block); });
    EXPECT_EQ(out, (Bytes{3, 0, 1, 2, 3}));
    CArchiveReader in(out);
    EXPECT_EQ(in.ReadBytes(), block);
}

TEST(ArchiveBounds, HugeLengthsFailAtTheEndWithoutAllocating) {
    // 4 GB string, 4 GB byte block: both must be refused by the bounds check.
    const Bytes hugeString{0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a'};
    CArchiveReader a(hugeString);
    EXPECT_EQ(a.ReadString(), "");
    EXPECT_TRUE(a.Failed());
    EXPECT_EQ(a.Error().offset, 7u);
    const Bytes hugeBlock{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2};
    CArchiveReader b(hugeBlock);
    EXPECT_TRUE(b.ReadBytes().empty());
    ASSERT_TRUE(b.Failed());
    EXPECT_EQ(b.Error().offset, 6u);
    EXPECT_EQ(b.Error().message, "Unerwartetes Dateiende");
    EXPECT_EQ(b.Remaining(), 0u);
}

// ---- object tags ----

CLnb MakeLnb(std::int32_t type) {
    CLnb lnb;
    lnb.LnbType = type;
    lnb.LowFrequency = 10700000;
    lnb.DiseqcRepeat = -1;
    return lnb;
}

TEST(ArchiveObjects, FirstObjectDescribesClassThenShortClassTagThenReference) {
    CLnb a = MakeLnb(1), b = MakeLnb(2);
    Bytes out = Stored([&](CArchiveWriter& ar) {
        ar.WriteObject(&a);
        ar.WriteObject(&b);
        ar.WriteObject(&a);
        ar.WriteObject(nullptr);
    });
    const Bytes head{0xFF, 0xFF, 0x01, 0x00, 0x04, 0x00, 'C', 'L', 'n', 'b'};
    ASSERT_EQ(out.size(), head.size() + 48 + 2 + 48 + 2 + 2);
    EXPECT_EQ(Prefix(out, head.size()), head);
    EXPECT_EQ(out[head.size() + 48], 0x01);  // 0x8001: new object of class index 1
    EXPECT_EQ(out[head.size() + 49], 0x80);
    // a is index 2 (class 1, a 2, b 3): a plain reference
    EXPECT_EQ(out[head.size() + 98], 0x02);
    EXPECT_EQ(out[head.size() + 99], 0x00);
    EXPECT_EQ(out[out.size() - 2], 0x00);
    EXPECT_EQ(out[out.size() - 1], 0x00);

    CArchiveReader in(out);
    auto ra = in.ReadObjectAs<CLnb>();
    auto rb = in.ReadObjectAs<CLnb>();
    auto ra2 = in.ReadObjectAs<CLnb>();
    EXPECT_EQ(in.ReadObject(), nullptr);
    ASSERT_TRUE(ra && rb);
    EXPECT_EQ(*ra, a);
    EXPECT_EQ(*rb, b);
    EXPECT_EQ(ra, ra2) << "a reference must give the same object";
    EXPECT_TRUE(in.Canonical());
}

Bytes LnbFields() { return Bytes(48, 0); }

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes kLnbClass{0xFF, 0xFF, 0x01, 0x00, 0x04, 0x00, 'C', 'L', 'n', 'b'};

TEST(ArchiveObjects, BigTagNewObjectAndReference) {
    // class 1, object 2 (full description); big-tag new object of class 1
    // (index 3); big-tag reference to object 3.
    const Bytes bytes = Concat({kLnbClass,
                                LnbFields(),
                                {0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80},
                                LnbFields(),
                                {0xFF, 0x7F, 0x03, 0x00, 0x00, 0x00}});
    CArchiveReader in(bytes);
    auto first = in.ReadObject();
    auto second = in.ReadObject();
    auto third = in.ReadObject();
    EXPECT_NE(first, second);
    EXPECT_EQ(second, third);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_FALSE(in.Canonical()) << "the writer uses short tags for small indexes";
}

TEST(ArchiveObjects, WriterUsesBigTagsPastTheShortIndexRange) {
    // CLnb is class 1; 0x7FFD objects take indexes 2..0x7FFE. The next class
    // (CStreaminfo) takes 0x7FFF, too large for the 0x8000 + n form, and its
    // first object takes 0x8000, too large for a short reference.
    std::vector<CLnb> lnbs(0x7FFD);
    CStreaminfo s1, s2;
    Bytes out = Stored([&](CArchiveWriter& ar) {
        for (auto& l : lnbs) ar.WriteObject(&l);
        ar.WriteObject(&s1);
        ar.WriteObject(&s2);
        ar.WriteObject(&lnbs.back());
        ar.WriteObject(&s1);
    });
    const Bytes tail{
        0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80,  // new object of class 0x7FFF (bit 31)
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // its fields: empty block, type, PID
        0xFE, 0x7F,                          // reference to 0x7FFE
        0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00,  // big reference to 0x8000
    };
    ASSERT_GT(out.size(), tail.size());
    EXPECT_EQ(Bytes(out.end() - static_cast<std::ptrdiff_t>(tail.size()), out.end()), tail);

    CArchiveReader in(out);
    std::shared_ptr<CSerializable> lastLnb;
    for (std::size_t i = 0; i < lnbs.size(); ++i) lastLnb = in.ReadObject();
    auto r1 = in.ReadObjectAs<CStreaminfo>();
    auto r2 = in.ReadObjectAs<CStreaminfo>();
    EXPECT_NE(r1, r2);
    EXPECT_EQ(in.ReadObject(), lastLnb);
    EXPECT_EQ(in.ReadObject(), r1);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_TRUE(in.Canonical());
}

struct BadObject {
    const char* name;
    Bytes bytes;
    std::size_t offset;
    const char* message;
};

void PrintTo(const BadObject& c, std::ostream* os) { *os << c.name; }

class ArchiveObjectErrors : public ::testing::TestWithParam<BadObject> {};

TEST_P(ArchiveObjectErrors, AreFormatErrorsAtTheirOffset) {
    const auto& c = GetParam();
    CArchiveReader in(c.bytes);
    EXPECT_EQ(in.ReadObject(), nullptr);
    ASSERT_TRUE(in.Failed());
    EXPECT_EQ(in.Error().offset, c.offset);
    EXPECT_NE(in.Error().message.find(c.message), std::string::npos) << in.Error().message;
    // The fault is sticky: later reads fail and keep the first error.
    EXPECT_EQ(in.ReadU16(), 0u);
    EXPECT_EQ(in.Error().offset, c.offset);
}

Bytes ClassDescription(std::uint16_t schema, const std::string& name) {
    Bytes b{0xFF,
            0xFF,
            static_cast<std::uint8_t>(schema),
            static_cast<std::uint8_t>(schema >> 8),
            static_cast<std::uint8_t>(name.size()),
            static_cast<std::uint8_t>(name.size() >> 8)};
    b.insert(b.end(), name.begin(), name.end());
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchiveObjectErrors,
    ::testing::Values(
        BadObject{"unknown", Concat({ClassDescription(1, "CFoo"), LnbFields()}), 6,
                  "Unbekannte Klasse"},
        BadObject{"schema2", Concat({ClassDescription(2, "CLnb"), LnbFields()}), 2,
                  "Schemanummer 2"},
        BadObject{"name64", Concat({ClassDescription(1, std::string(64, 'C'))}), 4, "zu lang"},
        BadObject{"refUnknown", {0x05, 0x00}, 0, "Objektverweis 5"},
        BadObject{"newOfNoClass", {0x01, 0x80}, 0, "Klassenverweis 1"},
        BadObject{"shortFields", Concat({kLnbClass, Bytes(47, 0)}), 10 + 44, "Dateiende"},
        BadObject{"shortName", {0xFF, 0xFF, 0x01, 0x00, 0x04, 0x00, 'C', 'L'}, 6, "Dateiende"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveObjectErrors, ReferenceToClassIndexIsRefused) {
    // index 1 is the class, not an object
    const Bytes bytes = Concat({kLnbClass, LnbFields(), {0x01, 0x00}});
    CArchiveReader in(bytes);
    EXPECT_NE(in.ReadObject(), nullptr);
    EXPECT_EQ(in.ReadObject(), nullptr);
    ASSERT_TRUE(in.Failed());
    EXPECT_EQ(in.Error().offset, 58u);
}

TEST(ArchiveObjectErrors, WrongClassForTypedRead) {
    CProgramInfo program;
    Bytes out = Stored([&](CArchiveWriter& ar) { ar.WriteObject(&program); });
    CArchiveReader in(out);
    EXPECT_EQ(in.ReadObjectAs<CLnb>(), nullptr);
    ASSERT_TRUE(in.Failed());
    EXPECT_EQ(in.Error().offset, 0u);
    EXPECT_NE(in.Error().message.find("CProgramInfo"), std::string::npos);
}

// A record that holds an object of its own kind, to test nesting limits and
// the open registry.
class CChainLink : public CSerializable {
  public:
    std::shared_ptr<CChainLink> next;
    std::uint16_t value = 0;
    const char* ClassName() const override { return "CChainLink"; }
    void Load(CArchiveReader& in) override {
        value = in.ReadU16();
        next = in.ReadObjectAs<CChainLink>();
    }
    void Store(CArchiveWriter& out) const override {
        out.WriteU16(value);
        out.WriteObject(next.get());
    }
};

TEST(ArchiveRegistry, RegisteredClassRoundTripsAndDepthIsLimited) {
    CClassRegistry::Register<CChainLink>("CChainLink");
    auto head = std::make_shared<CChainLink>();
    head->value = 7;
    head->next = std::make_shared<CChainLink>();
    head->next->value = 8;
    Bytes out = Stored([&](CArchiveWriter& ar) { ar.WriteObject(head.get()); });
    CArchiveReader in(out);
    auto back = in.ReadObjectAs<CChainLink>();
    ASSERT_TRUE(back && back->next);
    EXPECT_EQ(back->value, 7);
    EXPECT_EQ(back->next->value, 8);
    EXPECT_EQ(back->next->next, nullptr);

    // A chain deeper than the limit is a format error, not a stack overflow.
    Bytes deep = ClassDescription(1, "CChainLink");
    for (int i = 0; i < CArchiveReader::MaxObjectDepth + 5; ++i) {
        deep.insert(deep.end(), {0x00, 0x00});  // value
        deep.insert(deep.end(), {0x01, 0x80});  // next: new object of class 1
    }
    CArchiveReader din(deep);
    EXPECT_EQ(din.ReadObject(), nullptr);
    ASSERT_TRUE(din.Failed());
    EXPECT_NE(din.Error().message.find("zu tief"), std::string::npos);
}

TEST(ArchiveRegistry, NamesMustFitTheClassDescription) {
    EXPECT_THROW(CClassRegistry::Register<CChainLink>(std::string(64, 'X')), std::invalid_argument);
    EXPECT_FALSE(CClassRegistry::Contains("CNotThere"));
    for (const char* name : {"CSVLFile", "CProgramInfo", "CStreaminfo", "CLnb"}) {
        auto object = CClassRegistry::Create(name);
        ASSERT_TRUE(object) << name;
        EXPECT_STREQ(object->ClassName(), name);
    }
}

}  // namespace
