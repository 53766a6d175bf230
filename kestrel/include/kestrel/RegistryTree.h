#pragma once
// The text form of a key store subtree, as kregistry and dvbctl print it: the
// key path on the first line, then per level two more blanks of indent, each
// key's values before its subkeys:
//
//   SOFTWARE\Norvane\PSI\dvbctl
//     User Info = "dvbctl"
//     NumberOfPrograms = 2 (0x2)
//     P0000
//       Data = 0a 04 69 74 61 00
#include <string>

#include "kestrel/CRegistry.h"

namespace kestrel {

/// The tree below key ("" for the whole store, whose first line is "\").
std::string FormatRegistryTree(CRegistry& store, const std::string& key);

/// One value as the tree shows it ("text" in quotes, numbers decimal and hex, bytes in hex).
std::string FormatRegistryValue(const RegValue& value);

}  // namespace kestrel
