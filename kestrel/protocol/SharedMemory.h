#pragma once
// A named POSIX shared-memory object mapped into this process.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrel::protocol {

class SharedMemory {
  public:
    SharedMemory() = default;
    ~SharedMemory() { Close(); }
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;
    SharedMemory(SharedMemory&& other) noexcept;
    SharedMemory& operator=(SharedMemory&& other) noexcept;

    /// Server side: removes a stale object of that name, creates it with the
    /// given size (zero-filled) and maps it read/write. Mode 0600.
    bool Create(const std::string& name, std::size_t size);

    /// Opens an existing object. Fails when it does not exist, is smaller
    /// than size, belongs to another user or may be written by others. Only
    /// the descriptor is kept; Map() maps it.
    bool Open(const std::string& name, std::size_t size, bool writable);
    /// Maps `size` bytes of an opened object (read-only or read/write as
    /// opened). False when nothing is open or mmap fails.
    bool Map();

    /// Unmaps and closes (each only if open).
    void Close();
    void Unmap();
    void CloseHandle();

    /// Removes the name (server side, on shutdown).
    static void Unlink(const std::string& name);

    bool IsOpen() const { return fd_ >= 0; }
    bool IsMapped() const { return data_ != nullptr; }
    std::uint8_t* data() const { return static_cast<std::uint8_t*>(data_); }
    std::size_t size() const { return size_; }

  private:
    int fd_ = -1;
    void* data_ = nullptr;
    std::size_t size_ = 0;
    bool writable_ = false;
};

}  // namespace kestrel::protocol
