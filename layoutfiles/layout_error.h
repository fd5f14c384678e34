// The layout reader's message when it refuses a file, as data: the programs show it in a message
// box, host tools print it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "layoutfiles/program_folder.h"
#include "layoutfiles/reader_message.h"

enum LayoutErrorBox : uint8_t {
  NoLayoutError = 0,
  PlainErrorBox = 1,   // a plain box titled "Error": the file cannot be opened, it or its name is too long
  ReaderErrorBox = 2,  // "Error reading layout": a fault in the file, named by file and line
};

// Names come from folder listings (at most kMaxPathLength - 1 units) and layout slots (fewer), so a
// name and the message around it always fit whole.
constexpr size_t kLayoutErrorNameLength = kMaxPathLength;
constexpr size_t kLayoutErrorTextLength = kMaxPathLength + 2 * kReaderMessageLength;

struct LayoutError {
  uint8_t box;                             // LayoutErrorBox
  int32_t lineNumber;                      // reader errors: the line, one past the last for faults found at the end
  WChar fileName[kLayoutErrorNameLength];  // as the caller named the file
  // Reader errors: the fault alone; plain errors: the whole sentence, which names the file.
  WChar text[kLayoutErrorTextLength];
};

void ClearLayoutError(LayoutError& error);

// The text of the box: "<file>(<line>): <fault>" for a reader error, the sentence for a plain one,
// empty for none. False when it did not fit `capacity` (kLayoutErrorTextLength always does).
bool FormatLayoutError(const LayoutError& error, WChar* text, size_t capacity);
