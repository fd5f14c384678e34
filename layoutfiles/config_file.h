// The configuration file "Tarvin.cfg" in the program folder: defaults, reading, writing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "layoutfiles/model.h"

extern const WChar kConfigFileName[];      // "Tarvin.cfg"
extern const WChar kConfigTempFileName[];  // the new file before it replaces the old one

// More than the longest file the writer produces.
constexpr size_t kConfigTextBytes = 2048;

// Zeroes the record, then sets every field to its default.
void SetConfigDefaults(MapperConfig& config);

// Reads the file over the current values: fields the file does not mention keep them. A missing
// or damaged file is replaced by a file of defaults (the record gets the defaults too); the result
// is then that of WriteConfig. A file that is there but cannot be read is left alone and the
// record keeps its values: false.
bool ReadConfig(MapperConfig& config);

// Writes the whole file; it replaces the old one in one step, so an interrupted write leaves the
// old file. Clamps the record's keypressTimeout once the file is written. False when it cannot be.
bool WriteConfig(MapperConfig& config);

// Character height of the hint font in pixels: the shell's system font size where there is one,
// else a ninth of an inch of the screen.
uint16_t DefaultHintFontSize();

// The file's text, without the file. ParseConfigText returns false at a bad number, with the
// record partly read; FormatConfigText writes what WriteConfig writes (timeout clamped).
bool ParseConfigText(const char* text, MapperConfig& config);
bool FormatConfigText(const MapperConfig& config, char* out, size_t capacity, size_t& length);

// Where a text stops coming back whole when written as a text value of the file and read again:
// the index of the first unit lost or changed (a comment sign, a line break, a blank at either
// end, a character the ANSI code page lacks, a cut), or -1 when it comes back as it was.
int ConfigTextLoss(const WChar* text);
