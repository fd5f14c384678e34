// Readers of the values on layout and configuration lines: hex words, key sets, output codes.
// Each takes a cursor into a terminated wide text and moves it past what it read.
#pragma once

#include <cstdint>

#include "layoutfiles/model.h"

// A word of exactly four hex digits after optional blanks, not followed by a fifth digit. On true
// the word is stored and `text` moves past it and the blanks after it; the rest keeps its case.
bool ReadHexWord(const WChar*& text, uint16_t& word);

// Up to four scan words (key code byte not zero) into the leading slots of `set`; slots without a
// word keep their value and text after the fourth word is ignored. False at the first bad word.
bool ReadKeySet(const WChar* text, KeySet& set);

// One output code: prefix c, k or e (either case) and a hex word. Command values must be IDs that
// a layout may use.
bool ReadOutputCode(const WChar*& text, OutputKind& kind, uint16_t& value);

// Whether a layout may use this command ID.
bool IsLayoutCommand(uint16_t id);
