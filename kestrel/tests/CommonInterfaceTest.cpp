// The module message dispatch: each type's virtual call with its arguments,
// short messages, and the answers to the module's filter requests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Connected.h"
#include "kestrel/CCommonInterface.h"

namespace kestrel::test {
namespace {

class RecordingCI : public CCommonInterface {
  public:
    std::vector<std::string> calls;
    std::vector<const void*> pointers;

    void OnSlotStatus(std::uint8_t slot, std::uint8_t status, void* info) override {
        Add("SlotStatus " + Num(slot) + " " + Num(status), info);
    }
    void OnCAStatus(std::uint8_t a, std::uint8_t type, std::uint8_t* data) override {
        Add("CAStatus " + Num(a) + " " + Num(type), data);
    }
    void OnDisplayString(char* m, std::uint16_t n) override { Add("String " + Num(n), m); }
    void OnDisplayMenu(char* m, std::uint16_t n) override { Add("Menu " + Num(n), m); }
    void OnDisplayList(char* m, std::uint16_t n) override { Add("List " + Num(n), m); }
    void OnSwitchOsdOff() override { Add("OsdOff", nullptr); }
    void OnInputRequest(int blind, std::uint8_t length, std::uint32_t value) override {
        Add("Input " + Num(blind) + " " + Num(length) + " " + Num(value), nullptr);
    }

  private:
    static std::string Num(std::uint32_t v) { return std::to_string(v); }
    void Add(std::string call, const void* p) {
        calls.push_back(std::move(call));
        pointers.push_back(p);
    }
};

class CommonInterfaceTest : public ConnectedTest {
  protected:
    // Every request as the server saw it: its code, sub-command and data.
    struct Seen {
        std::uint16_t code;
        std::uint32_t sub;
        std::vector<std::uint8_t> data;
    };
    void Answer(std::uint32_t filterResult, std::uint32_t shutdownResult) {
        server_->SetHandler([=, this](std::uint16_t code, std::span<std::uint8_t> block) {
            protocol::BlockReader r(block);
            Seen s{code, r.U32(8), {}};
            for (std::size_t i = 0; code == 130 && i < r.U32(44) && i < 32; ++i)
                s.data.push_back(r.U8(12 + i));
            seen_.push_back(s);
            if (code == 60) {
                protocol::BlockWriter(block).U16(8, 40);
                return filterResult;
            }
            return code == 64 ? shutdownResult : 1u;
        });
    }
    void Dispatch(std::vector<std::uint8_t> m) {
        ci_.ProcessCiData(m.data(), static_cast<int>(m.size()));
    }
    RecordingCI ci_;
    std::vector<Seen> seen_;
};

TEST_F(CommonInterfaceTest, EachTypeCallsItsVirtualWithItsBytes) {
    std::vector<std::uint8_t> slot = {1, 2, 1, 0x77};
    ci_.ProcessCiData(slot.data(), 4);
    ASSERT_EQ(ci_.calls, (std::vector<std::string>{"SlotStatus 1 2"}));
    EXPECT_EQ(ci_.pointers[0], slot.data() + 3);

    std::vector<std::uint8_t> menu = {2, 1, 0, 'T', 0, 'S', 0};
    ci_.ProcessCiData(menu.data(), 7);
    std::vector<std::uint8_t> list = {3, 1, 0, 'L', 0};
    ci_.ProcessCiData(list.data(), 5);
    EXPECT_EQ(ci_.pointers[1], menu.data());
    Dispatch({4, 0, 0, 'x', 0});
    Dispatch({5, 1, 4, 'P', 0});
    Dispatch({9});
    std::vector<std::uint8_t> ca = {13, 7, 0xAA};
    ci_.ProcessCiData(ca.data(), 3);
    Dispatch({12, 5});
    Dispatch({14, 5});
    EXPECT_EQ(ci_.calls, (std::vector<std::string>{"SlotStatus 1 2", "Menu 7", "Input 0 1 1",
                                                   "List 5", "Input 0 1 1", "String 5", "String 5",
                                                   "Input 1 4 262143", "OsdOff", "CAStatus 7 13",
                                                   "CAStatus 0 12", "CAStatus 0 14"}));
    EXPECT_EQ(ci_.pointers[9], ca.data() + 2);
}

TEST_F(CommonInterfaceTest, ShortAndUnknownMessagesAreIgnored) {
    Answer(1, 1);
    for (const auto& m : std::vector<std::vector<std::uint8_t>>{{1, 2, 1},
                                                                {5, 1},
                                                                {10, 0, 0, 0, 0, 0},
                                                                {11},
                                                                {12},
                                                                {13, 1},
                                                                {14},
                                                                {6, 1, 2},
                                                                {7},
                                                                {8},
                                                                {0, 1},
                                                                {15, 1, 2, 3},
                                                                {255}})
        Dispatch(m);
    ci_.ProcessCiData(nullptr, 5);
    std::uint8_t menu = 2;
    ci_.ProcessCiData(&menu, 0);
    EXPECT_TRUE(ci_.calls.empty());
    EXPECT_TRUE(seen_.empty());
}

TEST_F(CommonInterfaceTest, FilterRequestsAreAnsweredWithTheirNumber) {
    Answer(1, 1);
    Dispatch({10, 0x02, 0x12, 0x34, 0x01, 0x00, 10});  // no filter 10
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].code, 130);
    EXPECT_EQ(seen_[0].sub, 0u);
    EXPECT_EQ(seen_[0].data, (std::vector<std::uint8_t>{10, 1, 10}));

    // A refused filter is answered with reason 2.
    seen_.clear();
    Answer(2, 1);
    Dispatch({10, 0x02, 0x12, 0x34, 0x01, 0x00, 3});
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(seen_[0].code, 60);
    EXPECT_EQ(seen_[1].sub, 0u);
    EXPECT_EQ(seen_[1].data, (std::vector<std::uint8_t>{10, 2, 3}));

    seen_.clear();
    Dispatch({11, 12});
    Dispatch({11, 4});
    Answer(1, 5);
    Dispatch({11, 4});
    ASSERT_EQ(seen_.size(), 5u);
    EXPECT_EQ(seen_[0].data, (std::vector<std::uint8_t>{11, 1, 12}));
    EXPECT_EQ(seen_[1].code, 64);
    EXPECT_EQ(seen_[2].sub, 1u);
    EXPECT_EQ(seen_[2].data, (std::vector<std::uint8_t>{11, 4}));
    EXPECT_EQ(seen_[4].sub, 0u);
    EXPECT_EQ(seen_[4].data, (std::vector<std::uint8_t>{11, 3, 4}));
}

}  // namespace
}  // namespace kestrel::test
