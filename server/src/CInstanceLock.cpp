#include "CInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace nvdvbsrv {

namespace {

// A folder that only this user can enter, list or write.
bool PrivateFolder(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & 077) == 0;
}

bool MakePrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return PrivateFolder(path);
}

}  // namespace

CInstanceLock::~CInstanceLock() { Release(); }

std::string CInstanceLock::Folder() {
    // Beside the shared objects that the lock guards: every process of this
    // user sees the same folder, whatever its environment says.
    std::error_code ec;
    const char* base = std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : "/tmp";
    return std::string(base) + "/nvdvbsrv-" + std::to_string(geteuid());
}

CInstanceLock::Result CInstanceLock::Take(const std::string& suffix, std::string& error,
                                          const std::string& folder) {
    Release();
    if (!MakePrivateFolder(folder)) {
        error =
            "Ordner " + folder + " kann nicht angelegt werden oder gehört nicht diesem Benutzer";
        return Result::Failed;
    }
    const std::string path = folder + "/server" + suffix + ".lock";
    // A server that ends removes its file while it holds the lock; one that
    // opened the file just before locks a removed file and must try again.
    for (;;) {
        const int fd = open(path.c_str(), O_CREAT | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            error = "Sperrdatei " + path + " kann nicht geöffnet werden";
            return Result::Failed;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            if (errno == EWOULDBLOCK) return Result::Held;
            error = "Sperrdatei " + path + " kann nicht gesperrt werden";
            return Result::Failed;
        }
        struct stat open {
        }, named{};
        if (fstat(fd, &open) == 0 && stat(path.c_str(), &named) == 0 &&
            open.st_ino == named.st_ino && open.st_dev == named.st_dev) {
            fd_ = fd;
            path_ = path;
            return Result::Taken;
        }
        close(fd);
    }
}

void CInstanceLock::Release() {
    if (fd_ < 0) return;
    unlink(path_.c_str());
    close(fd_);
    fd_ = -1;
}

}  // namespace nvdvbsrv
