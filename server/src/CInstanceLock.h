// One server per instance: an exclusive lock on a file in a folder of this
// user's own (the runtime folder, or a folder of mode 0700 in /tmp when there
// is none), named after the instance. Taken before any shared object is
// touched, held for the server's life; the kernel lets it go when the
// process ends, however it ends.
#pragma once

#include <string>

namespace nvdvbsrv {

class CInstanceLock {
  public:
    enum class Result { Taken, Held, Failed };

    CInstanceLock() = default;
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // Taken, Held when another process has it, Failed (with a message) when
    // the folder cannot be made or is not this user's alone.
    Result Take(const std::string& suffix, std::string& error);
    // Removes the file and lets the lock go.
    void Release();

    // The folder of the lock files: $XDG_RUNTIME_DIR/nvdvbsrv or
    // /tmp/nvdvbsrv-<uid>.
    static std::string Folder();

  private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace nvdvbsrv
