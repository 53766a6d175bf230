// The installation file is outside text.
#include <cstdint>
#include <string>

#include "CInstallation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    auto inst = nvdvbsrv::CInstallation::Parse(
        std::string_view(reinterpret_cast<const char*>(data), size), "/base", error);
    if (!inst && error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
}
