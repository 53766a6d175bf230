#pragma once
// German texts that several parts of the program show in the same place.
#include <QString>

namespace CommonText {
/// Pane 1 of the main window's status bar: the number of programs in the list.
inline QString ProgramCount(qint64 count) {
    return QStringLiteral("Anzahl Programme: %1").arg(count);
}
}  // namespace CommonText
