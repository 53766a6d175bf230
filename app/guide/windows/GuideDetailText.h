#pragma once
// The text of the detail window's description box.
#include <string>

class CEPGInfo;

namespace GuideDetailText {

/// Width of the description's lines, in characters.
constexpr int DescriptionWidth = 50;

/// The event's name, its short text with the duration, a blank line, and the
/// description wrapped at DescriptionWidth characters; every line ends with
/// "\r\n". UTF-8.
std::string Text(const CEPGInfo& record);

}  // namespace GuideDetailText
