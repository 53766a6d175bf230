#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Allgemein/CSeException.h"
#include "Allgemein/CrashReport.h"

namespace {

CSeException::Info Violation() {
    CSeException::Info info;
    info.code = CSeException::AccessViolation;
    info.address = 0x401a2b;
    info.access = CSeException::Access::Write;
    info.accessAddress = 0x7ffd12345678;
    CSeException::Registers& r = info.registers;
    r.rax = 1, r.rbx = 2, r.rcx = 3, r.rdx = 4, r.rsi = 5, r.rdi = 6;
    r.rbp = 0x7ffd00001000, r.rsp = 0x7ffd00000ff0, r.rip = 0x401a2b, r.eflags = 0x10246;
    r.cs = 0x33, r.ss = 0x2b, r.fs = 0, r.gs = 0;
    return info;
}

TEST(CrashReport, TextHasEveryPieceInOrder) {
    CSeException::StackWords stack{};
    stack[0] = 0x401111, stack[1] = 0x7f0011223344, stack[2] = 0x402222;
    const CSeException exception(Violation(), stack);
    const std::string text = CrashReport::Text(
        exception, {"SVL_Editor", "fehler@example.invalid", "/opt/svl/SVL_Editor", "1.0.0.0"});
    const std::string blank = "               : ";
    const std::string zeros = "00000000 00000000 00000000 00000000\r\n";
    EXPECT_EQ(text,
              "There has been a critical error in SVL_Editor\r\n\r\n"
              "A copy of this information should be sent to fehler@example.invalid\r\n\r\n"
              "Filename       : /opt/svl/SVL_Editor\r\n"
              "Version        : 1.0.0.0\r\n"
              "Exception      : c0000005\r\n"
              "Address        : 00401a2b\r\n"
              "Access Type    : write\r\n"
              "Access Address : 7ffd12345678\r\n"
              "\r\n"
              "Registers      : RAX=00000001 CS=0033 RIP=00401a2b EFLGS=00010246\r\n" +
                  blank + "RBX=00000002 SS=002b RSP=7ffd00000ff0 RBP=7ffd00001000\r\n" + blank +
                  "RCX=00000003 DS=0000 RSI=00000005 FS=0000\r\n" + blank +
                  "RDX=00000004 ES=0000 RDI=00000006 GS=0000\r\n"
                  "\r\n"
                  "Stack Trace    : 00401111 7f0011223344 00402222 00000000\r\n" +
                  blank + zeros + blank + zeros + blank + zeros + blank + zeros + blank + zeros +
                  blank + zeros + blank + zeros);
}

TEST(CrashReport, OtherCodesHaveNoAccessAndTheirOwnDescription) {
    CSeException::Info info = Violation();
    EXPECT_STREQ(CSeException(info, {}).what(),
                 "Exception ACCESS_VIOLATION (0xc0000005) at address 0x00401a2b trying to write "
                 "address 0x7ffd12345678.");
    info.access = CSeException::Access::Read;
    info.accessAddress = 0;
    EXPECT_EQ(CSeException(info, {}).Description(),
              "Exception ACCESS_VIOLATION (0xc0000005) at address 0x00401a2b trying to read "
              "address 0x00000000.");

    info = Violation();  // a stale access in the record is not shown for other codes
    info.code = CSeException::IntDivideByZero;
    const CSeException division(info, {});
    EXPECT_EQ(division.Description(),
              "Exception INT_DIVIDE_BY_ZERO (0xc0000094) at address 0x00401a2b.");
    const std::string text = CrashReport::Text(division, {"a", "b", "Unknown", "Unknown"});
    EXPECT_NE(text.find("Access Type    : NA\r\nAccess Address : 00000000\r\n"), std::string::npos);
    EXPECT_NE(text.find("Filename       : Unknown\r\nVersion        : Unknown\r\n"),
              std::string::npos);

    info.code = 0xE06D7363;
    EXPECT_EQ(CSeException(info, {}).Description(), "Unknown exception.");
    EXPECT_STREQ(CSeException::Name(0x80000004), "SINGLE_STEP");
    EXPECT_STREQ(CSeException::Name(0xC00000FD), "STACK_OVERFLOW");
}

TEST(CrashReport, FrameChainEndsAtAZeroOrUnreadableFramePointer) {
    // Three frames: saved frame pointer, return address.
    std::uint64_t frames[3][2] = {};
    const auto at = [&](int i) { return reinterpret_cast<std::uint64_t>(frames[i]); };
    frames[0][0] = at(1), frames[0][1] = 0x1000;
    frames[1][0] = at(2), frames[1][1] = 0x2000;
    frames[2][0] = 0, frames[2][1] = 0x3000;  // the outermost frame
    CSeException::StackWords expected{};
    expected[0] = 0x1000, expected[1] = 0x2000;
    EXPECT_EQ(CSeException::CollectStack(at(0)), expected);

    frames[1][0] = 0x8;  // points nowhere: read through the kernel, no fault
    EXPECT_EQ(CSeException::CollectStack(at(0)), expected);
    EXPECT_EQ(CSeException::CollectStack(0), CSeException::StackWords{});

    // A chain longer than the trace fills all 32 words.
    frames[0][0] = at(0);
    CSeException::StackWords loop;
    loop.fill(0x1000);
    EXPECT_EQ(CSeException::CollectStack(at(0)), loop);
}

TEST(CrashReport, SignalsMapToCodesAndTheContextToTheRecord) {
    EXPECT_EQ(CSeException::CodeForSignal(SIGFPE, FPE_INTDIV), 0xC0000094u);
    EXPECT_EQ(CSeException::CodeForSignal(SIGFPE, FPE_INTOVF), 0xC0000095u);
    EXPECT_EQ(CSeException::CodeForSignal(SIGFPE, FPE_FLTDIV), 0xC000008Eu);
    EXPECT_EQ(CSeException::CodeForSignal(SIGFPE, FPE_FLTUND), 0xC0000093u);
    EXPECT_EQ(CSeException::CodeForSignal(SIGFPE, FPE_FLTINV), 0xC0000090u);
    EXPECT_EQ(CSeException::CodeForSignal(SIGILL, ILL_ILLOPN), 0xC000001Du);
    EXPECT_EQ(CSeException::CodeForSignal(SIGILL, ILL_PRVOPC), 0xC0000096u);
    EXPECT_EQ(CSeException::CodeForSignal(SIGBUS, BUS_ADRALN), 0x80000002u);
    EXPECT_EQ(CSeException::CodeForSignal(SIGBUS, BUS_ADRERR), 0xC0000006u);

    siginfo_t info{};
    ucontext_t context{};
    greg_t* gregs = context.uc_mcontext.gregs;
    gregs[REG_RIP] = 0x401a2b;
    gregs[REG_RSP] = 0x7ffd00000ff0;
    gregs[REG_RBP] = 0x7ffd00001000;
    gregs[REG_RAX] = 0x11, gregs[REG_RDI] = 0x66;
    gregs[REG_CSGSFS] = 0x002b000000000033;  // ss, fs, gs, cs
    context.uc_flags = 0x2;                  // the kernel saved ss
    gregs[REG_ERR] = 0x6;                    // user-mode write
    info.si_code = SEGV_MAPERR;
    info.si_addr = reinterpret_cast<void*>(0x10);
    CSeException::Info record = CSeException::FromSignal(SIGSEGV, info, context);
    EXPECT_EQ(record.code, CSeException::AccessViolation);
    EXPECT_EQ(record.address, 0x401a2bu);
    EXPECT_EQ(record.access, CSeException::Access::Write);
    EXPECT_EQ(record.accessAddress, 0x10u);
    EXPECT_EQ(record.registers.rax, 0x11u);
    EXPECT_EQ(record.registers.rdi, 0x66u);
    EXPECT_EQ(record.registers.rbp, 0x7ffd00001000u);
    EXPECT_EQ(record.registers.cs, 0x33);
    EXPECT_EQ(record.registers.ss, 0x2b);

    gregs[REG_ERR] = 0x4;  // user-mode read
    EXPECT_EQ(CSeException::FromSignal(SIGSEGV, info, context).access, CSeException::Access::Read);

    // Pushing below the stack's end is an overflow, not an access violation.
    info.si_addr = reinterpret_cast<void*>(0x7ffd00000fe8);
    record = CSeException::FromSignal(SIGSEGV, info, context);
    EXPECT_EQ(record.code, CSeException::StackOverflow);
    EXPECT_EQ(record.access, CSeException::Access::None);

    info.si_code = FPE_INTDIV;
    EXPECT_EQ(CSeException::FromSignal(SIGFPE, info, context).code, CSeException::IntDivideByZero);
}

}  // namespace
