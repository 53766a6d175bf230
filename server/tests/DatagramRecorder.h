// A datagram sink for the tests: keeps every datagram with its port offset,
// safe to fill from the card's player thread while a test reads it.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "IDatagramSink.h"

namespace testutil {

struct DatagramRecorder : nvdvbsrv::IDatagramSink {
    std::mutex m;
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> got;
    void Send(uint16_t port, std::span<const uint8_t> d) override {
        std::lock_guard l(m);
        got.emplace_back(port, std::vector<uint8_t>(d.begin(), d.end()));
    }
};

}  // namespace testutil
