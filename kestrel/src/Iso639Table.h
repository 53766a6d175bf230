#pragma once
// The English ISO 639-2 language names (generated into Iso639Table.cpp by
// tools/iso639/make_tables.py). The list ends with an entry of empty code.
namespace kestrel::iso639 {

struct Entry {
    const char* code;
    const char* name;
};

extern const Entry kEnglish[];
extern const int kEnglishCount;  ///< entries before the empty one

}  // namespace kestrel::iso639
