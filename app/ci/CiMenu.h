#pragma once
// The CI menu's rules without any window: the rows shown for a module text,
// the key a chosen row sends, and the keys of the two input fields. Texts are
// UTF-8 (the module's bytes are Windows-1252).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// One row of the menu list: its text and the key it sends (a choice's
/// number, 0 for every other row).
struct CiMenuRow {
    std::string text;
    int data = 0;
    bool operator==(const CiMenuRow&) const = default;
};

namespace CiMenu {

/// The rows of a module text (menu, list or string: three bytes, then
/// zero-terminated strings): title and an empty row, subtitle and an empty
/// row, the choices "1. ", "2. ", ... with their numbers, then an empty row
/// and the bottom text. Bytes 0x86 and 0x87 are dropped; a last string
/// without its zero is not shown. Nothing for a text shorter than 4 bytes.
std::optional<std::vector<CiMenuRow>> Rows(std::span<const std::uint8_t> message);

/// The key a double click on `row` sends: nothing without a selection (-1)
/// or on the first row, else the row's data.
std::optional<std::uint8_t> KeyForRow(const std::vector<CiMenuRow>& rows, int row);

/// The answer field's keys: each typed character minus '0', at most
/// `answerLength` of them (fewer when fewer were typed).
std::vector<std::uint8_t> AnswerKeys(std::string_view typed, int answerLength);

/// The key field's keys: exactly ten hexadecimal numbers separated by blanks,
/// written as 30 decimal digits (three per byte), of which the first
/// `answerLength` are sent as their values. Nothing when fewer than ten
/// numbers are found.
std::optional<std::vector<std::uint8_t>> KeyInputKeys(const std::string& typed, int answerLength);

}  // namespace CiMenu
