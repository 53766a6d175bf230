// The card's common interface with a virtual conditional-access module: two
// slots, a module in one of them (or none, or in both after `nvdvbsrv cam
// insert`) with a small menu tree. Answers go out as module messages at port
// offset 34 (byte 0 the message type):
//   1 slot status: status (0 empty, 1 module in slot, 2 module ready), slot
//   2 menu / 3 list: two bytes, then zero-terminated title, subtitle, bottom
//     text and the choices (umlauts as ISO 8859-1 bytes)
//   4 text, 5 text with an input request (byte 1 blind, byte 2 answer length)
//   9 the module closes its menu
//   10 open a PSI filter: table id, extension (high first), PID (high first),
//      filter number; 11 close one: filter number
// A ready module asks for the PAT and the selected program's PMT whenever a
// program is selected (SetProgram, ReadPSIFast); the program's answers to
// those requests are kept for the tests.
//
// Threading: every method may be called from any thread (the request thread
// and, in tests, the test's own); one mutex guards the state.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "IDatagramSink.h"

namespace nvdvbsrv {

class CVirtualCam {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr uint16_t kPort = 34;
    // From "module in slot" to "module ready" after an insertion.
    static constexpr std::chrono::milliseconds kReadyDelay{500};
    // Filter numbers the module uses for the two tables.
    static constexpr uint8_t kPatFilter = 0, kPmtFilter = 1;
    // The PMT PID of a program of the stream now received, if there is one.
    using PmtLookup = std::function<std::optional<uint16_t>(uint16_t program)>;

    // The program's answer to one of the module's filter requests.
    struct FilterReply {
        bool success = false;
        uint8_t type = 0;    // 10 open, 11 close
        uint8_t filter = 0;  // filter number
        uint8_t reason = 0;  // failures only
        bool operator==(const FilterReply&) const = default;
    };

    // moduleSlot: 1 or 2 for the slot holding a ready module, 0 for none.
    CVirtualCam(IDatagramSink& sink, int moduleSlot, PmtLookup pmtPid = {});

    // One request of the program (sub-command and data bytes); false for an
    // unknown sub-command or missing data.
    bool Command(uint8_t sub, std::span<const uint8_t> data);
    // A module put into or taken out of slot 1 or 2; false when the slot is
    // no slot or already in that state.
    bool Insert(uint8_t slot, Clock::time_point now = Clock::now());
    bool Remove(uint8_t slot);
    // Time goes on: an inserted module becomes ready after kReadyDelay.
    void Tick(Clock::time_point now = Clock::now());

    uint8_t Status(uint8_t slot) const;
    std::vector<FilterReply> Replies() const;

  private:
    enum class Screen { Closed, Main, Info, Rights, Pin };
    struct Slot {
        uint8_t status = 0;
        Clock::time_point insertedAt;
    };
    void SendSlotStatus(uint8_t slot);
    void EnterMenu(uint8_t slot);
    void Key(uint8_t key);
    void Show(Screen screen);
    void SelectProgram(std::span<const uint8_t> data);
    void CloseFilters();
    void OpenFilter(uint8_t tableId, uint16_t extension, uint16_t pid, uint8_t filter);
    void Reply(bool success, std::span<const uint8_t> data);
    bool AnyReady() const;
    void Send(uint8_t type, uint8_t b1, uint8_t b2, const std::vector<std::string>& strings);

    IDatagramSink& sink_;
    PmtLookup pmtPid_;
    mutable std::mutex mutex_;
    std::array<Slot, 2> slots_;
    Screen screen_ = Screen::Closed;
    uint8_t menuSlot_ = 0;
    std::string pin_;
    std::vector<uint8_t> openFilters_;  // filter numbers asked for and not closed since
    std::vector<FilterReply> replies_;
};

}  // namespace nvdvbsrv
