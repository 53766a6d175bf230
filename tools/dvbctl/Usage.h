#pragma once
// dvbctl's usage text.
#include <cstdio>
#include <string>

/// Prints the whole usage text on standard output (--help) and returns 0;
/// on standard error (after a usage error) only the synopsis and the hint
/// "Hilfe: dvbctl --help", and returns 2.
int Usage(std::FILE* out = stderr);
/// "dvbctl: MESSAGE", the synopsis and the hint on standard error; returns 2.
int UsageError(const std::string& message);
