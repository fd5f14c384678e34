// Key, Key2 .. Key6 lines: one press level of a key definition.
#pragma once

#include "layoutfiles/model.h"
#include "layoutfiles/reader_message.h"

// Reads "<scan word> <codes>" into press level `pressLevel` (0 for Key .. 5 for Key6) of the key's
// definition, adding the definition when the scan word is new. The codes fill all eight columns:
// a column the line does not give copies a less specific one. On false `message` says why and the
// layout keeps no part of the line.
bool ReadKeyLine(KeyLayout& layout, int pressLevel, const WChar* value, ReaderMessage& message);
