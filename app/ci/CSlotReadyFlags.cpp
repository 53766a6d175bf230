#include "ci/CSlotReadyFlags.h"

namespace {
constexpr int kEmpty = 0, kModuleReady = 2;
}

bool CSlotReadyFlags::Apply(int slot, int status) {
    if (slot < 1 || slot > kSlots || (status != kEmpty && status != kModuleReady)) return false;
    bool& flag = ready_[slot - 1];
    const bool before = flag;
    flag = status == kModuleReady;
    return flag != before;
}

bool CSlotReadyFlags::Ready(int slot) const {
    return slot >= 1 && slot <= kSlots && ready_[slot - 1];
}
