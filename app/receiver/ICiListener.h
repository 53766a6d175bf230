#pragma once
// What the conditional-access modules tell the program, as the common
// interface delivers it (CCIClient on the card, CFakeDeviceSet in tests).
// Calls come from the event loop on the GUI thread; a listener may call the
// device set from inside them.
#include <cstdint>
#include <span>

/// The three kinds of module text.
enum class CiTextKind { Menu, List, String };

class ICiListener {
  public:
    virtual ~ICiListener() = default;

    /// Slot 1 or 2: 0 empty, 1 module in slot, 2 module ready, other unknown.
    virtual void OnSlotStatus(int /*slot*/, int /*status*/) {}
    /// CA status: the message's first argument and its type (12, 13 or 14).
    virtual void OnCaStatus(int /*first*/, int /*type*/) {}
    /// A menu, list or string: the whole message (three bytes, then the
    /// zero-terminated strings), cut before the first 0x8A. Valid during the call.
    virtual void OnModuleText(std::span<const std::uint8_t> /*message*/, CiTextKind /*kind*/) {}
    /// The module closed its menu.
    virtual void OnSwitchOff() {}
    /// The module waits for an answer of `answerLength` keys, hidden when blind.
    virtual void OnInputRequest(bool /*blind*/, int /*answerLength*/) {}
};
