#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "channellist/CSVLFile.h"

/// Size of one record of a .dvb channel list.
constexpr std::size_t DvbRecordSize = 64;

/// Fills `list` with the four LNB configurations that every imported list
/// carries ("Astra 19°", "Hotbird 13°", "Universal 1", "Universal 2", in this
/// insertion order; names in Windows-1252).
void AddDvbImportLnbs(CSVLFile& list);

/// Turns the bytes of a .dvb channel list into a channel list: one program per
/// program record, the provider of the last provider record before it, and the
/// four fixed LNB configurations. On success `list` holds the result (Loaded
/// stays false: the list has not been read from an .svl file).
///
/// A file whose length is not a multiple of 64 bytes, or with a record that
/// does not begin with "DVSO", is not importable: the result is false, `list`
/// is left empty and `reason` (when given) says why in German. The menu
/// command aborts silently in that case; the command-line tool prints it.
bool ImportDvbList(std::span<const std::uint8_t> bytes, CSVLFile& list, std::string* reason);
