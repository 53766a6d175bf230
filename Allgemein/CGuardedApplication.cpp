#include "Allgemein/CGuardedApplication.h"

#include <setjmp.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "Allgemein/CCrashDialog.h"
#include "Allgemein/CSeException.h"
#include "Allgemein/CrashReport.h"

#if defined(__SANITIZE_ADDRESS__)
#define SVL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SVL_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef SVL_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#endif

namespace {

constexpr int FaultSignals[] = {SIGSEGV, SIGFPE, SIGILL, SIGBUS};
constexpr int FaultSignalCount = sizeof FaultSignals / sizeof FaultSignals[0];
// Room for the handler when the fault is a stack overflow.
constexpr std::size_t AltStackSize = 256 * 1024;
// The part below the stack pointer that a function may use without moving it.
constexpr std::uint64_t RedZone = 128;

struct sigaction previousActions[FaultSignalCount];
stack_t previousAltStack{};
std::unique_ptr<char[]> altStack;

pid_t uiThread = 0;
thread_local bool onUiThread = false;
// The innermost dispatch on the user-interface thread, null outside one.
sigjmp_buf* volatile armed = nullptr;
// Set once the report is on its way: later faults are not caught.
bool reporting = false;

// The fault as the handler saw it, for the dispatch it jumps to.
CSeException::Info faultInfo;
CSeException::StackWords faultStack;

// Hands the signal to the handler that was installed before the guard. A
// fault of the processor happens again when the handler returns; a signal
// that someone sent is sent again.
void PassOn(int signo, const siginfo_t* info) {
    for (int i = 0; i < FaultSignalCount; ++i) {
        if (FaultSignals[i] == signo) sigaction(signo, &previousActions[i], nullptr);
    }
    if (info->si_code <= 0) raise(signo);
}

void OnFault(int signo, siginfo_t* info, void* context) {
    sigjmp_buf* const jump = armed;
    if (jump == nullptr || info->si_code <= 0 || gettid() != uiThread) {
        PassOn(signo, info);
        return;
    }
    armed = nullptr;
    faultInfo = CSeException::FromSignal(signo, *info, *static_cast<const ucontext_t*>(context));
    // The frames are gone after the jump: their return addresses are read now.
    faultStack = CSeException::CollectStack(faultInfo.registers.rbp);
    siglongjmp(*jump, 1);
}

// The frames between the dispatch and the fault were left by a jump, not by
// returns. Under the address sanitizer their stack may still be marked as
// guard zones, and the report's own calls reuse that stack.
void ReleaseAbandonedFrames([[maybe_unused]] std::uint64_t faultStackPointer) {
#ifdef SVL_ADDRESS_SANITIZER
    char here = 0;
    const auto top = reinterpret_cast<std::uintptr_t>(&here);
    const std::uintptr_t bottom = faultStackPointer - RedZone;
    if (bottom < top) __asan_unpoison_memory_region(reinterpret_cast<void*>(bottom), top - bottom);
#endif
}

}  // namespace

CGuardedApplication::CGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
    uiThread = gettid();
    onUiThread = true;

    // The handler runs on a stack of its own, so that it runs after a stack
    // overflow too.
    altStack = std::make_unique<char[]>(AltStackSize);
    stack_t stack{};
    stack.ss_sp = altStack.get();
    stack.ss_size = AltStackSize;
    sigaltstack(&stack, &previousAltStack);

    struct sigaction action {};
    action.sa_sigaction = &OnFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < FaultSignalCount; ++i) {
        sigaction(FaultSignals[i], &action, &previousActions[i]);
    }
}

CGuardedApplication::~CGuardedApplication() {
    for (int i = 0; i < FaultSignalCount; ++i) {
        sigaction(FaultSignals[i], &previousActions[i], nullptr);
    }
    sigaltstack(&previousAltStack, nullptr);
    altStack.reset();
    onUiThread = false;
}

bool CGuardedApplication::notify(QObject* receiver, QEvent* event) {
    if (!onUiThread || reporting) return QApplication::notify(receiver, event);
    // Each dispatch arms its own jump and gives the outer one back when it
    // ends, so that events sent from inside an event handler are guarded too.
    sigjmp_buf jump;
    sigjmp_buf* const outer = armed;
    if (sigsetjmp(jump, 1) != 0) ReportCrash();
    armed = &jump;
    bool handled = false;
    try {
        handled = QApplication::notify(receiver, event);
    } catch (...) {
        armed = outer;
        throw;
    }
    armed = outer;
    return handled;
}

void CGuardedApplication::ReportCrash() {
    reporting = true;
    ReleaseAbandonedFrames(faultInfo.registers.rsp);
    auto exception = std::make_unique<CSeException>(faultInfo, faultStack);
    const std::string text =
        CrashReport::Text(*exception, {ApplicationName.toStdString(), SendTo.toStdString(),
                                       programPath_.toStdString(), versionText_.toStdString()});
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
    {
        CCrashDialog dialog(QString::fromStdString(text));
        dialog.exec();
    }
    exception.reset();
    // The state the fault left behind is unknown: no destructors, no saving,
    // no abort signal (the exit status would then be the signal, not 3).
    _exit(CrashExitCode);
}
