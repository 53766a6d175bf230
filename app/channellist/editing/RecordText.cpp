#include "channellist/editing/RecordText.h"

#include <QList>

#include "channellist/Windows1252.h"

namespace RecordText {

QString ToQString(const std::string& bytes) {
    return QString::fromStdString(Windows1252ToUtf8(bytes));
}

std::string FromQString(const QString& text) {
    std::string bytes;
    if (Utf8ToWindows1252(text.toStdString(), bytes)) return bytes;
    // Convert character by character so that only the unmappable ones are lost.
    bytes.clear();
    for (const uint cp : text.toUcs4()) {
        const char32_t c = char32_t(cp);
        std::string one;
        if (Utf8ToWindows1252(QString::fromUcs4(&c, 1).toStdString(), one))
            bytes += one;
        else
            bytes += '?';
    }
    return bytes;
}

}  // namespace RecordText
