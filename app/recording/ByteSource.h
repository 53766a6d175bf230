#pragma once
// The bytes of a recording, read where they are needed: from a file (a
// recording may have gigabytes) or from memory (tests, fuzzing).
#include <cstdint>
#include <fstream>
#include <span>
#include <string>

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    /// Exactly `n` bytes at `at`; false when they are not all there.
    virtual bool ReadAt(std::uint64_t at, std::uint8_t* out, std::size_t n) = 0;
};

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(std::uint64_t at, std::uint8_t* out, std::size_t n) override;

  private:
    std::span<const std::uint8_t> bytes_;
};

/// A file that cannot be opened has no bytes.
class FileSource : public ByteSource {
  public:
    explicit FileSource(const std::string& path);
    bool IsOpen() const { return open_; }
    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t at, std::uint8_t* out, std::size_t n) override;

  private:
    std::ifstream in_;
    bool open_ = false;
    std::uint64_t size_ = 0;
};
