#pragma once
// Teletext acquisition on the card; pages arrive as datagrams at the port
// offset equal to the teletext handle.
#include <cstdint>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CTeletext : public CCommonDVB {
  public:
    static constexpr std::uint16_t kNoHandle = 0xFFFF;

    ~CTeletext() override;
    /// RET_INVALID without a request when teletext is already on.
    ErrReturn TTXOn(std::uint16_t pid);
    ErrReturn TTXOff();
    ErrReturn TTXModifySearchTable(std::uint16_t a, std::uint16_t b, std::uint16_t c,
                                   TTX_REQUEST request);
    ErrReturn TTXGetP29_P830(int value);
    std::uint16_t GetFilterHandle() const { return handle_; }

  private:
    std::uint16_t handle_ = kNoHandle;
};
