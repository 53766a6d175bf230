#include "kestrel/CMSP3400.h"

#include "Proxy.h"

using namespace kestrel;
using namespace kestrel::detail;

ErrReturn CMSP3400::Init() { return Simple(Command::MSP_Init); }
ErrReturn CMSP3400::SetVolume(int l, int r) { return Slots(Command::MSP_SetVolume, l, r); }
ErrReturn CMSP3400::SetTrebleBass(int t, int b) { return Slots(Command::MSP_SetTrebleBass, t, b); }
ErrReturn CMSP3400::SetWide(int w) { return Slots(Command::MSP_SetWide, w); }
ErrReturn CMSP3400::ReadStereo(eMSPSound& s) { return GetSlot(Command::MSP_ReadStereo, s); }
ErrReturn CMSP3400::SetChannel(eMSPInput i, eMSPOutput o, eMSPSound s) {
    return Slots(Command::MSP_SetChannel, i, o, s);
}
ErrReturn CMSP3400::SetStandard(eMSPStandard s) { return Slots(Command::MSP_SetStandard, s); }
ErrReturn CMSP3400::SetMute(int m) { return Slots(Command::MSP_SetMute, m); }
