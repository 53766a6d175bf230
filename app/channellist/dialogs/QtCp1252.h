#pragma once
// Windows-1252 record strings at the Qt boundary, on top of the channel-list
// codec (channellist/Windows1252.h).
#include <QString>
#include <string>

/// Record bytes as shown in a dialog; every byte has its own character.
QString QStringFromCp1252(const std::string& bytes);

/// Dialog text back to record bytes. A character Windows-1252 cannot hold (a
/// surrogate pair counts as one, a lone surrogate too) becomes '?' and clears
/// `lossless`; the rest of the text is kept.
std::string QStringToCp1252(const QString& text, bool* lossless = nullptr);
