#pragma once

class CGuardedApplication;

/// The program on a running QApplication: the settings store, the card on the
/// event loop, the frame with its extensions, the command line. Returns the
/// exit code.
int RunProgram();

/// Gives the crash report the program file and its version text.
void DescribeProgramForCrashReport(CGuardedApplication& app);
