#include "common/PrivateMessages.h"

#include <array>

// The process-wide tables. Entries are guarded pointers, so a window that goes
// goes away leaves an empty entry behind. A number outside the table throws
// std::out_of_range (a programming error, not an outside input).
QPointer<QObject>& PrivateMessages::windowSlot(MessageWindow role) {
    static std::array<QPointer<QObject>, std::size_t(MessageWindow::Count)> table;
    return table.at(std::size_t(role));
}

QPointer<QObject>& PrivateMessages::slot(int number) {
    static std::array<QPointer<QObject>, Msg::Last - Msg::First + 1> table;
    return table.at(std::size_t(number - Msg::First));
}
