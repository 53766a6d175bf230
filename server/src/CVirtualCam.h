// The card's common interface with a virtual conditional-access module: two
// slots, a module in one of them (or none) with a small menu tree. Answers go
// out as module messages at port offset 34 (byte 0 the message type):
//   1 slot status: status (0 empty, 2 module ready), slot (1 or 2)
//   2 menu / 3 list: two bytes, then zero-terminated title, subtitle, bottom
//     text and the choices
//   4 text, 5 text with an input request (byte 1 blind, byte 2 answer length)
//   9 the module closes its menu
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "IDatagramSink.h"

namespace nvdvbsrv {

class CVirtualCam {
  public:
    static constexpr uint16_t kPort = 34;

    // moduleSlot: 1 or 2 for the slot holding the module, 0 for none.
    CVirtualCam(IDatagramSink& sink, int moduleSlot) : sink_(sink), moduleSlot_(moduleSlot) {}

    // One request of the program (sub-command and data bytes); false for an
    // unknown sub-command or missing data.
    bool Command(uint8_t sub, std::span<const uint8_t> data);

  private:
    enum class Screen { Closed, Main, Info, Rights, Pin };
    void SlotStatus();
    void EnterMenu(uint8_t slot);
    void Key(uint8_t key);
    void Show(Screen screen);
    void Send(uint8_t type, uint8_t b1, uint8_t b2, const std::vector<std::string>& strings);

    IDatagramSink& sink_;
    int moduleSlot_;
    Screen screen_ = Screen::Closed;
    std::string pin_;
};

}  // namespace nvdvbsrv
