#include "channellist/editing/CTextReplacer.h"

#include "channellist/CProgramInfo.h"
#include "channellist/editing/RecordText.h"

namespace {
Qt::CaseSensitivity Sensitivity(bool matchCase) {
    return matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

std::vector<ProgramField> ChosenFields(const ReplaceOptions& o) {
    std::vector<ProgramField> fields;
    if (o.ChangesName()) fields.push_back(ProgramField::Name);
    if (o.ChangesProvider()) fields.push_back(ProgramField::Provider);
    if (o.ChangesLnbName()) fields.push_back(ProgramField::LnbName);
    return fields;
}
}  // namespace

bool CTextReplacer::FieldEquals(const std::string& field, const QString& search, bool matchCase) {
    return RecordText::ToQString(field).compare(search, Sensitivity(matchCase)) == 0;
}

bool CTextReplacer::FieldContains(const std::string& field, const QString& search, bool matchCase) {
    return RecordText::ToQString(field).contains(search, Sensitivity(matchCase));
}

std::vector<TextEdit> CTextReplacer::EditsFor(const CProgramInfo& program, std::size_t index,
                                              const ReplaceRequest& request) {
    std::vector<TextEdit> edits;
    const std::string replacement = RecordText::FromQString(request.replacement);
    for (const ProgramField field : ChosenFields(request.options)) {
        const std::string& value = FieldOf(program, field);
        if (FieldEquals(value, request.search, request.options.matchCase))
            edits.push_back({index, field, value, replacement});
    }
    return edits;
}

bool CTextReplacer::Matches(const CProgramInfo& program, const ReplaceRequest& request) {
    for (const ProgramField field : ChosenFields(request.options)) {
        if (FieldEquals(FieldOf(program, field), request.search, request.options.matchCase))
            return true;
    }
    return false;
}
