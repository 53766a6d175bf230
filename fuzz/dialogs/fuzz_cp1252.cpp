// Any bytes through the channel-list Windows-1252 codec and its QString side:
// read as record bytes they survive both round trips; read as UTF-8 text from
// the user interface, conversions never overrun and text the codec accepts (or
// the wrapper reports lossless) comes back unchanged.
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "channellist/Windows1252.h"
#include "channellist/dialogs/QtCp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::string back;
    if (!Utf8ToWindows1252(Windows1252ToUtf8(bytes), back) || back != bytes) std::abort();
    bool lossless = false;
    if (QStringToCp1252(QStringFromCp1252(std::string(bytes)), &lossless) != bytes || !lossless)
        std::abort();

    // The same bytes as UTF-8 text.
    std::string encoded;
    if (Utf8ToWindows1252(bytes, encoded) && Windows1252ToUtf8(encoded) != bytes) std::abort();
    if (encoded.size() > bytes.size()) std::abort();

    // And as UTF-16 code units of a dialog field (an odd last byte is dropped).
    QString units(static_cast<qsizetype>(size / 2), QChar());
    for (qsizetype i = 0; i < units.size(); ++i)
        units[i] = QChar(static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    const std::string fromUnits = QStringToCp1252(units, &lossless);
    if (fromUnits.size() > static_cast<std::size_t>(units.size())) std::abort();
    if (lossless && QStringFromCp1252(fromUnits) != units) std::abort();
    return 0;
}
