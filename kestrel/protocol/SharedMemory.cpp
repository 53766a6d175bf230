#include "kestrel/protocol/SharedMemory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace kestrel::protocol {

SharedMemory::SharedMemory(SharedMemory&& other) noexcept { *this = std::move(other); }

SharedMemory& SharedMemory::operator=(SharedMemory&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        writable_ = other.writable_;
    }
    return *this;
}

bool SharedMemory::Create(const std::string& name, std::size_t size) {
    Close();
    shm_unlink(name.c_str());
    const int fd = shm_open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
        ::close(fd);
        shm_unlink(name.c_str());
        return false;
    }
    fd_ = fd;
    size_ = size;
    writable_ = true;
    if (!Map()) {
        Close();
        shm_unlink(name.c_str());
        return false;
    }
    return true;
}

bool SharedMemory::Open(const std::string& name, std::size_t size, bool writable) {
    Close();
    const int fd = shm_open(name.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC, 0);
    if (fd < 0) return false;
    struct stat st {};
    // Only objects of this user that nobody else may write are trusted:
    // another user could have made one under the same name.
    const bool trusted =
        fstat(fd, &st) == 0 && st.st_uid == geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
    if (!trusted || st.st_size < static_cast<off_t>(size)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = size;
    writable_ = writable;
    return true;
}

bool SharedMemory::Map() {
    if (fd_ < 0) return false;
    if (data_) return true;
    void* p =
        mmap(nullptr, size_, writable_ ? (PROT_READ | PROT_WRITE) : PROT_READ, MAP_SHARED, fd_, 0);
    if (p == MAP_FAILED) return false;
    data_ = p;
    return true;
}

void SharedMemory::Unmap() {
    if (data_) munmap(data_, size_);
    data_ = nullptr;
}

void SharedMemory::CloseHandle() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void SharedMemory::Close() {
    Unmap();
    CloseHandle();
}

void SharedMemory::Unlink(const std::string& name) { shm_unlink(name.c_str()); }

}  // namespace kestrel::protocol
