#pragma once
#include <cstddef>

#include "channellist/editing/ReplaceOptions.h"

class CListEditor;

/// What the replace dialog's buttons do, without the dialog: it remembers the position
/// and the count of the row-by-row replacement between clicks and shows the result
/// messages through the editor's message sink.
class CReplaceSession {
  public:
    explicit CReplaceSession(CListEditor& editor) : editor_(editor) {}

    /// "&Alle Ersetzen": every row of the scope in list order, one undoable step.
    /// Returns the number of replaced rows.
    int ReplaceAll(const ReplaceRequest& request);
    /// "&Ersetzen": with scope "A&uswahl" as ReplaceAll; with "Gesa&mt-Datei" one row per
    /// call from the remembered position, and the report once the end is reached.
    /// Returns true when a row was replaced by this call.
    bool ReplaceNext(const ReplaceRequest& request);
    /// "&Weitersuchen": selects the next row after the current one whose chosen fields
    /// equal the search text (whole-field match). Returns true when one was found.
    bool FindNext(const ReplaceRequest& request);

    /// Editing either text resets the position and the count.
    void Reset() { position_ = 0, count_ = 0; }
    std::size_t Position() const { return position_; }
    int Count() const { return count_; }

  private:
    int ReplaceRows(const ReplaceRequest& request, const char* caption);
    void Report(int count, const char* caption);

    CListEditor& editor_;
    std::size_t position_ = 0;
    int count_ = 0;
};
