#pragma once
// Lines of a guide text for a window of fixed-width characters.
#include <string>
#include <string_view>
#include <vector>

/// Lines of at most `width` characters (UTF-8 code points; a width below 1
/// counts as 1). A line ends at the last blank that keeps it within the width,
/// and the blank is dropped; a word longer than the width is cut at the width.
/// The first line feed of the text ends a line too (and is dropped); later
/// line feeds are ordinary characters of their line. What follows the last
/// break is the last line; an empty text, or an empty rest, gives no line.
std::vector<std::string> WrapWords(std::string_view utf8, int width);
