#pragma once
#include <cstddef>
#include <string>

#include "channellist/CProgramInfo.h"

/// The three program texts that search and replace works on.
enum class ProgramField { Name, Provider, LnbName };

/// One replaced text of one program: enough to apply the change and to take it back.
struct TextEdit {
    std::size_t index = 0;  ///< document index of the program
    ProgramField field = ProgramField::Name;
    std::string before;  ///< Windows-1252 bytes
    std::string after;   ///< Windows-1252 bytes

    bool operator==(const TextEdit&) const = default;
};

/// The field of the program that `field` names.
inline std::string& FieldOf(CProgramInfo& program, ProgramField field) {
    switch (field) {
        case ProgramField::Provider:
            return program.Provider;
        case ProgramField::LnbName:
            return program.LnbName;
        case ProgramField::Name:
            break;
    }
    return program.Name;
}
inline const std::string& FieldOf(const CProgramInfo& program, ProgramField field) {
    return FieldOf(const_cast<CProgramInfo&>(program), field);
}
