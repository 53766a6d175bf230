#pragma once
#include <QString>
#include <string>
#include <vector>

#include "channellist/editing/ReplaceOptions.h"
#include "channellist/editing/TextEdit.h"

class CProgramInfo;

/// The matching rules of search and replace, free of any window.
class CTextReplacer {
  public:
    /// True when the whole field equals `search` (case ignored unless `matchCase`).
    static bool FieldEquals(const std::string& field, const QString& search, bool matchCase);
    /// True when `search` occurs anywhere in the field.
    static bool FieldContains(const std::string& field, const QString& search, bool matchCase);
    /// The edits that replacing in this program makes: one per chosen field that equals the
    /// search text. Empty when the program does not match.
    static std::vector<TextEdit> EditsFor(const CProgramInfo& program, std::size_t index,
                                          const ReplaceRequest& request);
    /// True when at least one chosen field equals the search text.
    static bool Matches(const CProgramInfo& program, const ReplaceRequest& request);
};
