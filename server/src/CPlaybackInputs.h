// The two inputs of a playback: a recording's file, read in pieces as it
// plays, and the datagrams that the program's network engine sends to the
// card (base port + 35 at the card's own address), each the 2-byte prefix
// and a piece of the recording.
#pragma once

#include <cstdint>
#include <string>

#include "IPlaybackInput.h"

namespace nvdvbsrv {

class CFileInput : public IPlaybackInput {
  public:
    static constexpr std::size_t kChunk = 64 * 1024;
    // Open() false when the file cannot be read.
    explicit CFileInput(const std::string& path);
    ~CFileInput() override;
    CFileInput(const CFileInput&) = delete;
    CFileInput& operator=(const CFileInput&) = delete;

    bool Open() const { return fd_ >= 0; }
    uint64_t Size() const { return size_; }
    Status Read(std::vector<uint8_t>& out, std::chrono::milliseconds wait) override;
    bool Seek(double share) override;

  private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

class CDatagramInput : public IPlaybackInput {
  public:
    // address in host byte order; Open() false for anything outside
    // 127.0.0.0/8 or a port that cannot be bound (Error() says why).
    CDatagramInput(uint32_t address, uint16_t port);
    ~CDatagramInput() override;
    CDatagramInput(const CDatagramInput&) = delete;
    CDatagramInput& operator=(const CDatagramInput&) = delete;

    bool Open() const { return fd_ >= 0; }
    const std::string& Error() const { return error_; }
    Status Read(std::vector<uint8_t>& out, std::chrono::milliseconds wait) override;
    bool Seek(double) override { return false; }

  private:
    int fd_ = -1;
    std::string error_;
};

}  // namespace nvdvbsrv
