#include "layoutfiles/catalogue.h"

#include <cstdlib>
#include <cstring>

#include "layoutfiles/layout_error_box.h"
#include "layoutfiles/layout_reader.h"
#include "layoutfiles/program_folder.h"
#include "platform/wtext.h"

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
      if (!ReadLayoutFile(name, *scratch, error)) {
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
