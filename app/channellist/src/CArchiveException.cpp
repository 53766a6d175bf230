#include "channellist/CArchiveException.h"

CArchiveException::CArchiveException(std::size_t offset, std::string message)
    : std::runtime_error("Formatfehler bei Byte " + std::to_string(offset) + ": " + message),
      offset_(offset),
      message_(std::move(message)) {}
