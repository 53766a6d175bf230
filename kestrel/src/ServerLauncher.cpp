#include "ServerLauncher.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace kestrel {

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::string cur;
    bool inQuotes = false, have = false;
    for (char c : line) {
        if (c == '"') {
            inQuotes = !inQuotes;
            have = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (have) words.push_back(cur);
            cur.clear();
            have = false;
        } else {
            cur.push_back(c);
            have = true;
        }
    }
    if (have) words.push_back(cur);
    return words;
}

namespace {
unsigned StartCode(int err) {
    switch (err) {
        case ENOENT:
            return 2;
        case ENOTDIR:
            return 3;
        case EACCES:
        case EPERM:
            return 5;
        case ENOEXEC:
            return 11;
        default:
            return 0;
    }
}
}  // namespace

unsigned StartServerProcess(const std::string& commandLine, int* pid) {
    const auto words = SplitCommandLine(commandLine);
    if (words.empty()) return 2;
    // The program must name an executable file; a missing one is reported
    // here, as the old starter did, instead of as a later time-out.
    const std::string& program = words.front();
    if (program.find('/') != std::string::npos && access(program.c_str(), X_OK) != 0)
        return StartCode(errno);
    std::vector<char*> argv;
    for (const auto& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    // A server started hidden must not hold the client's terminal or pipes
    // (a caller reading the client's output would wait for the server's end).
    const char* log = std::getenv("KESTREL_SERVER_LOG");
    const char* out = log && *log ? log : "/dev/null";
    posix_spawn_file_actions_addopen(&fa, 1, out, O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&fa, 1, 2);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    pid_t child = 0;
    const int rc = posix_spawnp(&child, program.c_str(), &fa, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) return StartCode(rc);
    if (pid) *pid = child;
    return 33;
}

void ReapServerProcess(int pid) {
    if (pid > 0) waitpid(pid, nullptr, WNOHANG);
}

}  // namespace kestrel
