#pragma once
// One hardware section filter; matching sections arrive as datagrams at the
// port offset equal to the filter handle.
#include <cstdint>

#include "kestrel/CCommonDVB.h"

class CPIDFilter : public CCommonDVB {
  public:
    static constexpr unsigned short kNoHandle = 0xFFFF;
    static constexpr unsigned char kMaxLength = 16;

    ~CPIDFilter() override;
    /// RET_INVALID without a request when a filter is already set or length
    /// exceeds 16. Waits for the reply without limit.
    ErrReturn SetBitFilter(unsigned short pid, const unsigned char* filter,
                           const unsigned char* mask, unsigned char length, unsigned short type);
    ErrReturn ShutDownFilter();
    unsigned short GetFilterHandle() const { return handle_; }

  private:
    unsigned short handle_ = kNoHandle;
};
