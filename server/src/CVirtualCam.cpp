#include "CVirtualCam.h"

namespace nvdvbsrv {
namespace {

// Sub-commands of the program's CI requests.
constexpr uint8_t kFilterFailed = 0, kFilterDone = 1, kReadPsi = 2, kKey = 3, kSetProgram = 5,
                  kEnterMenu = 9, kReadPsiFast = 10, kSlotStatus = 11;
constexpr uint8_t kMenu = 2, kList = 3, kText = 4, kTextInput = 5, kClose = 9;
constexpr size_t kPinLength = 4;

}  // namespace

bool CVirtualCam::Command(uint8_t sub, std::span<const uint8_t> data) {
    switch (sub) {
        case kSlotStatus:
            SlotStatus();
            return true;
        case kEnterMenu:
            if (data.empty()) return false;
            EnterMenu(data[0]);
            return true;
        case kKey:
            if (data.empty()) return false;
            Key(data[0]);
            return true;
        case kReadPsi:
        case kReadPsiFast:
        case kSetProgram:
        case kFilterFailed:
        case kFilterDone:
            return true;  // the demo streams are not scrambled: nothing to do
        default:
            return false;
    }
}

void CVirtualCam::SlotStatus() {
    for (uint8_t slot = 1; slot <= 2; ++slot) {
        const uint8_t status = slot == moduleSlot_ ? 2 : 0;
        const uint8_t msg[4] = {1, status, slot, 0};
        sink_.Send(kPort, msg);
    }
}

void CVirtualCam::EnterMenu(uint8_t slot) {
    if (slot != moduleSlot_) return;  // an empty slot does not answer
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
    switch (screen) {
        case Screen::Closed:
            Send(kClose, 0, 0, {});
            return;
        case Screen::Main:
            Send(kMenu, uint8_t(moduleSlot_), 0,
                 {"Demo-CAM", "Hauptmenue", "Auswahl mit Zifferntaste", "Modulinformation",
                  "Berechtigungen", "PIN-Eingabe"});
            return;
        case Screen::Info:
            Send(kList, uint8_t(moduleSlot_), 0,
                 {"Modulinformation", "Demo-CAM des Emulators", "Weiter mit beliebiger Taste",
                  "Version 1.0", "Keine Smartcard eingesteckt"});
            return;
        case Screen::Rights:
            Send(kList, uint8_t(moduleSlot_), 0,
                 {"Berechtigungen", "", "Weiter mit beliebiger Taste",
                  "Alle Demo-Programme frei empfangbar"});
            return;
        case Screen::Pin:
            pin_.clear();
            Send(kTextInput, 1, uint8_t(kPinLength), {"Bitte PIN eingeben (Demo: 1234)"});
            return;
    }
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
