#pragma once

/// The program on a running QApplication: the settings store, the card on the
/// event loop, the frame with its extensions, the command line. Returns the
/// exit code.
int RunProgram();
