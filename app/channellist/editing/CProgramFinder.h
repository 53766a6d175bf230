#pragma once
#include <QString>
#include <cstddef>
#include <optional>

class CListEditor;

/// The find dialog's search: the next row up or down whose program name contains the
/// text. The search runs from the row next to the first selected one to the end of the
/// list in the chosen direction and does not wrap around.
class CProgramFinder {
  public:
    enum class Direction { Up, Down };

    explicit CProgramFinder(CListEditor& editor) : editor_(editor) {}

    /// `fromStart` begins at the first row (down) or the last row (up) instead of next to
    /// the selection. Selects the row found and returns its program's document index;
    /// shows "Keine Übereinstimmung gefunden" when there is none.
    std::optional<std::size_t> Find(const QString& text, bool matchCase, Direction direction,
                                    bool fromStart);

  private:
    CListEditor& editor_;
};
