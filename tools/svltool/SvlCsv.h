#pragma once
// The CSV form of a channel list (RFC 4180, UTF-8), for editing in a
// spreadsheet: one row per record of the JSON form, one column per field.
#include <QByteArray>
#include <string>

#include "channellist/CSVLFile.h"

/// The first column, "Satz", names the row's record: "Liste" (the list's
/// Reserved value), "Programm" (in list order), "LNB-Objekt" (an LNB with its
/// Id) and "LNB" (a table key and the Id of its object, empty for none). The
/// other columns carry the fields under their JSON names; a row leaves the
/// columns of other records empty. Streams are the JSON array text of the
/// program's streams. Rows end in CRLF; fields with a comma, quote or line
/// break are quoted. The round trip stores the list byte for byte.
QByteArray ListToCsv(const CSVLFile& list);

/// The inverse of ListToCsv. The header names the columns (any order, any
/// subset); empty cells take the field's default. Malformed CSV, an unknown
/// column or record, or a value ListFromJson refuses is an error: returns
/// false and fills `error` (German) with the row and column.
bool ListFromCsv(const QByteArray& csv, CSVLFile& list, std::string& error);
