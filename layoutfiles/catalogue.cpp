#include "layoutfiles/catalogue.h"

#include <cstdlib>
#include <cstring>

#include "layoutfiles/config_file.h"
#include "layoutfiles/layout_error_box.h"
#include "layoutfiles/layout_reader.h"
#include "layoutfiles/program_folder.h"
#include "platform/wtext.h"

namespace {

// A listed name is what a layout slot of the configuration file stores, and that file has no
// escape: a name that would not come back from it would name no file, and the engine would not
// start. Names too long for a layout are left to the reader's own message.
bool NameFitsConfiguration(const WChar* name, LayoutError& error) {
  if (wtext::Length(name) >= kConfigTextLength) return true;
  const int at = ConfigTextLoss(name);
  if (at < 0) return true;
  const WChar unit = name[at];
  const bool pair = unit >= 0xD800 && unit <= 0xDBFF && name[at + 1] >= 0xDC00 && name[at + 1] <= 0xDFFF;
  WChar character[32];
  if (pair) {
    const unsigned code = 0x10000u + ((unit - 0xD800u) << 10) + (name[at + 1] - 0xDC00u);
    wtext::Format(character, 32, u"\"%c%c\" (U+%X)", unit, name[at + 1], code);
  } else if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || (unit >= 0xD800 && unit <= 0xDFFF)) {
    wtext::Format(character, 32, u"U+%04X", static_cast<unsigned>(unit));  // nothing to show
  } else {
    wtext::Format(character, 32, u"\"%c\" (U+%04X)", unit, static_cast<unsigned>(unit));
  }
  ClearLayoutError(error);
  error.box = PlainErrorBox;
  wtext::Copy(error.fileName, kLayoutErrorNameLength, name);
  wtext::Format(error.text, kLayoutErrorTextLength,
                u"Layout file \"%s\" is left out: its name holds the character %s, which the configuration file "
                u"cannot store",
                name, character);
  return false;
}

}  // namespace

bool BuildLayoutCatalogue(LayoutCatalogue& catalogue) {
  std::memset(&catalogue, 0, sizeof catalogue);
  WChar pattern[kMaxPathLength];
  if (!ProgramFolderPath(u"*.TVL", pattern, kMaxPathLength)) return true;
  auto* scratch = static_cast<KeyLayout*>(std::malloc(sizeof(KeyLayout)));
  if (scratch == nullptr) return true;

  // A name too long for the listing's buffer comes back cut; the reader refuses it as too long
  // rather than reading another file.
  WChar name[kMaxPathLength];
  LayoutError error;
  plat::FileList find = plat::OpenFileList(pattern, name, kMaxPathLength);
  if (find != nullptr) {
    do {
      if (catalogue.count >= kMaxCatalogueEntries) break;
      if (!NameFitsConfiguration(name, error) || !ReadLayoutFile(name, *scratch, error)) {
        ShowLayoutError(error);  // the user learns of a broken layout before the settings open
        continue;
      }
      LayoutCatalogueEntry& entry = catalogue.entries[catalogue.count];
      wtext::Copy(entry.fileName, kCatalogueNameLength, name);
      wtext::Copy(entry.layoutName, kCatalogueNameLength, scratch->name);
      ++catalogue.count;
    } while (plat::NextListedFile(find, name, kMaxPathLength));
    plat::CloseFileList(find);
  }
  std::free(scratch);
  return true;
}
