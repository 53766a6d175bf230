#pragma once
// The subcommands of dvbctl. Each returns the process exit code.
#include <cstdio>
#include <string>
#include <vector>

#include "Options.h"

/// Connects to the card when a command first needs it (dvbctl defers the
/// library's load-time connect); false, after the library's message on
/// standard error, when that fails. The command then exits with 1.
bool NeedCard();

int StatusCommand(const Options& o);
int TuneCommand(const Options& o);
/// Tunes the program --program of the channel list --svl (messages name the
/// command); 0 when the card locked. The tuning line goes to `report`.
int TuneFromList(const Options& o, const char* command, std::FILE* report = stdout);
/// dvbctl record [--svl LIST --program NAME] --seconds N FILE and
/// dvbctl play [--seconds N] FILE, through the card's recorder.
int RecordCommand(const std::vector<std::string>& args);
int PlayCommand(const std::vector<std::string>& args);
int SectionsCommand(const Options& o);
/// dvbctl scan --svl LIST --lnb NAME [--transponders FILE] --out NEW: a channel scan.
int ScanCommand(const Options& o);
/// dvbctl psi [--svl LIST --program NAME] [--timeout MS] [--root KEY].
int PsiCommand(const Options& o);
/// dvbctl teletext [--svl LIST --program NAME] --pid PID --page NNN [--sub N]
/// [--text | --html FILE] [--timeout S]: one page of the card's teletext.
int TeletextCommand(const std::vector<std::string>& args);
int KeyCommand(const std::string& code);
/// The on-screen display: dvbctl osd OPERATION ARGUMENTS.
int OsdCommand(const std::vector<std::string>& args);
/// One usage line per OSD operation.
void OsdUsage(std::FILE* out);
int SnapshotCommand(const std::string& file);
