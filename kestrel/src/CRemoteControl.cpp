#include "kestrel/CRemoteControl.h"

#include "Proxy.h"

using namespace kestrel;
using namespace kestrel::detail;

CRemoteControl::~CRemoteControl() {
    if (enabled_) SetRemoteControl(IR_OFF, 0xFFFF);
}

ErrReturn CRemoteControl::SetRemoteControl(IR_TYPE type, std::uint16_t value) {
    const ErrReturn r = Slots(Command::RC_SetRemoteControl, type, value);
    if (r == RET_OK) enabled_ = type != 0;
    return r;
}
