#pragma once
// The text of the detail window's description box, and the word wrapper that
// lays its description out in lines.
#include <string>
#include <string_view>
#include <vector>

class CEPGInfo;

namespace GuideDetailText {

/// Width of the description's lines, in characters.
constexpr int DescriptionWidth = 50;

/// The event's name, its short text with the duration, a blank line, and the
/// description wrapped at DescriptionWidth characters; every line ends with
/// "\r\n". UTF-8.
std::string Text(const CEPGInfo& record);

/// Lines of at most `width` characters (code points) of UTF-8 text. A line
/// ends at the last blank that keeps it within the width (the blank is
/// dropped); a word longer than the width is cut at the width. The first line
/// feed of the text ends a line too (later ones are ordinary characters). What
/// is left after the last break is the last line, even when it is empty.
std::vector<std::string> WrapWords(std::string_view utf8, int width);

}  // namespace GuideDetailText
