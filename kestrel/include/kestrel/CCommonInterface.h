#pragma once
// Requests to the conditional-access modules, all through one command with a
// sub-command. The module's messages are handed to the virtual functions
// below, which do nothing here; the program overrides them.
#include <string>

#include "kestrel/CCommonDVB.h"

class CCommonInterface : public CCommonDVB {
  public:
    static constexpr unsigned char kMaxKey = 17;

    virtual void OnSlotStatus(unsigned char b2, unsigned char b1, void* b3);
    virtual void OnCAStatus(unsigned char a, unsigned char type, unsigned char* data);
    virtual void OnDisplayString(char* message, unsigned short length);
    virtual void OnDisplayMenu(char* message, unsigned short length);
    virtual void OnDisplayList(char* message, unsigned short length);
    virtual void OnSwitchOsdOff();
    virtual void OnInputRequest(int a, unsigned char b, unsigned long c);

    ErrReturn ReadPSI();
    /// KeyPressed for each byte in order; returns 1 whatever the answers.
    int InputReply(const unsigned char* keys, unsigned char count);
    ErrReturn SetProgram(unsigned short programNumber);
    /// Returns 1 whatever the server answered.
    int EnterModuleMenu(unsigned char slot);
    ErrReturn ReadPSIFast(unsigned short programNumber);
    ErrReturn GetSlotStatus();
    int SendTime() { return 1; }

  protected:
    /// 0, or -1 (nothing sent) for a key above 17.
    int KeyPressed(unsigned char key);
    /// Cuts text at the first 0x8A among its first count bytes; returns the
    /// index after it, or count when there is none.
    static int ConvertCharBuf(std::string& text, int count);
    /// Command 130: sub-command, up to 32 data bytes (longer data is cut to
    /// 32 while the length slot keeps the given length).
    ErrReturn SendCICommand(unsigned char subCommand, const unsigned char* data,
                            unsigned char length);
};
