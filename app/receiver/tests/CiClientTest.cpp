// The program's common interface hands the module's messages to its listener,
// texts cut before the first 0x8A.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receiver/CCIClient.h"

namespace {

struct Listener : ICiListener {
    std::vector<std::string> calls;
    void OnSlotStatus(int slot, int status) override {
        calls.push_back("slot " + std::to_string(slot) + " " + std::to_string(status));
    }
    void OnCaStatus(int first, int type) override {
        calls.push_back("ca " + std::to_string(first) + " " + std::to_string(type));
    }
    void OnModuleText(std::span<const std::uint8_t> m, CiTextKind kind) override {
        const char k = kind == CiTextKind::Menu ? 'm' : kind == CiTextKind::List ? 'l' : 's';
        calls.push_back(std::string(1, k) + " " + std::string(m.begin(), m.end()));
    }
    void OnSwitchOff() override { calls.push_back("off"); }
    void OnInputRequest(bool blind, int length) override {
        calls.push_back("input " + std::to_string(blind) + " " + std::to_string(length));
    }
};

void Deliver(CCIClient& ci, std::string m) {
    ci.ProcessCiData(reinterpret_cast<std::uint8_t*>(m.data()), int(m.size()));
}

}  // namespace

TEST(CiClientTest, ModuleMessagesReachTheListener) {
    CCIClient ci;
    Deliver(ci, std::string("\x01\x02\x01\x00", 4));  // nobody listens yet
    Listener listener;
    ci.SetListener(&listener);
    Deliver(ci, std::string("\x01\x02\x01\x00", 4));
    Deliver(ci, std::string("\x02\x01\x00Titel\x8A"
                            "Rest",
                            13));
    Deliver(ci, std::string("\x05\x01\x04PIN", 6));
    Deliver(ci, std::string("\x0D\x07\x00", 3));
    Deliver(ci, "\x09");
    ci.SetListener(nullptr);
    Deliver(ci, "\x09");
    EXPECT_EQ(listener.calls, (std::vector<std::string>{
                                  "slot 1 2", std::string("m \x02\x01\x00Titel", 10), "input 0 1",
                                  "s \x05\x01\x04PIN", "input 1 4", "ca 7 13", "off"}));
}
