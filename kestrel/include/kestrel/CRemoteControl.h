#pragma once
// The infrared remote control; its keys arrive as datagrams at offset 37.
#include <cstdint>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CRemoteControl : public CCommonDVB {
  public:
    ~CRemoteControl() override;
    /// On success the control counts as enabled when type is not 0.
    ErrReturn SetRemoteControl(IR_TYPE type, std::uint16_t value);
    std::uint16_t GetFilterHandle() const { return handle_; }
    bool IsEnabled() const { return enabled_; }

  private:
    std::uint16_t handle_ = 37;
    bool enabled_ = false;
};
