// Carries out one request of a client: reads the command and its arguments from
// the client's 408-byte parameter block, asks the card, and writes the reply
// over the same block. The block is outside bytes: every length in it is checked
// and a malformed request gets an error result.
#pragma once

#include <cstdint>
#include <span>

#include "ICard.h"
#include "ResultCodes.h"

namespace nvdvbsrv {

class CRequestHandler {
  public:
    explicit CRequestHandler(ICard& card) : card_(card) {}

    // Executes the request in block (which must be the whole parameter block)
    // for the client and returns the result code.
    uint32_t Handle(uint32_t client, std::span<uint8_t> block);

    // True when the server has a handler for the command code; every other
    // code answers result::kUnknownCommand.
    static bool Serves(uint16_t code);

  private:
    // Every handler takes the same arguments so that one table can hold them.
    using Handler = uint32_t (CRequestHandler::*)(uint32_t client, uint16_t code,
                                                  std::span<uint8_t> block);
    struct Entry {
        uint16_t code;
        Handler handler;
    };
    static const Entry* Find(uint16_t code);

    uint32_t Board(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t BoardInfo(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t Frontend(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t FrontendStatus(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t NewFrontend(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t Decoder(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t Filter(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t Peripherals(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t Teletext(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t CommonInterface(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t Overlay(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t Recorder(uint32_t client, uint16_t code, std::span<uint8_t> block);
    uint32_t Diseqc(std::span<uint8_t> block);
    uint32_t TeletextSearchTable(std::span<uint8_t> block);
    uint32_t TuneLegacy();

    ICard& card_;
    // Settings of the older front-end interface, combined into one tune.
    ChannelParams legacy_;
    uint32_t lnbParams_[4] = {1, 13, 0, 0};
    uint32_t frontendApi_ = 1;
    uint32_t qam_ = 0;
    uint32_t requests_ = 0;
    uint32_t tunes_ = 0;
    // Decoder and audio settings that are only stored and read back.
    uint32_t audioChannel_ = 0;
    uint32_t stereo_ = 1;
    uint8_t ofdmMode_ = 0;
};

}  // namespace nvdvbsrv
