// A KeyLayout as text, one item a line, for layout authors and for comparing layouts.
#pragma once

#include <string>

#include "layoutfiles/model.h"

std::string DumpLayout(const KeyLayout& layout);
