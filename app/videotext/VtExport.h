#pragma once
// A page as an HTML file and as plain text.
#include <string>

#include "videotext/VtCells.h"

namespace vt {

/// The whole HTML file for one page (bytes, ISO 8859-1), from the header line
/// "<!doctype html ..." to "</b></tt></body></html>"; `page` is the cached
/// record with its export header already stamped.
std::string HtmlExport(const PageChars& page, std::uint8_t national);

/// The export of a cached record: its header stamped ("%3x.%02x", written
/// into `page`) and then the HTML file of it.
std::string ExportRecord(PageChars& page, std::uint8_t national, int pageNumber, int subpageIndex);

/// The file name of an export: "<dir>/<source>/VT%03d-%02d.html".
std::string ExportFileName(const std::string& directory, int pageNumber, int subpageIndex);
constexpr const char* kSourceName = "Unbekannt";

/// The page as 25 lines of 40 characters in UTF-8, national characters
/// applied, mosaic and control cells as spaces; each line ends with '\n'.
std::string PageText(const PageChars& page, std::uint8_t national);

}  // namespace vt
