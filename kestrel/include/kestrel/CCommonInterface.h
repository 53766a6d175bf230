#pragma once
// Requests to the conditional-access modules, all through one command with a
// sub-command. The module's messages are handed to the virtual functions
// below, which do nothing here; the program overrides them.
#include <cstdint>
#include <string>

#include "kestrel/CCommonDVB.h"

class CCommonInterface : public CCommonDVB {
  public:
    static constexpr std::uint8_t kMaxKey = 17;

    virtual void OnSlotStatus(std::uint8_t b2, std::uint8_t b1, void* b3);
    virtual void OnCAStatus(std::uint8_t a, std::uint8_t type, std::uint8_t* data);
    virtual void OnDisplayString(char* message, std::uint16_t length);
    virtual void OnDisplayMenu(char* message, std::uint16_t length);
    virtual void OnDisplayList(char* message, std::uint16_t length);
    virtual void OnSwitchOsdOff();
    virtual void OnInputRequest(int a, std::uint8_t b, std::uint32_t c);

    ErrReturn ReadPSI();
    /// KeyPressed for each byte in order; returns 1 whatever the answers.
    int InputReply(const std::uint8_t* keys, std::uint8_t count);
    ErrReturn SetProgram(std::uint16_t programNumber);
    /// Returns 1 whatever the server answered.
    int EnterModuleMenu(std::uint8_t slot);
    ErrReturn ReadPSIFast(std::uint16_t programNumber);
    ErrReturn GetSlotStatus();
    int SendTime() { return 1; }

  protected:
    /// 0, or -1 (nothing sent) for a key above 17.
    int KeyPressed(std::uint8_t key);
    /// Cuts text at the first 0x8A among its first count bytes; returns the
    /// index after it, or count when there is none.
    static int ConvertCharBuf(std::string& text, int count);
    /// Command 130: sub-command, up to 32 data bytes (longer data is cut to
    /// 32 while the length slot keeps the given length).
    ErrReturn SendCICommand(std::uint8_t subCommand, const std::uint8_t* data, std::uint8_t length);
};
