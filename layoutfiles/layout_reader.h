// The layout file reader: a TVL file of the program folder into a KeyLayout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "layoutfiles/layout_error.h"
#include "layoutfiles/line_reader.h"
#include "layoutfiles/model.h"

// Reads and checks the layout file `fileName` (a name in the program folder, at most 62
// characters). False after the first fault, with `error` naming the file, the line and the fault;
// the layout then holds the lines read before it. A file longer than kMaxTextBytes is refused
// whole. On true `error` says NoLayoutError. The reader shows nothing: the caller shows or prints
// the error.
bool ReadLayoutFile(const WChar* fileName, KeyLayout& layout, LayoutError& error);

// Where the bytes of a layout file come from: at most `capacity` bytes of the file `fileName` into
// `buffer`; false when it cannot be opened or read.
struct LayoutFileSource {
  bool (*read)(void* context, const WChar* fileName, uint8_t* buffer, size_t capacity, size_t* bytesRead);
  void* context;
};

// ReadLayoutFile with the file's bytes and their code page from elsewhere (a host tool reading the
// host's files); the limits, the buffer and every message are those of ReadLayoutFile.
bool ReadLayoutFileFrom(const WChar* fileName, const LayoutFileSource& source, const AnsiDecoder& decoder,
                        KeyLayout& layout, LayoutError& error);

// The same for a layout text already in memory (zero-terminated, in the ANSI code page);
// `fileName` names it in the messages.
bool ReadLayoutText(const WChar* fileName, const char* text, KeyLayout& layout, LayoutError& error,
                    const AnsiDecoder& decoder = kDeviceAnsi);
