// Feeds arbitrary bytes to the parser of the single-instance hand-over message.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "frame/CSingleInstance.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString file;
    const auto state = CSingleInstance::ParseMessage(bytes, &file);
    if (state == CSingleInstance::MessageState::Complete) {
        // A complete message is one line within the limit.
        if (file.contains(u'\n') || file.toUtf8().size() >= CSingleInstance::MaxMessage)
            __builtin_trap();
    }
    return 0;
}
