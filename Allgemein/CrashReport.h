#pragma once
#include <string>

class CSeException;

/// The text of the crash report: who crashed, the exception, the registers
/// and the stack words, each line ending "\r\n".
namespace CrashReport {

/// The texts that head the report.
struct Header {
    std::string application;  ///< the program's name
    std::string sendTo;       ///< where the report is to be sent
    std::string programPath;  ///< the program file ("Unknown" when not known)
    std::string version;      ///< "%d.%d.%d.%d" ("Unknown" when not known)
};

std::string Text(const CSeException& exception, const Header& header);

}  // namespace CrashReport
