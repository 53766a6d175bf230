#pragma once
// Tuner and demodulator, with the older operations and the newer `z` interface.
#include <cstdint>

#include "kestrel/CCommonDVB.h"
#include "kestrel/Records.h"

class CFrontend : public CCommonDVB {
  public:
    /// Reads the front-end interface in force (command 4911) and keeps it as
    /// the process-wide setting when the request succeeds.
    CFrontend();
    /// Restores the saved interface setting (zSetNewFrontendAPI).
    ~CFrontend() override;
    CFrontend(const CFrontend&) = delete;
    CFrontend& operator=(const CFrontend&) = delete;

    /// The process-wide saved interface setting (0 until a constructor read one).
    static std::uint16_t SavedFrontendAPI();

    ErrReturn Init();
    ErrReturn SetFrequency(std::uint32_t frequency, int flag);
    ErrReturn GetFrequency(std::uint32_t& frequency);
    ErrReturn SetSymbolrate(std::uint32_t rate, int flag);
    ErrReturn GetSymbolrate(std::uint32_t& rate);
    ErrReturn GetStatus(LOCKSTATE& lock, int& v12, int& v16, int& b20, int& b24);
    ErrReturn GetStatus(LOCKSTATE& lock, DVB_SIGNAL& signal);
    ErrReturn SetLNBParams(int a, int b, int c, int d);
    ErrReturn GetLNBParams(int& a, int& b, int& c);
    ErrReturn SetSlowBlank(std::uint8_t value);
    ErrReturn SetFastBlank(std::uint8_t value);
    ErrReturn SetMainSwitch(int value);
    ErrReturn SetADSwitch(int value);
    ErrReturn GetBitErrorRate(std::uint32_t& rate, int& value, std::uint8_t& b16,
                              std::uint8_t& b20);
    ErrReturn SetLOF(std::uint32_t lof, int flag);
    /// length bytes of message (at most 388, the room from offset 20).
    ErrReturn SendDiSEqCMsg(const std::uint8_t* message, std::uint32_t length, std::uint8_t burst,
                            int flag);
    ErrReturn GetCodeRate(CODERATE& rate);
    ErrReturn SetQAM(QAM_TYPE modulation, int flag);
    ErrReturn GetTPS(TYPE_TPS& tps);
    ErrReturn SetOFDM_Auto(std::uint8_t value);
    ErrReturn SetOFDM_Mode(TYPE_OFDM_MODE mode);
    ErrReturn GetOFDM_Mode(TYPE_OFDM_MODE& mode);
    ErrReturn ClearBit(std::uint32_t value);

    ErrReturn zSetNewFrontendAPI(int api);
    ErrReturn zGetChannel(std::uint16_t& status, CHANNEL_TYPE& channel);
    ErrReturn zGetDemodStatus(std::uint16_t& a, std::uint16_t& b, std::uint16_t& c);
    ErrReturn zGetSignal(std::uint16_t& status, SIGNAL_TYPE& signal, std::uint16_t value);
    ErrReturn zManager(std::uint16_t& status, std::uint32_t value);
    ErrReturn zSetChannel(std::uint16_t& status, CHANNEL_TYPE channel);
    ErrReturn zStartScan(std::uint16_t& status);
    ErrReturn zStopScan(std::uint16_t& status);
    ErrReturn zSendDiSEqCMsg(const std::uint8_t* message, std::uint32_t length, std::uint8_t burst,
                             int flag);
    ErrReturn zSetScanRange(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    ErrReturn zSetFullScanRange(std::uint32_t value);

  private:
    ErrReturn DiSEqC(std::uint16_t code, const std::uint8_t* message, std::uint32_t length,
                     std::uint8_t burst, int flag);
};
