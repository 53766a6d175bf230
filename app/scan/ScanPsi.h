#pragma once
// The decoded program tables of one transponder as the card's PSI decoder
// leaves them in the key store: the record the scan builds its programs from.
// Only the record is used here; reading it from the store is the card's part.
#include "kestrel/PsiTree.h"
