#pragma once
// Requests to the conditional-access modules, all through one command with a
// sub-command. The module's messages arrive as datagrams at port offset 34;
// ProcessCiData hands each to the virtual functions below, which do nothing
// here (the program overrides them), and serves the module's requests for
// PSI filters itself (ten filters, numbered 0 to 9, whose sections are
// received and dropped: the module reads them on the card).
#include <array>
#include <cstdint>
#include <string>

#include "kestrel/CCommonDVB.h"
#include "kestrel/CDVBWinSock.h"
#include "kestrel/CFilterSocket.h"

class CCommonInterface : public CCommonDVB {
  public:
    static constexpr std::uint8_t kMaxKey = 17;
    static constexpr int kMessagePortOffset = 34;
    static constexpr int kModuleFilters = 10;

    CCommonInterface();
    ~CCommonInterface() override;
    CCommonInterface(const CCommonInterface&) = delete;
    CCommonInterface& operator=(const CCommonInterface&) = delete;

    /// Opens the message socket (whose datagrams go to ProcessCiData); 1.
    int Init();
    /// Closes the message socket; 1.
    int Close();
    bool IsOpen() const { return socket_.IsOpen(); }
    /// One module message (byte 0 its type, 1 to 14). A message shorter than
    /// the bytes its type reads, and every other type, is ignored.
    void ProcessCiData(std::uint8_t* message, int length);

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

  private:
    /// The module messages' receiver: every datagram to its owner.
    class CMessageSocket : public CDVBWinSock {
      public:
        CCommonInterface* owner = nullptr;
        void OnDataArrival(std::uint8_t* data, int length) override;
    };
    void OpenModuleFilter(const std::uint8_t* message);
    void CloseModuleFilter(std::uint8_t number);

    CMessageSocket socket_;
    std::array<CFilterSocket, kModuleFilters> filters_;
};
