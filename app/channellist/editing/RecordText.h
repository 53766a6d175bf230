#pragma once
#include <QString>
#include <string>

/// Conversion between the Windows-1252 bytes of the records and the text of the widgets.
namespace RecordText {
QString ToQString(const std::string& bytes);
/// Characters that Windows-1252 cannot hold become '?'.
std::string FromQString(const QString& text);
}  // namespace RecordText
