#pragma once
// The decoded program tables of one transponder as the card's PSI decoder
// leaves them in the key store: the record the scan builds its programs from.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
    bool pmtRead = false;
    bool inSdt = false;
    std::string name, provider;  ///< UTF-8
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

}  // namespace kestrel
