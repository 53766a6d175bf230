#pragma once
// The subcommands of dvbctl. Each returns the process exit code.
#include <string>

#include "Options.h"

int StatusCommand(const Options& o);
int TuneCommand(const Options& o);
int SectionsCommand(const Options& o);
int KeyCommand(const std::string& code);
int SnapshotCommand(const std::string& file);
