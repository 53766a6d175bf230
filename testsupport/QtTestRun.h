#pragma once
// Entry of the Qt-aware test programs.

namespace TestSupport {

/// Runs every registered test under a QApplication. Before the application
/// starts, HOME and the XDG config, data, cache and runtime folders point into
/// a fresh temporary folder (removed afterwards), desktop registration is off
/// and the platform is "offscreen" unless QT_QPA_PLATFORM says otherwise; so no
/// test reads or writes anything of the real user. `setUp` runs once the
/// application exists (default: the program's organisation and application
/// names for the settings store). Returns the test run's exit code, 2 when the
/// temporary folder cannot be made.
int RunQtTests(int argc, char** argv, void (*setUp)() = nullptr);

}  // namespace TestSupport
