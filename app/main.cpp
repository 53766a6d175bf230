// SVL_Editor: channel-list editor and TV application.
#include "Allgemein/CGuardedApplication.h"
#include "receiver/CCardFailureReport.h"
#include "shell/ProgramHelp.h"
#include "shell/ProgramMain.h"

// Called by the client library before main when it cannot reach the card; the
// library has written the message to standard error and ends the process
// with exit code 1 once this returns.
extern "C" void KestrelReportFatal(const char* message) { CCardFailureReport::Show(message); }

// Asked by the client library when it is loaded: the help and the version
// answer without a card, every other start connects then.
extern "C" int KestrelDeferConnectAtLoad(void) {
    return InfoRequestOfThisProcess() != ProgramInfoRequest::None;
}

int main(int argc, char** argv) {
    // Before any application object: no display is needed for these.
    if (const ProgramInfoRequest info = InfoRequest(argc, argv); info != ProgramInfoRequest::None)
        return PrintProgramInfo(info);
    // A processor exception in the handling of an event shows the crash
    // report and ends the program with exit code 3.
    CGuardedApplication app(argc, argv);
    DescribeProgramForCrashReport(app);
    return RunProgram();
}
