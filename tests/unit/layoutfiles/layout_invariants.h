// What every layout that the reader accepted must satisfy, checked from the outside.
#pragma once

#include <string>

#include "layoutfiles/model.h"

// Empty when `layout` keeps every rule of an accepted layout, else the first rule it breaks.
std::string BrokenLayoutInvariant(const KeyLayout& layout);
