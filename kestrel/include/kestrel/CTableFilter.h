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
#include <vector>

#include "kestrel/CFilterSocket.h"

class CTableFilter : public CFilterSocket {
  public:
    using Callback = void (*)(char*, unsigned long);
    static constexpr int kNoVersion = 33;

    CTableFilter();
    CTableFilter(Callback callback, char* data, unsigned long value);
    ~CTableFilter() override;

    void SetCallback(Callback callback, char* data, unsigned long value);
    /// 0 success, -1 filter refused (*error = its result), -2 socket failed
    /// (*error = the socket error; the filter is shut down again).
    int OpenFilter(unsigned short pid, unsigned char tableId, unsigned short tableIdExtension,
                   int useExtension, int* error, int type5, int mode);
    /// 0, or -1 when the filter shutdown did not return 1.
    int CloseFilter();
    bool IsOpened() const { return opened_; }

    int GetLastSection() const { return lastSection_; }
    /// Milliseconds since the last datagram (or since opening).
    unsigned long GetTimeElapsed() const;
    /// count (<= 32) bits from bitOffset of stored section `section`, most
    /// significant first; bits past the stored section read as 0.
    unsigned long GetValue(int section, unsigned long bitOffset, unsigned long count) const;
    /// Address of a byte of a stored section; null outside it.
    unsigned char* GetBytePointer(int section, unsigned long byteOffset);
    /// The section's 12-bit section_length; 0 for an empty entry.
    int GetPayLoadLength(int section) const;

    int State() const { return state_; }
    int Version() const { return version_; }
    int Mode() const { return mode_; }
    unsigned short Pid() const { return pid_; }
    unsigned char TableId() const { return tableId_; }

    /// Section collection; public so that tests and tools can feed sections.
    void OnDataArrival(unsigned char* data, int length) override;

  private:
    using Clock = std::chrono::steady_clock;
    void ClearStore();
    bool Complete() const;
    void Notify();

    Clock::time_point lastArrival_ = Clock::now();
    int state_ = 0;
    int version_ = kNoVersion;
    int lastSection_ = -1;
    std::vector<std::vector<unsigned char>> sections_ =
        std::vector<std::vector<unsigned char>>(256);
    bool opened_ = false;
    Callback callback_ = nullptr;
    char* callbackData_ = nullptr;
    unsigned long callbackValue_ = 0;
    int mode_ = 0;
    unsigned short pid_ = 0;
    unsigned char tableId_ = 0;
    unsigned generation_ = 0;  ///< bumped by Open/Close, to notice them inside the callback
};
