#pragma once
#include <QString>
#include <cstdint>

/// Describes one column that a list window offers. The id is the column's
/// number in its list (0 to 31) and selects the cell text of the column.
struct CColumnDef {
    /// Header and cell alignment codes as stored in the settings.
    enum Align : std::int32_t { Left = 0, Right = 1, Centre = 2 };

    /// Flag bits with a meaning for the list control.
    static constexpr std::uint32_t FlagEditable = 0x01;
    static constexpr std::uint32_t FlagEditAid = 0x02;
    static constexpr std::uint32_t FlagNoEdit = 0x04;
    static constexpr std::uint32_t FlagImage = 0x40;  ///< cell shows an image, not text

    std::int32_t id = 0;
    std::int32_t align = Left;
    std::int32_t width = 0;
    std::int32_t image = -1;  ///< header image, -1 for none
    std::uint32_t flags = 0;
    QString text;    ///< header text (empty for none)
    QString textdt;  ///< second label
    QString descr;   ///< description

    bool IsImageColumn() const { return (flags & FlagImage) != 0; }
    /// Name shown in the column dialog: the description of an image column
    /// when it has one, otherwise the header text.
    QString DisplayName() const { return IsImageColumn() && !descr.isEmpty() ? descr : text; }

    bool operator==(const CColumnDef&) const = default;
};
