#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>

/// A format error found while reading an archive: the byte offset where
/// reading failed and a German description of the fault.
class CArchiveException : public std::runtime_error {
public:
    CArchiveException(std::size_t offset, std::string message);

    std::size_t Offset() const { return offset_; }
    /// The fault without the offset, e.g. "Unerwartetes Dateiende".
    const std::string& Message() const { return message_; }

private:
    std::size_t offset_;
    std::string message_;
};
