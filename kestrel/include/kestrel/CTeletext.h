#pragma once
// Teletext acquisition on the card; pages arrive as datagrams at the port
// offset equal to the teletext handle.
#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CTeletext : public CCommonDVB {
  public:
    static constexpr unsigned short kNoHandle = 0xFFFF;

    ~CTeletext() override;
    /// RET_INVALID without a request when teletext is already on.
    ErrReturn TTXOn(unsigned short pid);
    ErrReturn TTXOff();
    ErrReturn TTXModifySearchTable(unsigned short a, unsigned short b, unsigned short c,
                                   TTX_REQUEST request);
    ErrReturn TTXGetP29_P830(int value);
    unsigned short GetFilterHandle() const { return handle_; }

  private:
    unsigned short handle_ = kNoHandle;
};
