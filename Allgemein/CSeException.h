#pragma once
#include <signal.h>

#include <array>
#include <cstdint>
#include <exception>
#include <string>

/// A processor exception (access violation, division by zero, ...) that hit
/// the user-interface thread, as the crash report shows it: the exception
/// code, where it happened, the registers of that moment and the return
/// addresses of the frames that were active.
class CSeException : public std::exception {
  public:
    /// Exception codes of the name table.
    static constexpr std::uint32_t AccessViolation = 0xC0000005;
    static constexpr std::uint32_t InPageError = 0xC0000006;
    static constexpr std::uint32_t IllegalInstruction = 0xC000001D;
    static constexpr std::uint32_t ArrayBoundsExceeded = 0xC000008C;
    static constexpr std::uint32_t FltDivideByZero = 0xC000008E;
    static constexpr std::uint32_t FltInexactResult = 0xC000008F;
    static constexpr std::uint32_t FltInvalidOperation = 0xC0000090;
    static constexpr std::uint32_t FltOverflow = 0xC0000091;
    static constexpr std::uint32_t FltUnderflow = 0xC0000093;
    static constexpr std::uint32_t IntDivideByZero = 0xC0000094;
    static constexpr std::uint32_t IntOverflow = 0xC0000095;
    static constexpr std::uint32_t PrivInstruction = 0xC0000096;
    static constexpr std::uint32_t StackOverflow = 0xC00000FD;
    static constexpr std::uint32_t DatatypeMisalignment = 0x80000002;

    enum class Access { None, Read, Write };

    /// The processor's registers at the fault (x86-64). Segment registers
    /// that the signal context does not carry are 0.
    struct Registers {
        std::uint64_t rax = 0, rbx = 0, rcx = 0, rdx = 0;
        std::uint64_t rsi = 0, rdi = 0, rbp = 0, rsp = 0;
        std::uint64_t rip = 0, eflags = 0;
        std::uint16_t cs = 0, ss = 0, ds = 0, es = 0, fs = 0, gs = 0;
    };

    /// What the processor reported: the code, the faulting instruction, for
    /// an access violation the kind of access and the address accessed, and
    /// the registers.
    struct Info {
        std::uint32_t code = 0;
        std::uint64_t address = 0;
        Access access = Access::None;
        std::uint64_t accessAddress = 0;
        Registers registers;
    };

    static constexpr int StackWordCount = 32;
    using StackWords = std::array<std::uint64_t, StackWordCount>;

    CSeException(const Info& info, const StackWords& stack);

    std::uint32_t Code() const { return info_.code; }
    const Info& Information() const { return info_; }
    const StackWords& Stack() const { return stack_; }

    /// "Exception <name> (0x<code>) at address 0x<address>." (for an access
    /// violation with "trying to read|write address 0x<address>"), or
    /// "Unknown exception." for a code outside the name table.
    const std::string& Description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

    /// The name of a code ("ACCESS_VIOLATION"), nullptr when the table has none.
    static const char* Name(std::uint32_t code);

    /// The code for a fault signal and its si_code.
    static std::uint32_t CodeForSignal(int signo, int siCode);

    /// The record of a fault from the signal handler's arguments. Allocates
    /// nothing and may run in the handler. An access violation whose address
    /// lies next to the stack pointer is reported as a stack overflow.
    static Info FromSignal(int signo, const siginfo_t& info, const ucontext_t& context);

    /// Follows the chain of frame pointers from `framePointer`: for each frame
    /// whose saved frame pointer can be read and is not 0, the return address
    /// beside it; the first frame that cannot be read or holds 0 ends the
    /// chain, and the remaining words are 0. Memory is read through the
    /// kernel, so a bad pointer cannot fault; may run in a signal handler.
    static StackWords CollectStack(std::uint64_t framePointer);

  private:
    Info info_;
    StackWords stack_;
    std::string description_;
};
