#pragma once
// The subcommands of dvbctl. Each returns the process exit code.
#include "Options.h"

int StatusCommand(const Options& o);
int TuneCommand(const Options& o);
int SectionsCommand(const Options& o);
int KeyCommand(const Options& o);
