#pragma once
// How the program, LNB and stream dialogs show record fields and read them back.
// Pure functions on plain text, so that every rule is testable without widgets.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace FieldRules {

// ---- IDs and PIDs (display mode decimal "%d" or hexadecimal "%04X") ----------

/// The text of an ID or PID edit: "%04X" in hex mode, "%d" otherwise.
std::string FormatId(std::uint16_t value, bool hex);

/// Reads an ID or PID edit the way it was written. Hex mode reads at most four
/// characters of one hexadecimal number (sign and "0x" count); decimal mode reads
/// a decimal number up to its first non-digit, so "1FFF" gives 1. Leading white
/// space is skipped. A text without a number gives 0. The 16-bit field keeps the
/// low 16 bits of what was entered.
std::uint16_t ParseId(std::string_view text, bool hex);

// ---- whole numbers --------------------------------------------------------------

/// A whole number edit: optional white space, optional sign, decimal digits,
/// optional white space, nothing else, within 32 bits. nullopt otherwise; the
/// dialog then keeps the field's old value.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

/// LNB frequencies are edited in whole MHz: the shown text of a kHz field.
std::string FormatMHz(std::int32_t kHz);

/// The kHz value of a whole-MHz edit; nullopt when the text is not a whole
/// number or the value in kHz does not fit the 32-bit field.
std::optional<std::int32_t> ParseMHz(std::string_view text);

// ---- drop lists ---------------------------------------------------------------------

/// The entry to select for a stored index: `value` when it names one of `count`
/// entries, -1 (no selection) otherwise.
int ComboIndex(std::int64_t value, int count);

/// An entry of a local-oscillator list: shown text (MHz) and stored value (kHz).
struct LofEntry {
    const char* text;
    std::int32_t kHz;
};

/// "LOW Band LOF:" and "HIGH Band LOF:" entries in list order.
std::span<const LofEntry> LowBandLofEntries();
std::span<const LofEntry> HighBandLofEntries();

/// The first entry whose text begins with the field's value in whole MHz
/// (decimal); -1 when none does.
int LofIndex(std::span<const LofEntry> entries, std::int32_t kHz);

// ---- program kind ---------------------------------------------------------------

/// "Programmtype:" entry for a ProgramType: (bits 0 and 1) - 1, so -1 for none.
int KindIndex(std::uint32_t programType);

/// "Verschlüsselt:" entry for a ProgramType: 1 when bit 16 is set.
int EncryptedIndex(std::uint32_t programType);

/// ProgramType after OK: bits 0 and 1 become kindIndex + 1 and bit 16 the
/// encryption entry; every other bit stays. -1 leaves that part unchanged.
std::uint32_t ApplyKind(std::uint32_t programType, int kindIndex, int encryptedIndex);

}  // namespace FieldRules
