#pragma once
// dvbctl's usage text.
#include <cstdio>
#include <string>

/// Prints the usage text; 0 on standard output (--help), 2 (a usage error)
/// on standard error.
int Usage(std::FILE* out = stderr);
/// "dvbctl: MESSAGE" and the usage text on standard error; returns 2.
int UsageError(const std::string& message);
