// Exec lines: the programs that a layout's command codes 0000..00FF start.
#pragma once

#include "layoutfiles/model.h"
#include "layoutfiles/reader_message.h"

// Reads "<ID> <path> [parameters]" and appends an ExecDef. A path in double quotes may hold
// blanks; path and parameters keep their case. On false `message` says why.
bool ReadExecLine(KeyLayout& layout, const WChar* value, ReaderMessage& message);
