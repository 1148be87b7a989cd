// A folder of drawings read as the browser's loader reads a directory the first time (every
// *.dwg of any letter case, each probed for its version, preview, description and dates), into
// a directory of its own that no library holds: no cache is read or written.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/Directory.h"
#include "ui/Catalogue.h"

namespace catalogue {

struct FolderCatalogue {
  std::unique_ptr<library::Directory> directory;
  // The blocks in the order the block list shows them by default: by name, without regard to
  // case.
  std::vector<ui::CatalogueItem> items;
  // The drawings that could not be opened, with the reason.
  std::vector<std::wstring> problems;
};

// Told before each drawing is probed: its index from 0 and the count.
using ProbeProgress = std::function<void(std::size_t index, std::size_t count)>;

FolderCatalogue ReadFolder(const std::wstring& folder, const ProbeProgress& progress);

}  // namespace catalogue
