// The layout catalogue: the valid layout files of the program folder with their layout names.
#pragma once

#include <cstdint>

#include "layoutfiles/model.h"

// The catalogue stops at this many layouts; further files are not read.
constexpr int kMaxCatalogueEntries = 32;
constexpr size_t kCatalogueNameLength = 127;

struct LayoutCatalogueEntry {
  WChar fileName[kCatalogueNameLength];    // as listed, what a layout slot of the configuration stores
  WChar layoutName[kCatalogueNameLength];  // the layout's name
};

struct LayoutCatalogue {
  int32_t count;
  LayoutCatalogueEntry entries[kMaxCatalogueEntries];  // in the order of the folder listing
};

// Clears the catalogue and reads every "*.TVL" file of the program folder with the layout reader;
// a file that fails, or whose name the configuration file cannot store, is left out after its
// message has been shown. Always true.
bool BuildLayoutCatalogue(LayoutCatalogue& catalogue);
