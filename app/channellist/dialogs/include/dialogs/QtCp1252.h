#pragma once
// Windows-1252 record strings at the Qt boundary.
#include <QString>
#include <string>

#include "dialogs/Cp1252.h"

inline QString QStringFromCp1252(const std::string& bytes) {
    return QString::fromStdU16String(Cp1252::ToUtf16(bytes));
}

inline std::string QStringToCp1252(const QString& text, bool* lossless = nullptr) {
    return Cp1252::FromUtf16(text.toStdU16String(), lossless);
}
