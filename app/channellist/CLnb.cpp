#include "channellist/CLnb.h"

void CLnb::Load(CArchiveReader& in) { layout::Load(*this, in); }

void CLnb::Store(CArchiveWriter& out) const { layout::Store(*this, out); }
