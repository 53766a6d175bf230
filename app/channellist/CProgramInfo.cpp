#include "channellist/CProgramInfo.h"

#include <algorithm>

static_assert(alignof(CProgramInfo) <= RecordArena::Alignment);

void CProgramInfo::Load(CArchiveReader& in) { layout::Load(*this, in); }

// The whole record is sized first and written in one piece.
void CProgramInfo::Store(CArchiveWriter& out) const { layout::Store(*this, out); }

std::string CProgramInfo::KindText() const {
    switch (Kind()) {
        case ProgramKind::Data:
            return "Data";
        case ProgramKind::TV:
            return IsEncrypted() ? "TV Verschlüsselt" : "TV";
        case ProgramKind::Radio:
            return IsEncrypted() ? "Radio Verschlüsselt" : "Radio";
    }
    return {};
}
