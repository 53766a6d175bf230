#include "channellist/dialogs/QtCp1252.h"

#include <QStringView>

#include "channellist/Windows1252.h"

namespace {

// Length in UTF-16 units of the character at `i`: 2 for a surrogate pair.
qsizetype CharLength(const QString& text, qsizetype i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return pair ? 2 : 1;
}

// The byte of one character, or false when Windows-1252 has none.
bool EncodeChar(QStringView ch, std::string& out) {
    if (ch.size() == 1 && ch.front().isSurrogate()) return false;  // lone half of a pair
    std::string byte;
    if (!Utf8ToWindows1252(ch.toUtf8().toStdString(), byte)) return false;
    out += byte;
    return true;
}

}  // namespace

QString QStringFromCp1252(const std::string& bytes) {
    return QString::fromStdString(Windows1252ToUtf8(bytes));
}

std::string QStringToCp1252(const QString& text, bool* lossless) {
    if (lossless) *lossless = true;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = CharLength(text, i);
        if (!EncodeChar(QStringView(text).mid(i, n), bytes)) {
            bytes.push_back('?');
            if (lossless) *lossless = false;
        }
        i += n;
    }
    return bytes;
}
