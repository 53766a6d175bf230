#pragma once
#include <QJsonDocument>
#include <string>

#include "channellist/CSVLFile.h"

/// The JSON form of a channel list: every field of every record, byte blocks
/// as lower-case hex, strings as UTF-8 text of their Windows-1252 bytes.
/// LNB objects are listed once under "LnbObjects" with an "Id"; the table
/// "Lnbs" lists its keys in insertion order, each naming its object's Id (or
/// null), so keys that share one object name the same Id and the file's
/// pair order (a function of insertion order) is reproduced exactly.
QJsonDocument ListToJson(const CSVLFile& list);

/// The inverse of ListToJson. Missing fields take their default (0, empty);
/// a value of the wrong type or out of the field's range, malformed hex, a
/// character without a Windows-1252 byte, or an unknown LNB Id is an error:
/// returns false and fills `error` (German) with the path of the bad value.
bool ListFromJson(const QJsonDocument& json, CSVLFile& list, std::string& error);
