#pragma once
// Board start-up and board queries (firmware, network identity, counters).
#include <cstdint>
#include <string>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CBoardControl : public CCommonDVB {
  public:
    /// Longest firmware path that fits the request (offset 12 to the block's end).
    static constexpr std::size_t kMaxBootPath = 396;
    static constexpr unsigned kMaxStatistics = 36;

    ErrReturn InitPCI();
    /// Refused with RET_INVALID (nothing sent) for a null path or one longer
    /// than kMaxBootPath.
    ErrReturn BootARM(const char* path);
    /// InitPCI, then BootARM only if InitPCI returned 1.
    ErrReturn Init(const char* path);
    ErrReturn PingDVBServer();
    /// Fills min(count, 36) counters.
    ErrReturn GetStatistics(std::uint32_t* counters, std::uint8_t count);
    /// check is preset to -1.
    ErrReturn GetMAC(std::string& mac, int& check);
    /// check is preset to -1.
    ErrReturn GetIP(std::string& ip, std::string& mask, int& check);
    ErrReturn GetBEVersion(BE_VERSION& version);
    ErrReturn GetMulticastList(_MC_LIST& list);
    ErrReturn GetBoardMfg(std::string& manufacturer, std::string& boardType);
    /// result is preset to 0.
    ErrReturn GetSelfTestResult(int& result, std::string& text);
    ErrReturn GetFrontendType(FrontendChipType& type);
    /// state is preset to 0.
    ErrReturn GetFWRunningState(int& state);
};
