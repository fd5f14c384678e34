// Cutting wide text to a field without leaving half a character behind.
#pragma once

#include <cstddef>

#include "platform/platform.h"

using plat::WChar;

// Copies at most capacity-1 units of `source`, ending before a surrogate pair that would not fit
// whole. True when all of it fit.
bool CopyWholeCharacters(WChar* destination, size_t capacity, const WChar* source);

// The number of units of `text` (at most `maxUnits`) that end on a character boundary.
size_t WholeCharacterLength(const WChar* text, size_t maxUnits);
