#pragma once
// The subcommands of dvbctl. Each returns the process exit code.
#include <cstdio>
#include <string>
#include <vector>

#include "Options.h"

int StatusCommand(const Options& o);
int TuneCommand(const Options& o);
int SectionsCommand(const Options& o);
int KeyCommand(const std::string& code);
/// The on-screen display: dvbctl osd OPERATION ARGUMENTS.
int OsdCommand(const std::vector<std::string>& args);
/// One usage line per OSD operation.
void OsdUsage(std::FILE* out);
int SnapshotCommand(const std::string& file);
