#include "CWavFile.h"

#include <sys/types.h>

#include <algorithm>
#include <array>
#include <vector>

namespace nvdvbsrv {
namespace {

constexpr size_t kHeaderSize = 44;

void Le(std::array<uint8_t, kHeaderSize>& h, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) h[at + size_t(i)] = uint8_t(v >> (8 * i));
}

}  // namespace

CWavFile::~CWavFile() {
    if (file_) std::fclose(file_);
}

bool CWavFile::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return false;
    WriteHeader();
    return true;
}

void CWavFile::Write(std::span<const int16_t> samples) {
    if (!file_) return;
    std::vector<uint8_t> bytes(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        bytes[2 * i] = uint8_t(uint16_t(samples[i]));
        bytes[2 * i + 1] = uint8_t(uint16_t(samples[i]) >> 8);
    }
    fseeko(file_, off_t(kHeaderSize + dataBytes_), SEEK_SET);
    dataBytes_ += std::fwrite(bytes.data(), 1, bytes.size(), file_);
    WriteHeader();
}

void CWavFile::WriteHeader() {
    std::array<uint8_t, kHeaderSize> h{};
    const uint32_t data = uint32_t(std::min<uint64_t>(dataBytes_, 0xFFFFFFFFu - kHeaderSize));
    const uint32_t blockAlign = kChannels * 2;
    std::copy_n("RIFF", 4, h.begin());
    Le(h, 4, uint32_t(kHeaderSize - 8) + data, 4);
    std::copy_n("WAVEfmt ", 8, h.begin() + 8);
    Le(h, 16, 16, 4);  // size of the format chunk
    Le(h, 20, 1, 2);   // PCM
    Le(h, 22, kChannels, 2);
    Le(h, 24, kRate, 4);
    Le(h, 28, kRate * blockAlign, 4);
    Le(h, 32, blockAlign, 2);
    Le(h, 34, 16, 2);
    std::copy_n("data", 4, h.begin() + 36);
    Le(h, 40, data, 4);
    fseeko(file_, 0, SEEK_SET);
    std::fwrite(h.data(), 1, h.size(), file_);
    std::fflush(file_);
}

}  // namespace nvdvbsrv
