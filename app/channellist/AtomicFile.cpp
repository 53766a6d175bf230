#include "channellist/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

void SetError(std::string* error, const std::string& what, const std::string& path, int code) {
    if (error) *error = what + " \"" + path + "\": " + std::strerror(code);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

/// The process's umask, read without changing it (umask() would be racy).
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

/// Follows a symbolic link at `path` so that the link stays and its target is replaced.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) return path;
    return resolved;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // best effort: the rename is done either way
    close(fd);
}

}  // namespace

bool SaveFileAtomically(const std::string& requestedPath, std::span<const std::uint8_t> bytes,
                        std::string* error) {
    const std::string path = ResolveTarget(requestedPath);
    const std::string folder = FolderOf(path);
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        SetError(error, "Die Datei kann nicht angelegt werden:", requestedPath, errno);
        return false;
    }
    struct stat target {};
    const mode_t mode =
        stat(path.c_str(), &target) == 0 ? (target.st_mode & 07777) : (0666 & ~CurrentUmask());
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    int code = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        SetError(error, "Die Datei konnte nicht geschrieben werden:", requestedPath, code);
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, "Die Datei kann nicht geöffnet werden:", path, errno);
        return false;
    }
    bytes.clear();
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t buffer[1 << 16];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            SetError(error, "Die Datei kann nicht gelesen werden:", path, errno);
            close(fd);
            return false;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    close(fd);
    return true;
}

std::string KeepBackupCopy(const std::string& path) {
    const std::filesystem::path backup = path + ".bak";
    std::error_code ec;
    const bool kept = std::filesystem::copy_file(
        path, backup, std::filesystem::copy_options::overwrite_existing, ec);
    return kept && !ec ? backup.filename().string() : std::string();
}
