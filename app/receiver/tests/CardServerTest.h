#pragma once
// A real emulated card for one test: its own instance, registry, folders and
// base port; an installation with the broadcast captures on dish position A;
// and the channel list that tunes to them. The client library starts the
// server from the registry at Connect() and the test ends it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "channellist/CSVLFile.h"

class CPIDFilter;

class CardServerTest : public ::testing::Test {
  protected:
    static constexpr std::uint16_t kRaiTsid = 18432;
    static constexpr std::uint16_t kArteTeletextPid = 0x042C;

    void SetUp() override;
    void TearDown() override;

    /// Starts the server with `serverOptions` through the library's connect,
    /// with a keep-alive period of `keepAlive`.
    bool Connect(const std::string& serverOptions = "",
                 std::chrono::milliseconds keepAlive = std::chrono::milliseconds(10000));

    /// Sets section filters on the card, as another client would, until the
    /// card refuses one: how many it took (they stay set until released).
    std::size_t TakeEveryFilter();
    /// Shuts down one of the filters taken.
    void ReleaseOneFilter();

    const CProgramInfo& Rai() const { return *list_.Programs[0]; }
    const CProgramInfo& Arte() const { return *list_.Programs[1]; }
    const CProgramInfo& Nowhere() const { return *list_.Programs[2]; }
    const CProgramInfo& NoLnb() const { return *list_.Programs[3]; }

    CSVLFile list_;
    std::filesystem::path dir_;
    std::string config_;

  private:
    std::vector<std::shared_ptr<CPIDFilter>> taken_;
};

/// Runs the Qt event loop until `done` or the time is up; true when done.
bool RunLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
/// Runs the Qt event loop for `duration`.
void RunLoopFor(std::chrono::milliseconds duration);
/// True when the section's CRC_32 checks (ISO/IEC 13818-1 Annex A).
bool CrcHolds(std::span<const std::uint8_t> section);
