#include "guide/windows/GuideDetailText.h"

#include "guide/CEPGInfo.h"
#include "guide/WordWrap.h"
#include "guide/windows/GuideCells.h"

namespace GuideDetailText {

std::string Text(const CEPGInfo& record) {
    static constexpr const char* kEnd = "\r\n";
    std::string text = record.EventName + kEnd + record.ShortText + " (" +
                       GuideCells::Duration(record).toStdString() + ")" + kEnd + kEnd;
    for (const std::string& line : WrapWords(record.Description, DescriptionWidth))
        text += line + kEnd;
    return text;
}

}  // namespace GuideDetailText
