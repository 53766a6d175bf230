#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Commands.h"
#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"

extern char** environ;

// The client link has no operation that injects a remote-control key (keys
// travel from the card to the program as datagrams). The emulated card's own
// command does it: "<server program> key CODE [--instance NAME]"; dvbctl runs
// that program, taken from the server's registered command line.
namespace {

std::string ServerProgram() {
    kestrel::CRegistry reg;
    std::string path;
    if (!reg.Open(kestrel::CRegistry::DefaultPath(), false) ||
        !reg.ReadString(kestrel::kServerSettingsKey, kestrel::kServerPathValue, path))
        return {};
    // First word of the command line; double quotes group.
    std::string word;
    bool quoted = false;
    for (char c : path) {
        if (c == '"')
            quoted = !quoted;
        else if ((c == ' ' || c == '\t') && !quoted) {
            if (!word.empty()) break;
        } else
            word.push_back(c);
    }
    return word;
}

}  // namespace

int KeyCommand(const std::string& code) {
    if (!NeedCard()) return 1;
    const std::string program = ServerProgram();
    if (program.empty()) {
        std::fprintf(stderr, "dvbctl key: keine Befehlszeile des Servers im Schlüsselspeicher\n");
        return 1;
    }
    std::vector<std::string> args = {program, "key", code};
    if (const char* inst = std::getenv("KESTREL_INSTANCE"); inst && *inst) {
        args.push_back("--instance");
        args.push_back(inst);
    }
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "dvbctl key: %s kann nicht gestartet werden\n", program.c_str());
        return 1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
