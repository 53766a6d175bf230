// The server's result codes (1 is success). 3 and 4 are the client
// library's own codes for a rejected argument and a file error, which the
// recorder answers for the same faults.
#pragma once

#include <cstdint>

namespace nvdvbsrv::result {

inline constexpr uint32_t kOk = 1;
inline constexpr uint32_t kFailed = 2;       // the card could not do it (now)
inline constexpr uint32_t kInvalid = 3;      // a form of recording the card does not know
inline constexpr uint32_t kFileError = 4;    // the file cannot be opened, created or read
inline constexpr uint32_t kBadRequest = 10;  // arguments out of range
inline constexpr uint32_t kUnknownCommand = 11;
inline constexpr uint32_t kNotSupported = 12;  // not available on this card

}  // namespace nvdvbsrv::result
