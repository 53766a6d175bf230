#pragma once
#include <QString>
#include <vector>

#include "Allgemein/CColumnDef.h"

class QSettings;

/// The columns a list offers (in the order the owning window adds them) and
/// the ordered set of ids actually shown. Saved per list under the group
/// "GfxLists/<list name>" of the settings store.
class CColumnLayout {
  public:
    void AddColumn(const CColumnDef& def);
    void SetShown(std::vector<int> ids) { shown_ = std::move(ids); }

    const std::vector<CColumnDef>& Definitions() const { return defs_; }
    const std::vector<int>& Shown() const { return shown_; }

    const CColumnDef* Find(int id) const;
    CColumnDef* Find(int id);
    /// Definitions of the shown set in shown order; ids without a definition are skipped.
    std::vector<CColumnDef> ShownDefinitions() const;

    /// Stores `widths[i]` as the width of the definition shown at position i.
    /// Positions are handled from the last to the first, so when an id is
    /// shown twice its first position wins.
    void TakeWidths(const std::vector<int>& widths);

    /// Writes the layout into the group of `listName`. The settings object is
    /// left at the group it was at.
    void Save(QSettings& settings, const QString& listName) const;
    /// Reads a stored layout over the built-in one. Nothing stored ("NumDef"
    /// absent or 0) keeps the built-in layout; stored definitions whose id is
    /// no longer offered are ignored.
    void Load(QSettings& settings, const QString& listName);

    /// The settings group of a list: "GfxLists" then the list's name.
    static QString GroupOf(const QString& listName);

  private:
    void LoadDefinition(QSettings& settings, int position);

    std::vector<CColumnDef> defs_;
    std::vector<int> shown_;
};
