// How the tests of a subsystem use CFakeReceiver: a small part that tunes a
// program, waits for the program association table once and lists the
// services in it, driven entirely by the fake. Then the two promises of the
// fake that such tests lean on: filter matching and the one teletext stream.
#include <gtest/gtest.h>

#include <memory>

#include "Dish.h"
#include "channellist/CSVLFile.h"
#include "receiver/CFakeReceiver.h"

namespace {

// The kind of part the subsystems are made of: it gets the receiver, never
// the card library, and follows IReceiver's rules (the handle ends inside the
// callback).
class CServiceScan {
  public:
    explicit CServiceScan(IReceiver& receiver) : receiver_(receiver) {}

    bool Start(const CSVLFile& list, const CProgramInfo& program) {
        if (receiver_.Tune(list, program).status == TuneStatus::NoLnb) return false;
        SubscribeError error;
        pat_ = receiver_.SubscribeSections(
            {0x0000, 0x00, std::nullopt}, [this](auto s) { OnPat(s); }, &error);
        failure_ = error.kind;
        return static_cast<bool>(pat_);
    }
    const std::vector<std::uint16_t>& Services() const { return services_; }
    bool Waiting() const { return static_cast<bool>(pat_); }
    SubscribeError::Kind Failure() const { return failure_; }

  private:
    void OnPat(std::span<const std::uint8_t> s) {
        // Program loop between the 8-byte header and the CRC (ISO/IEC 13818-1 2.4.4.3).
        for (std::size_t i = 8; i + 4 + 4 <= s.size(); i += 4) {
            const auto number = static_cast<std::uint16_t>((s[i] << 8) | s[i + 1]);
            if (number != 0) services_.push_back(number);
        }
        pat_.Reset();  // once is enough
    }

    IReceiver& receiver_;
    CSubscription pat_;
    std::vector<std::uint16_t> services_;
    SubscribeError::Kind failure_ = SubscribeError::None;
};

struct ListFixture {
    ListFixture() {
        list.Lnbs.Set("Astra", UniversalLnbOnBurstA());
        program.Name = "Erstes";
        program.LnbName = "Astra";
        program.Frequency = 11836000;
        program.SymbolRate = 27500000;
    }
    CSVLFile list;
    CProgramInfo program;
};

// PAT of transport stream 0x0441: NIT on 0x0010, services 0x6D66 and 0x6D67.
const std::vector<std::uint8_t> kPat = {0x00, 0xB0, 0x15, 0x04, 0x41, 0xC1, 0x00, 0x00,
                                        0x00, 0x00, 0xE0, 0x10, 0x6D, 0x66, 0xE0, 0x64,
                                        0x6D, 0x67, 0xE0, 0x65, 0x11, 0x22, 0x33, 0x44};

}  // namespace

TEST(FakeReceiverInUse, APartTunesWaitsForItsTableAndLetsGo) {
    ListFixture f;
    CFakeReceiver fake;
    CServiceScan scan(fake);
    ASSERT_TRUE(scan.Start(f.list, f.program));
    ASSERT_EQ(fake.TunedPlans().size(), 1u);
    EXPECT_EQ(fake.TunedPlans()[0].Lof, 10600000u);
    EXPECT_EQ(fake.ActiveSectionFilters(), (std::vector<SectionFilter>{{0, 0, std::nullopt}}));

    EXPECT_EQ(fake.DeliverSection(0x0000, kPat), 1);
    EXPECT_EQ(scan.Services(), (std::vector<std::uint16_t>{0x6D66, 0x6D67}));
    EXPECT_FALSE(scan.Waiting());
    EXPECT_TRUE(fake.ActiveSectionFilters().empty());
    EXPECT_EQ(fake.DeliverSection(0x0000, kPat), 0);  // nobody listens any more
    EXPECT_EQ(fake.Calls(), (std::vector<std::string>{"Tune Erstes", "SubscribeSections 0/0",
                                                      "Unsubscribe 0/0"}));
}

TEST(FakeReceiverInUse, ScriptedFailuresReachThePart) {
    ListFixture f;
    CFakeReceiver fake;
    CServiceScan scan(fake);
    fake.ScriptSubscribeFailure({SubscribeError::CardRefused, 2});
    EXPECT_FALSE(scan.Start(f.list, f.program));
    EXPECT_EQ(scan.Failure(), SubscribeError::CardRefused);
    EXPECT_TRUE(scan.Start(f.list, f.program));  // the failure was for one subscription only

    f.program.LnbName = "fehlt";
    CFakeReceiver other;
    CServiceScan lost(other);
    EXPECT_FALSE(lost.Start(f.list, f.program));
    EXPECT_TRUE(other.TunedPlans().empty());
    EXPECT_TRUE(other.ActiveSectionFilters().empty());
}

TEST(FakeReceiver, SectionsReachOnlyMatchingFilters) {
    CFakeReceiver fake;
    int any = 0, right = 0, wrong = 0;
    auto a = fake.SubscribeSections({0, 0, std::nullopt}, [&](auto) { ++any; });
    auto b = fake.SubscribeSections({0, 0, 0x0441}, [&](auto) { ++right; });
    auto c = fake.SubscribeSections({0, 0, 0x0442}, [&](auto) { ++wrong; });
    auto d = fake.SubscribeSections({0x10, 0, std::nullopt}, [&](auto) { ++wrong; });
    EXPECT_EQ(fake.DeliverSection(0, kPat), 2);
    const std::vector<std::uint8_t> tooShortForExtension = {0x00, 0xB0, 0x01, 0x04};
    EXPECT_EQ(fake.DeliverSection(0, tooShortForExtension), 1);
    EXPECT_EQ(fake.DeliverSection(0, {}), 0);
    EXPECT_EQ(any, 2);
    EXPECT_EQ(right, 1);
    EXPECT_EQ(wrong, 0);
}

TEST(FakeReceiver, OneTeletextAtATime) {
    CFakeReceiver fake;
    int pages = 0;
    SubscribeError error;
    auto ttx = fake.SubscribeTeletext(
        0x0240, [&](auto p) { pages += int(p.size()); }, &error);
    EXPECT_EQ(error.kind, SubscribeError::None);
    EXPECT_EQ(fake.TeletextPid(), 0x0240);
    EXPECT_FALSE(fake.SubscribeTeletext(
        0x0241, [](auto) {}, &error));
    EXPECT_EQ(error.kind, SubscribeError::Busy);
    const std::vector<std::uint8_t> page(1960, 0x20);
    EXPECT_TRUE(fake.DeliverTeletextPage(page));
    EXPECT_EQ(pages, 1960);
    ttx.Reset();
    EXPECT_FALSE(fake.TeletextPid());
    EXPECT_FALSE(fake.DeliverTeletextPage(page));
    EXPECT_TRUE(fake.SubscribeTeletext(0x0241, [](auto) {}));
}
