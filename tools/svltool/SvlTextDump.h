#pragma once
#include <string>

#include "channellist/CSVLFile.h"

/// A readable text listing of a channel list (UTF-8): one block per program
/// with its streams, then the LNB table in file order.
std::string ListToText(const CSVLFile& list);
