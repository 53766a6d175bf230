#include "Allgemein/CrashReport.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

#include "Allgemein/CSeException.h"

namespace CrashReport {
namespace {

// Appends printf-formatted text.
[[gnu::format(printf, 2, 3)]] void Append(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        const std::size_t start = out.size();
        out.resize(start + static_cast<std::size_t>(length) + 1);
        std::vsnprintf(out.data() + start, static_cast<std::size_t>(length) + 1, format, again);
        out.resize(start + static_cast<std::size_t>(length));
    }
    va_end(again);
}

}  // namespace

std::string Text(const CSeException& exception, const Header& header) {
    const CSeException::Info& info = exception.Information();
    const CSeException::Registers& r = info.registers;
    const bool violation = info.code == CSeException::AccessViolation;
    const char* access = !violation                                   ? "NA"
                         : info.access == CSeException::Access::Write ? "write"
                                                                      : "read";
    std::string out;
    Append(out,
           "There has been a critical error in %s\r\n\r\nA copy of this information should be "
           "sent to %s\r\n\r\nFilename       : %s\r\nVersion        : %s\r\n",
           header.application.c_str(), header.sendTo.c_str(), header.programPath.c_str(),
           header.version.c_str());
    Append(out,
           "Exception      : %.8x\r\nAddress        : %.8" PRIx64
           "\r\nAccess Type    : %s\r\n"
           "Access Address : %.8" PRIx64 "\r\n",
           info.code, info.address, access, violation ? info.accessAddress : 0);
    out += "\r\n";
    Append(out,
           "Registers      : RAX=%.8" PRIx64 " CS=%.4x RIP=%.8" PRIx64 " EFLGS=%.8" PRIx64 "\r\n",
           r.rax, r.cs, r.rip, r.eflags);
    Append(out,
           "               : RBX=%.8" PRIx64 " SS=%.4x RSP=%.8" PRIx64 " RBP=%.8" PRIx64 "\r\n",
           r.rbx, r.ss, r.rsp, r.rbp);
    Append(out, "               : RCX=%.8" PRIx64 " DS=%.4x RSI=%.8" PRIx64 " FS=%.4x\r\n", r.rcx,
           r.ds, r.rsi, r.fs);
    Append(out, "               : RDX=%.8" PRIx64 " ES=%.4x RDI=%.8" PRIx64 " GS=%.4x\r\n", r.rdx,
           r.es, r.rdi, r.gs);
    out += "\r\n";
    const CSeException::StackWords& stack = exception.Stack();
    for (std::size_t line = 0; line < stack.size() / 4; ++line) {
        out += line == 0 ? "Stack Trace    : " : "               : ";
        const std::uint64_t* words = &stack[line * 4];
        Append(out, "%.8" PRIx64 " %.8" PRIx64 " %.8" PRIx64 " %.8" PRIx64 "\r\n", words[0],
               words[1], words[2], words[3]);
    }
    return out;
}

}  // namespace CrashReport
