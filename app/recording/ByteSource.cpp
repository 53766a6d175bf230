#include "recording/ByteSource.h"

#include <algorithm>

bool MemorySource::ReadAt(std::uint64_t at, std::uint8_t* out, std::size_t n) {
    if (at > bytes_.size() || n > bytes_.size() - at) return false;
    std::copy_n(bytes_.begin() + std::ptrdiff_t(at), n, out);
    return true;
}

FileSource::FileSource(const std::string& path) : in_(path, std::ios::binary) {
    if (!in_) return;
    in_.seekg(0, std::ios::end);
    const std::streamoff end = in_.tellg();
    open_ = end >= 0;
    size_ = open_ ? std::uint64_t(end) : 0;
}

bool FileSource::ReadAt(std::uint64_t at, std::uint8_t* out, std::size_t n) {
    if (at > size_ || n > size_ - at) return false;
    in_.clear();
    in_.seekg(std::streamoff(at));
    in_.read(reinterpret_cast<char*>(out), std::streamsize(n));
    return std::size_t(in_.gcount()) == n;
}
