#pragma once
// The program's answers that need neither a card nor a display: --help (-h)
// and --version, on standard output before any application object exists
// and, through the library's load-time hook, before the card is connected.
// No Qt here: the hook runs before the program's static objects are built.

enum class ProgramInfoRequest { None, Help, Version };

/// The first of --help, -h or --version among the arguments before "--"
/// (argv[0] is the program itself).
ProgramInfoRequest InfoRequest(int argc, const char* const* argv);

/// The same for this process's command line, read from /proc/self/cmdline.
ProgramInfoRequest InfoRequestOfThisProcess();

/// Prints the help text or the version line on standard output; returns
/// the exit code 0.
int PrintProgramInfo(ProgramInfoRequest request);
