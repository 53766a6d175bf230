#pragma once
// The tree that CPsiDecoder writes into the key store, as one record, and its
// reader. Under the result path: "User Info", "TransportStreamID",
// "OriginalNetworkID" (once the service table arrived), "NumberOfPrograms" and
// one key "P%04d" per program with its values, "Descriptors_PMT",
// "Descriptors_SDT" and one key "S%04d" per elementary stream.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kestrel/CRegistry.h"

namespace kestrel {

struct PsiDescriptor {
    std::uint8_t tag = 0;
    std::vector<std::uint8_t> data;
};

struct PsiStream {
    std::uint16_t type = 0, pid = 0;
    int streamId = -1;
    std::vector<PsiDescriptor> descriptors;
};

struct PsiProgram {
    std::uint16_t serviceId = 0, pmtPid = 0, pcrPid = 0, videoPid = 0, audioPid = 0,
                  teletextPid = 0;
    bool pmtRead = false;        // the program map arrived
    bool inSdt = false;          // the service table named the service
    std::string name, provider;  // UTF-8, as stored
    std::uint32_t serviceType = 0, scrambled = 0, runningStatus = 0, eitSchedule = 0,
                  eitPresentFollowing = 0;
    std::vector<PsiDescriptor> pmtDescriptors, sdtDescriptors;
    std::vector<PsiStream> streams;
};

struct PsiTree {
    std::string userInfo;
    std::uint16_t transportStreamId = 0;
    std::optional<std::uint16_t> originalNetworkId;
    std::vector<PsiProgram> programs;
};

/// Reads what CPsiDecoder wrote under resultPath ("root\\sub"); false when the key is missing.
bool ReadPsiTree(CRegistry& store, const std::string& resultPath, PsiTree& tree);

}  // namespace kestrel
