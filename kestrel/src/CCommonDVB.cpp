#include "kestrel/CCommonDVB.h"

CCommonDVB::~CCommonDVB() = default;
