// One server per instance: an exclusive lock on a file in a folder of this
// user's own (mode 0700, beside the shared-memory objects in /dev/shm, so that
// processes with different runtime folders still meet), named after the
// instance. Taken before any shared object is
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
    Result Take(const std::string& suffix, std::string& error,
                const std::string& folder = Folder());
    // Removes the file and lets the lock go.
    void Release();

    // The folder of the lock files: /dev/shm/nvdvbsrv-<uid> (/tmp/... where
    // there is no /dev/shm).
    static std::string Folder();

  private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace nvdvbsrv
