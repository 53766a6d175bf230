#include "CVirtualCam.h"

#include <algorithm>

namespace nvdvbsrv {
namespace {

// Sub-commands of the program's CI requests.
constexpr uint8_t kFilterFailed = 0, kFilterDone = 1, kReadPsi = 2, kKey = 3, kSetProgram = 5,
                  kEnterMenu = 9, kReadPsiFast = 10, kSlotStatus = 11;
// Module messages.
constexpr uint8_t kStatusMessage = 1, kMenu = 2, kList = 3, kText = 4, kTextInput = 5, kClose = 9,
                  kOpenFilter = 10, kCloseFilter = 11;
constexpr uint8_t kEmpty = 0, kInSlot = 1, kReady = 2;
constexpr size_t kPinLength = 4;
constexpr uint8_t kPatTable = 0x00, kPmtTable = 0x02;
constexpr uint16_t kPatPid = 0;

bool IsSlot(uint8_t slot) { return slot == 1 || slot == 2; }

}  // namespace

CVirtualCam::CVirtualCam(IDatagramSink& sink, int moduleSlot, PmtLookup pmtPid)
    : sink_(sink), pmtPid_(std::move(pmtPid)) {
    if (moduleSlot == 1 || moduleSlot == 2) slots_[size_t(moduleSlot - 1)].status = kReady;
}

bool CVirtualCam::Command(uint8_t sub, std::span<const uint8_t> data) {
    std::lock_guard lock(mutex_);
    switch (sub) {
        case kSlotStatus:
            SendSlotStatus(1);
            SendSlotStatus(2);
            return true;
        case kEnterMenu:
            if (data.empty()) return false;
            EnterMenu(data[0]);
            return true;
        case kKey:
            if (data.empty()) return false;
            Key(data[0]);
            return true;
        case kSetProgram:
        case kReadPsiFast:
            if (data.size() < 2) return false;
            SelectProgram(data);
            return true;
        case kFilterFailed:
        case kFilterDone:
            Reply(sub == kFilterDone, data);
            return true;
        case kReadPsi:
            return true;  // the demo streams are not scrambled: nothing to do
        default:
            return false;
    }
}

bool CVirtualCam::Insert(uint8_t slot, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    if (!IsSlot(slot) || slots_[slot - 1].status != kEmpty) return false;
    slots_[slot - 1] = {kInSlot, now};
    SendSlotStatus(slot);
    return true;
}

bool CVirtualCam::Remove(uint8_t slot) {
    std::lock_guard lock(mutex_);
    if (!IsSlot(slot) || slots_[slot - 1].status == kEmpty) return false;
    slots_[slot - 1].status = kEmpty;
    SendSlotStatus(slot);
    if (screen_ != Screen::Closed && menuSlot_ == slot) Show(Screen::Closed);
    if (!AnyReady()) CloseFilters();
    return true;
}

void CVirtualCam::Tick(Clock::time_point now) {
    std::lock_guard lock(mutex_);
    for (uint8_t slot = 1; slot <= 2; ++slot) {
        Slot& s = slots_[slot - 1];
        if (s.status != kInSlot || now - s.insertedAt < kReadyDelay) continue;
        s.status = kReady;
        SendSlotStatus(slot);
    }
}

uint8_t CVirtualCam::Status(uint8_t slot) const {
    std::lock_guard lock(mutex_);
    return IsSlot(slot) ? slots_[slot - 1].status : kEmpty;
}

std::vector<CVirtualCam::FilterReply> CVirtualCam::Replies() const {
    std::lock_guard lock(mutex_);
    return replies_;
}

bool CVirtualCam::AnyReady() const {
    return std::any_of(slots_.begin(), slots_.end(),
                       [](const Slot& s) { return s.status == kReady; });
}

void CVirtualCam::SendSlotStatus(uint8_t slot) {
    const uint8_t msg[4] = {kStatusMessage, slots_[slot - 1].status, slot, 0};
    sink_.Send(kPort, msg);
}

void CVirtualCam::EnterMenu(uint8_t slot) {
    // An empty slot, or a module still starting, does not answer.
    if (!IsSlot(slot) || slots_[slot - 1].status != kReady) return;
    menuSlot_ = slot;
    Show(Screen::Main);
}

void CVirtualCam::Key(uint8_t key) {
    switch (screen_) {
        case Screen::Closed:
            return;
        case Screen::Main:
            if (key == 0)
                Show(Screen::Closed);
            else if (key == 1)
                Show(Screen::Info);
            else if (key == 2)
                Show(Screen::Rights);
            else if (key == 3)
                Show(Screen::Pin);
            return;
        case Screen::Pin:
            if (key > 9) return;
            pin_.push_back(char('0' + key));
            if (pin_.size() < kPinLength) return;
            Send(kText, 0, 0, {pin_ == "1234" ? "PIN korrekt" : "PIN falsch"});
            screen_ = Screen::Info;  // the next key leads back to the main menu
            return;
        default:
            Show(Screen::Main);
            return;
    }
}

void CVirtualCam::Show(Screen screen) {
    screen_ = screen;
    // Texts in ISO 8859-1; none holds 0x8A, which the program takes for a line end.
    switch (screen) {
        case Screen::Closed:
            Send(kClose, 0, 0, {});
            return;
        case Screen::Main:
            Send(kMenu, menuSlot_, 0,
                 {"Demo-CAM", "Hauptmen\xFC", "Auswahl mit Zifferntaste", "Modulinformation",
                  "Berechtigungen", "PIN-Eingabe"});
            return;
        case Screen::Info:
            Send(kList, menuSlot_, 0,
                 {"Modulinformation", "Demo-CAM des Emulators", "Weiter mit beliebiger Taste",
                  "Version 1.0", "Keine Smartcard eingesteckt"});
            return;
        case Screen::Rights:
            Send(kList, menuSlot_, 0,
                 {"Berechtigungen", "",
                  "Zur\xFC"
                  "ck mit beliebiger Taste",
                  "Alle Demo-Programme frei empfangbar"});
            return;
        case Screen::Pin:
            pin_.clear();
            Send(kTextInput, 1, uint8_t(kPinLength), {"Bitte PIN eingeben (Demo: 1234)"});
            return;
    }
}

void CVirtualCam::SelectProgram(std::span<const uint8_t> data) {
    if (!AnyReady()) return;
    const uint16_t program = uint16_t(data[0] << 8 | data[1]);
    CloseFilters();
    OpenFilter(kPatTable, 0, kPatPid, kPatFilter);
    const std::optional<uint16_t> pmt = pmtPid_ ? pmtPid_(program) : std::nullopt;
    if (pmt) OpenFilter(kPmtTable, program, *pmt, kPmtFilter);
}

void CVirtualCam::CloseFilters() {
    for (const uint8_t filter : openFilters_) {
        const uint8_t msg[2] = {kCloseFilter, filter};
        sink_.Send(kPort, msg);
    }
    openFilters_.clear();
}

void CVirtualCam::OpenFilter(uint8_t tableId, uint16_t extension, uint16_t pid, uint8_t filter) {
    const uint8_t msg[7] = {
        kOpenFilter,  tableId, uint8_t(extension >> 8), uint8_t(extension), uint8_t(pid >> 8),
        uint8_t(pid), filter};
    sink_.Send(kPort, msg);
    openFilters_.push_back(filter);
}

void CVirtualCam::Reply(bool success, std::span<const uint8_t> data) {
    // Success: type, filter number; failure: type, reason, filter number.
    FilterReply r;
    r.success = success;
    if (success && data.size() >= 2) {
        r.type = data[0];
        r.filter = data[1];
    } else if (!success && data.size() >= 3) {
        r.type = data[0];
        r.reason = data[1];
        r.filter = data[2];
    } else {
        return;
    }
    constexpr size_t kKept = 64;
    if (replies_.size() == kKept) replies_.erase(replies_.begin());
    replies_.push_back(r);
}

void CVirtualCam::Send(uint8_t type, uint8_t b1, uint8_t b2,
                       const std::vector<std::string>& strings) {
    std::vector<uint8_t> msg = {type, b1, b2};
    for (const auto& s : strings) {
        msg.insert(msg.end(), s.begin(), s.end());
        msg.push_back(0);
    }
    sink_.Send(kPort, msg);
}

}  // namespace nvdvbsrv
