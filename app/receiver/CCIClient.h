#pragma once
// The program's common interface: the library's CCommonInterface whose module
// messages go to the program's listener. Texts are cut at the first 0x8A, as
// the module marks the end of its text with it.
#include "kestrel/CCommonInterface.h"
#include "receiver/ICiListener.h"

class CCIClient : public CCommonInterface {
  public:
    void SetListener(ICiListener* listener) { listener_ = listener; }

    void OnSlotStatus(std::uint8_t slot, std::uint8_t status, void* info) override;
    void OnCAStatus(std::uint8_t first, std::uint8_t type, std::uint8_t* data) override;
    void OnDisplayString(char* message, std::uint16_t length) override;
    void OnDisplayMenu(char* message, std::uint16_t length) override;
    void OnDisplayList(char* message, std::uint16_t length) override;
    void OnSwitchOsdOff() override;
    void OnInputRequest(int blind, std::uint8_t answerLength, std::uint32_t value) override;

  private:
    void Text(const char* message, std::uint16_t length, CiTextKind kind);

    ICiListener* listener_ = nullptr;
};
