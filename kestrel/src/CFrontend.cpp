#include "kestrel/CFrontend.h"

#include <algorithm>

#include "Proxy.h"
#include "kestrel/protocol/Codecs.h"
#include "kestrel/protocol/FrontendCodecs.h"
#include "kestrel/protocol/MediaCodecs.h"

using namespace kestrel;
using namespace kestrel::detail;

namespace {
// The interface setting in force when the last CFrontend was constructed.
std::uint16_t g_savedFrontendAPI = 0;

protocol::ChannelRecord ToRecord(const CHANNEL_TYPE& c) {
    return {c.Frequency, c.LOF,        c.SymbolRate, c.Polarisation,
            c.Mode,      c.LNBVoltage, c.Tone22kHz,  c.Reserved};
}

CHANNEL_TYPE FromRecord(const protocol::ChannelRecord& r) {
    return {r.frequency, r.lof,     r.symbolRate, r.polarisation,
            r.mode,      r.voltage, r.tone,       r.reserved};
}

// The status word of a z-command reply (zero when the reply is too short).
std::uint16_t StatusOf(BlockReader& b) {
    const auto s = protocol::FrontendStatusReply::Decode(b);
    return s ? s->status : 0;
}
}  // namespace

CFrontend::CFrontend() { GetU16(Command::FE_zGetFrontendAPI, g_savedFrontendAPI); }

CFrontend::~CFrontend() { zSetNewFrontendAPI(g_savedFrontendAPI); }

std::uint16_t CFrontend::SavedFrontendAPI() { return g_savedFrontendAPI; }

ErrReturn CFrontend::Init() { return Simple(Command::FE_Init); }
ErrReturn CFrontend::SetFrequency(std::uint32_t f, int flag) {
    return Slots(Command::FE_SetFrequency, f, flag);
}
ErrReturn CFrontend::GetFrequency(std::uint32_t& f) { return GetSlot(Command::FE_GetFrequency, f); }
ErrReturn CFrontend::SetSymbolrate(std::uint32_t rate, int flag) {
    return Slots(Command::FE_SetSymbolrate, rate, flag);
}
ErrReturn CFrontend::GetSymbolrate(std::uint32_t& rate) {
    return GetSlot(Command::FE_GetSymbolrate, rate);
}

ErrReturn CFrontend::GetStatus(LOCKSTATE& lock, int& v12, int& v16, int& b20, int& b24) {
    return Transact(Request(Command::FE_GetStatus), [&](BlockReader& b) {
        const auto s = protocol::StatusReply::Decode(b);
        if (!s) return;
        lock.raw[0] = s->lock;
        v12 = s->agc;
        v16 = s->snrTenths;
        b20 = s->flag3;
        b24 = s->flag4;
    });
}

ErrReturn CFrontend::GetStatus(LOCKSTATE& lock, DVB_SIGNAL& signal) {
    return Transact(Request(Command::FE_GetStatusSignal), [&](BlockReader& b) {
        const auto s = protocol::StatusSignalReply::Decode(b);
        if (!s) return;
        std::copy(s->lockState.begin(), s->lockState.end(), lock.raw);
        std::copy(s->signal.begin(), s->signal.end(), signal.raw);
    });
}

ErrReturn CFrontend::SetLNBParams(int a, int b, int c, int d) {
    return Slots(Command::FE_SetLNBParams, a, b, c, d);
}

ErrReturn CFrontend::GetLNBParams(int& a, int& b, int& c) {
    return Transact(Request(Command::FE_GetLNBParams), [&](BlockReader& r) {
        a = r.I32(8);
        b = r.I32(12);
        c = r.I32(16);
    });
}

ErrReturn CFrontend::SetSlowBlank(std::uint8_t v) { return Slots(Command::FE_SetSlowBlank, v); }
ErrReturn CFrontend::SetFastBlank(std::uint8_t v) { return Slots(Command::FE_SetFastBlank, v); }
ErrReturn CFrontend::SetMainSwitch(int v) { return Slots(Command::FE_SetMainSwitch, v); }
ErrReturn CFrontend::SetADSwitch(int v) { return Slots(Command::FE_SetADSwitch, v); }

ErrReturn CFrontend::GetBitErrorRate(std::uint32_t& rate, int& value, std::uint8_t& b16,
                                     std::uint8_t& b20) {
    return Transact(Request(Command::FE_GetBitErrorRate), [&](BlockReader& b) {
        const auto e = protocol::BitErrorRateReply::Decode(b);
        if (!e) return;
        rate = e->rate;
        value = e->value;
        b16 = e->byte2;
        b20 = e->byte3;
    });
}

ErrReturn CFrontend::SetLOF(std::uint32_t lof, int flag) {
    return Slots(Command::FE_SetLOF, lof, flag);
}

ErrReturn CFrontend::DiSEqC(std::uint16_t code, const std::uint8_t* message, std::uint32_t length,
                            std::uint8_t burst, int flag) {
    if (length && !message) return RET_INVALID;
    Request r(static_cast<Command>(code));
    protocol::DiseqcRequest q;
    q.message = message;
    q.length = length;
    q.burst = burst;
    q.flag = static_cast<std::uint32_t>(flag);
    q.Encode(r);  // a message past the block makes the request invalid
    return Transact(r);
}

ErrReturn CFrontend::SendDiSEqCMsg(const std::uint8_t* m, std::uint32_t n, std::uint8_t burst,
                                   int flag) {
    return DiSEqC(protocol::Code(Command::FE_SendDiSEqCMsg), m, n, burst, flag);
}

ErrReturn CFrontend::GetCodeRate(CODERATE& rate) { return GetSlot(Command::FE_GetCodeRate, rate); }
ErrReturn CFrontend::SetQAM(QAM_TYPE m, int flag) { return Slots(Command::FE_SetQAM, m, flag); }

ErrReturn CFrontend::GetTPS(TYPE_TPS& t) {
    return Transact(Request(Command::FE_GetTPS), [&](BlockReader& b) {
        const auto q = protocol::TpsReply::Decode(b);
        if (!q) return;
        const auto& f = q->fields;
        t.dw0 = f[0];
        t.w4 = static_cast<std::uint16_t>(f[1]);
        std::uint8_t* bytes[8] = {&t.b6, &t.b7, &t.b8, &t.b9, &t.b10, &t.b11, &t.b12, &t.b13};
        for (std::size_t i = 0; i < 8; ++i) *bytes[i] = static_cast<std::uint8_t>(f[2 + i]);
        t.w14 = static_cast<std::uint16_t>(f[10]);
        t.w16 = static_cast<std::uint16_t>(f[11]);
        t.dw20 = f[12];
        t.dw24 = f[13];
        t.dw28 = f[14];
        t.dw32 = f[15];
    });
}

ErrReturn CFrontend::SetOFDM_Auto(std::uint8_t v) { return Slots(Command::FE_SetOFDM_Auto, v); }
ErrReturn CFrontend::SetOFDM_Mode(TYPE_OFDM_MODE mode) {
    return Slots(Command::FE_SetOFDM_Mode, static_cast<std::uint8_t>(mode));
}
ErrReturn CFrontend::GetOFDM_Mode(TYPE_OFDM_MODE& mode) {
    return GetSingle<std::uint8_t>(Command::FE_GetOFDM_Mode, mode);
}
ErrReturn CFrontend::ClearBit(std::uint32_t v) { return Slots(Command::FE_ClearBit, v); }

ErrReturn CFrontend::zSetNewFrontendAPI(int api) {
    return Slots(Command::FE_zSetNewFrontendAPI, api);
}

ErrReturn CFrontend::zGetChannel(std::uint16_t& status, CHANNEL_TYPE& channel) {
    return Transact(Request(Command::FE_zGetChannel), [&](BlockReader& b) {
        status = StatusOf(b);
        if (const auto c = protocol::ChannelRecord::Decode(b)) channel = FromRecord(*c);
    });
}

ErrReturn CFrontend::zGetDemodStatus(std::uint16_t& a, std::uint16_t& b, std::uint16_t& c) {
    return Transact(Request(Command::FE_zGetDemodStatus), [&](BlockReader& r) {
        const auto d = protocol::DemodStatusReply::Decode(r);
        if (!d) return;
        a = d->words[0];
        b = d->words[1];
        c = d->words[2];
    });
}

ErrReturn CFrontend::zGetSignal(std::uint16_t& status, SIGNAL_TYPE& signal, std::uint16_t value) {
    Request r(Command::FE_zGetSignal);
    protocol::FrontendArgumentRequest{value}.Encode(r);
    return Transact(r, [&](BlockReader& b) {
        status = StatusOf(b);
        b.Bytes(protocol::offs::kSignalRecord, signal.raw, sizeof signal.raw);
    });
}

ErrReturn CFrontend::zManager(std::uint16_t& status, std::uint32_t value) {
    Request r(Command::FE_zManager);
    protocol::FrontendArgumentRequest{value}.Encode(r);
    return Transact(r, [&](BlockReader& b) { status = StatusOf(b); });
}

ErrReturn CFrontend::zSetChannel(std::uint16_t& status, CHANNEL_TYPE channel) {
    Request r(Command::FE_zSetChannel);
    ToRecord(channel).Encode(r);
    return Transact(r, [&](BlockReader& b) { status = StatusOf(b); });
}

ErrReturn CFrontend::zStartScan(std::uint16_t& status) {
    return GetU16(Command::FE_zStartScan, status);
}
ErrReturn CFrontend::zStopScan(std::uint16_t& status) {
    return GetU16(Command::FE_zStopScan, status);
}

ErrReturn CFrontend::zSendDiSEqCMsg(const std::uint8_t* m, std::uint32_t n, std::uint8_t burst,
                                    int flag) {
    return DiSEqC(protocol::Code(Command::FE_zSendDiSEqCMsg), m, n, burst, flag);
}

ErrReturn CFrontend::zSetScanRange(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    return Slots(Command::FE_zSetScanRange, a, b, c);
}
ErrReturn CFrontend::zSetFullScanRange(std::uint32_t v) {
    return Slots(Command::FE_zSetFullScanRange, v);
}
