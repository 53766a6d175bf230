#pragma once
// The search of the schedule list: events whose name, short text or
// description hold the searched text, without regard to case or accents.
#include <QString>
#include <vector>

class CEPGInfo;

namespace GuideSearch {

/// The text as the search compares it: decomposed, without its combining
/// marks, case-folded ("MÜNCHEN" and "München" both become "munchen").
QString Fold(const QString& text);

/// The records (in their order) whose EventName, ShortText or Description
/// hold `query`, both folded. An empty query finds nothing.
std::vector<const CEPGInfo*> Find(const std::vector<const CEPGInfo*>& records,
                                  const QString& query);

}  // namespace GuideSearch
