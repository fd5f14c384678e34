// The layout file reader: a TVL file of the program folder into a KeyLayout.
#pragma once

#include "layoutfiles/model.h"

// Reads and checks the layout file `fileName` (a name in the program folder, at most 62
// characters). False after the first fault, which has been shown in a message box naming the file
// and line; the layout then holds the lines read before it.
bool ReadLayoutFile(const WChar* fileName, KeyLayout& layout);

// The same for a layout text already in memory (zero-terminated, in the ANSI code page);
// `fileName` names it in the messages.
bool ReadLayoutText(const WChar* fileName, const char* text, KeyLayout& layout);
