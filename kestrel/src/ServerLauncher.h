#pragma once
// Starts the server's command line as a detached process.
#include <string>
#include <vector>

namespace kestrel {

/// Splits a command line at blanks; double quotes group (and are removed).
std::vector<std::string> SplitCommandLine(const std::string& line);

/// Starts the command line with stdin on /dev/null, stdout and stderr on
/// $KESTREL_SERVER_LOG (appended) or /dev/null, in a session of its own.
/// Returns a start result in the manner of the old process starter: a value
/// above 32 on success, else 0 (no program / out of resources), 2 (file not
/// found), 3 (path not found), 5 (access denied) or 11 (not an executable).
/// *pid receives the process id on success.
unsigned StartServerProcess(const std::string& commandLine, int* pid);

/// Collects the exit status of an earlier started process if it has ended.
void ReapServerProcess(int pid);

}  // namespace kestrel
