#include "kestrel/PsiTree.h"

#include <cstdio>

namespace kestrel {

namespace {

std::string IndexKey(const std::string& parent, char letter, int index) {
    char key[16];
    std::snprintf(key, sizeof key, "\\%c%04d", letter, index);
    return parent + key;
}

std::uint32_t Dword(CRegistry& store, const std::string& key, const char* name,
                    std::uint32_t fallback = 0) {
    std::uint32_t v = fallback;
    return store.ReadDword(key, name, v) ? v : fallback;
}

std::uint16_t Pid(CRegistry& store, const std::string& key, const char* name) {
    return static_cast<std::uint16_t>(Dword(store, key, name));
}

std::vector<PsiDescriptor> ReadDescriptors(CRegistry& store, const std::string& key) {
    std::vector<PsiDescriptor> out;
    const auto count = static_cast<int>(Dword(store, key, "NumberOfDescriptors"));
    for (int d = 0; d < count; ++d) {
        const std::string dk = IndexKey(key, 'D', d);
        if (!store.KeyExists(dk)) break;
        PsiDescriptor desc;
        desc.tag = static_cast<std::uint8_t>(Dword(store, dk, "Tag"));
        store.ReadBinary(dk, "Data", desc.data);
        out.push_back(std::move(desc));
    }
    return out;
}

PsiStream ReadStream(CRegistry& store, const std::string& key) {
    PsiStream s;
    s.type = Pid(store, key, "Type");
    s.pid = Pid(store, key, "PID");
    s.streamId = static_cast<std::int32_t>(Dword(store, key, "StreamID", 0xFFFFFFFFu));
    s.descriptors = ReadDescriptors(store, key);
    return s;
}

PsiProgram ReadProgram(CRegistry& store, const std::string& key) {
    PsiProgram p;
    p.serviceId = Pid(store, key, "ServiceID");
    p.pmtPid = Pid(store, key, "PID_PMT");
    store.ReadString(key, "Name", p.name);
    store.ReadString(key, "Provider", p.provider);
    std::uint32_t pcr = 0;
    p.pmtRead = store.ReadDword(key, "PID_PCR", pcr);
    p.pcrPid = static_cast<std::uint16_t>(pcr);
    p.videoPid = Pid(store, key, "PID_Video");
    p.audioPid = Pid(store, key, "PID_Audio");
    p.teletextPid = Pid(store, key, "PID_TeleText");
    p.inSdt = store.ReadDword(key, "RunningStatus", p.runningStatus);
    p.serviceType = Dword(store, key, "ServiceType");
    p.scrambled = Dword(store, key, "Scrambled");
    p.eitSchedule = Dword(store, key, "EIT_Schedule");
    p.eitPresentFollowing = Dword(store, key, "EIT_PresentFollowing");
    p.pmtDescriptors = ReadDescriptors(store, key + "\\Descriptors_PMT");
    p.sdtDescriptors = ReadDescriptors(store, key + "\\Descriptors_SDT");
    const auto streams = static_cast<int>(Dword(store, key, "NumberOfStreams"));
    for (int s = 0; s < streams; ++s) {
        const std::string sk = IndexKey(key, 'S', s);
        if (!store.KeyExists(sk)) break;
        p.streams.push_back(ReadStream(store, sk));
    }
    return p;
}

}  // namespace

bool ReadPsiTree(CRegistry& store, const std::string& resultPath, PsiTree& tree) {
    tree = PsiTree{};
    if (!store.KeyExists(resultPath)) return false;
    store.ReadString(resultPath, "User Info", tree.userInfo);
    tree.transportStreamId = Pid(store, resultPath, "TransportStreamID");
    std::uint32_t onid = 0;
    if (store.ReadDword(resultPath, "OriginalNetworkID", onid))
        tree.originalNetworkId = static_cast<std::uint16_t>(onid);
    const auto count = static_cast<int>(Dword(store, resultPath, "NumberOfPrograms"));
    for (int i = 0; i < count; ++i) {
        const std::string key = IndexKey(resultPath, 'P', i);
        if (!store.KeyExists(key)) break;
        tree.programs.push_back(ReadProgram(store, key));
    }
    return true;
}

}  // namespace kestrel
