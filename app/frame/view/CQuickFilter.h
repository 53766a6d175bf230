#pragma once
#include <QString>
#include <string>
#include <string_view>

class CProgramInfo;

/// The quick filter of the program list: a program is shown when its name or its
/// provider contains the text, without regard to case. The test runs on the records'
/// own Windows-1252 bytes, so that a keystroke over 100 000 programs converts nothing.
class CQuickFilter {
  public:
    CQuickFilter() = default;
    explicit CQuickFilter(const QString& text);

    bool Empty() const { return needle_.empty() && !impossible_; }
    bool Admits(const CProgramInfo& program) const;

    /// A byte of Windows-1252 text with upper-case letters (ASCII and Latin-1) made lower.
    static unsigned char Fold(unsigned char byte);

  private:
    bool Contains(std::string_view haystack) const;

    std::string needle_;       // folded bytes
    bool impossible_ = false;  // the text has a character no list can hold
};
