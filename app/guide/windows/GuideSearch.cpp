#include "guide/windows/GuideSearch.h"

#include "guide/CEPGInfo.h"

namespace {

bool IsCombiningMark(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

bool Holds(const std::string& utf8, const QString& folded) {
    return GuideSearch::Fold(QString::fromStdString(utf8)).contains(folded);
}

}  // namespace

namespace GuideSearch {

QString Fold(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString bare;
    bare.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (!IsCombiningMark(c)) bare.append(c);
    return bare.toCaseFolded();
}

std::vector<const CEPGInfo*> Find(const std::vector<const CEPGInfo*>& records,
                                  const QString& query) {
    const QString folded = Fold(query);
    std::vector<const CEPGInfo*> hits;
    if (folded.isEmpty()) return hits;
    for (const CEPGInfo* record : records)
        if (record && (Holds(record->EventName, folded) || Holds(record->ShortText, folded) ||
                       Holds(record->Description, folded)))
            hits.push_back(record);
    return hits;
}

}  // namespace GuideSearch
