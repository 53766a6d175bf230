#pragma once
// One hardware section filter; matching sections arrive as datagrams at the
// port offset equal to the filter handle.
#include <cstdint>

#include "kestrel/CCommonDVB.h"

class CPIDFilter : public CCommonDVB {
  public:
    static constexpr std::uint16_t kNoHandle = 0xFFFF;
    static constexpr std::uint8_t kMaxLength = 16;

    ~CPIDFilter() override;
    /// RET_INVALID without a request when a filter is already set or length
    /// exceeds 16. Waits for the reply as long as for the server's answer
    /// (ConnectTimings::replyLimit).
    ErrReturn SetBitFilter(std::uint16_t pid, const std::uint8_t* filter, const std::uint8_t* mask,
                           std::uint8_t length, std::uint16_t type);
    ErrReturn ShutDownFilter();
    std::uint16_t GetFilterHandle() const { return handle_; }

  private:
    std::uint16_t handle_ = kNoHandle;
};
