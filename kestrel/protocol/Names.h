#pragma once
// Names of the objects the server creates and the client opens. Every name
// carries the optional instance suffix taken from the environment variable
// KESTREL_INSTANCE, so that several servers (tests) can run side by side.
#include <cstdint>
#include <string>

namespace kestrel::protocol {

/// Environment variable that selects the instance.
inline constexpr const char* kInstanceVariable = "KESTREL_INSTANCE";

/// Base names (POSIX shared-memory names, leading slash).
inline constexpr const char* kStatusMutexBase = "/!NVDVBSERVER!STATUSMUTEX!";
inline constexpr const char* kStatusMemoryBase = "/!NVDVBSERVER!STATUSMEMORY!";
inline constexpr const char* kParamMutexBase = "/!NVDVBSERVER!PARAMMUTEX!";
inline constexpr const char* kParamMemoryBase = "/!NVDVBSERVER!PARAMMEMORY!";

/// The instance suffix: empty when KESTREL_INSTANCE is unset or empty, else
/// "@" followed by the value, in which every character outside [A-Za-z0-9._-]
/// is replaced by '_' and which is cut to 32 characters.
std::string InstanceSuffix();
/// Same rule for an explicit value (used by tests and by the server's options).
std::string InstanceSuffixFor(const std::string& instance);

/// The client id as "%04u": 3 gives "0003", 12345 gives "12345".
std::string ClientIdDigits(std::uint16_t clientId);

std::string StatusMutexName(const std::string& suffix = InstanceSuffix());
std::string StatusMemoryName(const std::string& suffix = InstanceSuffix());
std::string ParamMutexName(std::uint16_t clientId, const std::string& suffix = InstanceSuffix());
std::string ParamMemoryName(std::uint16_t clientId, const std::string& suffix = InstanceSuffix());

/// Name of the server's local socket in the abstract Unix-socket namespace
/// (without the leading NUL byte): "nvdvbsrv!<pid><suffix>". The pid is the
/// 32-bit word of the status block.
std::string ServerSocketName(std::uint32_t serverPid, const std::string& suffix = InstanceSuffix());

}  // namespace kestrel::protocol
