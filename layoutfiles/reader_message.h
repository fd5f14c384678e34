// The fault text that a line reader hands back for the layout reader to frame and report.
#pragma once

#include <cstddef>

#include "platform/platform.h"

using plat::WChar;

constexpr size_t kReaderMessageLength = 128;
using ReaderMessage = WChar[kReaderMessageLength];
