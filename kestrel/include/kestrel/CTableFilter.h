#pragma once
// Reassembles whole PSI/SI tables (or passes single sections) from the
// sections that arrive one per datagram on a filter socket.
//
// Modes: 0 whole tables of current sections only; 1 every section on its own;
// any other value whole tables, also sections not yet current.
//
// Callback contract: the callback gets only the two values given to
// SetCallback. It runs on the dispatcher's thread and reads the table through
// GetLastSection/GetValue/GetBytePointer/GetPayLoadLength; pointers stay valid
// until the store is cleared (in mode 1: until the callback returns). The
// callback may close or reopen the filter; collection of the current datagram
// then stops.
#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "kestrel/CFilterSocket.h"

class CTableFilter : public CFilterSocket {
  public:
    using Callback = void (*)(char*, std::uint32_t);
    static constexpr int kNoVersion = 33;

    CTableFilter();
    CTableFilter(Callback callback, char* data, std::uint32_t value);
    ~CTableFilter() override;

    void SetCallback(Callback callback, char* data, std::uint32_t value);
    /// 0 success, -1 filter refused (*error = its result), -2 socket failed
    /// (*error = the socket error; the filter is shut down again).
    int OpenFilter(std::uint16_t pid, std::uint8_t tableId, std::uint16_t tableIdExtension,
                   int useExtension, int* error, int type5, int mode);
    /// 0, or -1 when the filter shutdown did not return 1.
    int CloseFilter();
    bool IsOpened() const { return opened_; }

    int GetLastSection() const { return lastSection_; }
    /// Milliseconds since the last datagram (or since opening).
    std::uint32_t GetTimeElapsed() const;
    /// count (<= 32) bits from bitOffset of stored section `section`, most
    /// significant first; bits past the stored section read as 0.
    std::uint32_t GetValue(int section, std::uint32_t bitOffset, std::uint32_t count) const;
    /// Address of a byte of a stored section; null outside it.
    std::uint8_t* GetBytePointer(int section, std::uint32_t byteOffset);
    /// The section's 12-bit section_length; 0 for an empty entry.
    int GetPayLoadLength(int section) const;
    /// The stored bytes of a section as they arrived; empty for an empty entry.
    std::span<const std::uint8_t> GetSection(int section) const;

    int State() const { return state_; }
    int Version() const { return version_; }
    int Mode() const { return mode_; }
    std::uint16_t Pid() const { return pid_; }
    std::uint8_t TableId() const { return tableId_; }

    /// Section collection; public so that tests and tools can feed sections.
    void OnDataArrival(std::uint8_t* data, int length) override;

  private:
    using Clock = std::chrono::steady_clock;
    void ClearStore();
    bool Complete() const;
    void Notify();

    Clock::time_point lastArrival_ = Clock::now();
    int state_ = 0;
    int version_ = kNoVersion;
    int lastSection_ = -1;
    std::vector<std::vector<std::uint8_t>> sections_ = std::vector<std::vector<std::uint8_t>>(256);
    bool opened_ = false;
    Callback callback_ = nullptr;
    char* callbackData_ = nullptr;
    std::uint32_t callbackValue_ = 0;
    int mode_ = 0;
    std::uint16_t pid_ = 0;
    std::uint8_t tableId_ = 0;
    unsigned generation_ = 0;  ///< bumped by Open/Close, to notice them inside the callback
};
