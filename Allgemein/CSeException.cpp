#include "Allgemein/CSeException.h"

#include <sys/uio.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>

#if !defined(__x86_64__)
#error "The crash report reads the x86-64 signal context"
#endif

namespace {

struct NamedCode {
    std::uint32_t code;
    const char* name;
};

constexpr NamedCode Names[] = {
    {0xC0000005, "ACCESS_VIOLATION"},
    {0xC0000006, "IN_PAGE_ERROR"},
    {0xC0000008, "INVALID_HANDLE"},
    {0xC000001D, "ILLEGAL_INSTRUCTION"},
    {0xC0000025, "NONCONTINUABLE_EXCEPTION"},
    {0xC0000026, "INVALID_DISPOSITION"},
    {0xC000008C, "ARRAY_BOUNDS_EXCEEDED"},
    {0xC000008D, "FLT_DENORMAL_OPERAND"},
    {0xC000008E, "FLT_DIVIDE_BY_ZERO"},
    {0xC000008F, "FLT_INEXACT_RESULT"},
    {0xC0000090, "FLT_INVALID_OPERATION"},
    {0xC0000091, "FLT_OVERFLOW"},
    {0xC0000092, "FLT_STACK_CHECK"},
    {0xC0000093, "FLT_UNDERFLOW"},
    {0xC0000094, "INT_DIVIDE_BY_ZERO"},
    {0xC0000095, "INT_OVERFLOW"},
    {0xC0000096, "PRIV_INSTRUCTION"},
    {0xC00000FD, "STACK_OVERFLOW"},
    {0x80000001, "GUARD_PAGE"},
    {0x80000002, "DATATYPE_MISALIGNMENT"},
    {0x80000003, "BREAKPOINT"},
    {0x80000004, "SINGLE_STEP"},
};

// Page-fault error code bit of a write access (x86-64).
constexpr std::uint64_t PageFaultWrite = 0x2;
// The kernel's flag in uc_flags for a context whose selector word carries ss
// (UC_SIGCONTEXT_SS of the kernel headers, which the C library does not define).
constexpr std::uint64_t SigcontextHasSs = 0x2;
// An access this close to the stack pointer that faults means the stack has
// run into its limit.
constexpr std::uint64_t StackOverflowReach = 64 * 1024;

std::string Describe(const CSeException::Info& info) {
    const char* name = CSeException::Name(info.code);
    if (name == nullptr) return "Unknown exception.";
    char text[256];
    if (info.code == CSeException::AccessViolation) {
        std::snprintf(text, sizeof text,
                      "Exception %s (0x%.8x) at address 0x%.8" PRIx64
                      " trying to %s address 0x%.8" PRIx64 ".",
                      name, info.code, info.address,
                      info.access == CSeException::Access::Write ? "write" : "read",
                      info.accessAddress);
    } else {
        std::snprintf(text, sizeof text, "Exception %s (0x%.8x) at address 0x%.8" PRIx64 ".", name,
                      info.code, info.address);
    }
    return text;
}

// Reads two words at `address` through the kernel: false instead of a fault
// when the memory is not readable.
bool ReadFrame(std::uint64_t address, std::uint64_t (&words)[2]) {
    iovec local{words, sizeof words};
    iovec remote{reinterpret_cast<void*>(address), sizeof words};
    return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) ==
           static_cast<ssize_t>(sizeof words);
}

}  // namespace

CSeException::CSeException(const Info& info, const StackWords& stack)
    : info_(info), stack_(stack), description_(Describe(info)) {}

const char* CSeException::Name(std::uint32_t code) {
    for (const NamedCode& entry : Names) {
        if (entry.code == code) return entry.name;
    }
    return nullptr;
}

std::uint32_t CSeException::CodeForSignal(int signo, int siCode) {
    switch (signo) {
        case SIGSEGV:
            return AccessViolation;
        case SIGFPE:
            switch (siCode) {
                case FPE_INTDIV:
                    return IntDivideByZero;
                case FPE_INTOVF:
                    return IntOverflow;
                case FPE_FLTDIV:
                    return FltDivideByZero;
                case FPE_FLTOVF:
                    return FltOverflow;
                case FPE_FLTUND:
                    return FltUnderflow;
                case FPE_FLTRES:
                    return FltInexactResult;
                case FPE_FLTSUB:
                    return ArrayBoundsExceeded;
                default:  // FPE_FLTINV and whatever else the unit reports
                    return FltInvalidOperation;
            }
        case SIGILL:
            return siCode == ILL_PRVOPC || siCode == ILL_PRVREG ? PrivInstruction
                                                                : IllegalInstruction;
        case SIGBUS:
            return siCode == BUS_ADRALN ? DatatypeMisalignment : InPageError;
        default:
            return 0;
    }
}

CSeException::Info CSeException::FromSignal(int signo, const siginfo_t& info,
                                            const ucontext_t& context) {
    const greg_t* gregs = context.uc_mcontext.gregs;
    const auto reg = [gregs](int index) { return static_cast<std::uint64_t>(gregs[index]); };
    Info result;
    Registers& r = result.registers;
    r.rax = reg(REG_RAX);
    r.rbx = reg(REG_RBX);
    r.rcx = reg(REG_RCX);
    r.rdx = reg(REG_RDX);
    r.rsi = reg(REG_RSI);
    r.rdi = reg(REG_RDI);
    r.rbp = reg(REG_RBP);
    r.rsp = reg(REG_RSP);
    r.rip = reg(REG_RIP);
    r.eflags = reg(REG_EFL);
    // cs, gs, fs and (when the kernel saved it) ss share one word of the context.
    const std::uint64_t selectors = reg(REG_CSGSFS);
    r.cs = static_cast<std::uint16_t>(selectors);
    r.gs = static_cast<std::uint16_t>(selectors >> 16);
    r.fs = static_cast<std::uint16_t>(selectors >> 32);
    if ((static_cast<std::uint64_t>(context.uc_flags) & SigcontextHasSs) != 0) {
        r.ss = static_cast<std::uint16_t>(selectors >> 48);
    }

    result.code = CodeForSignal(signo, info.si_code);
    result.address = r.rip;
    if (result.code == AccessViolation) {
        const auto accessed = reinterpret_cast<std::uint64_t>(info.si_addr);
        if (accessed + StackOverflowReach >= r.rsp && accessed < r.rsp + StackOverflowReach) {
            result.code = StackOverflow;
        } else {
            result.access = (reg(REG_ERR) & PageFaultWrite) != 0 ? Access::Write : Access::Read;
            result.accessAddress = accessed;
        }
    }
    return result;
}

CSeException::StackWords CSeException::CollectStack(std::uint64_t framePointer) {
    StackWords stack{};
    for (std::uint64_t& word : stack) {
        std::uint64_t frame[2];  // the caller's frame pointer, the return address
        if (!ReadFrame(framePointer, frame) || frame[0] == 0) break;
        word = frame[1];
        framePointer = frame[0];
    }
    return stack;
}
