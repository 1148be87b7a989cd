// Reading a folder for the catalogue: list, probe, order.
#include "FolderCatalogue.h"

#include <algorithm>

#include "dwgprobe/DrawingProbe.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "library/BlockProbe.h"

namespace catalogue {
namespace {

// The folder as the library keeps a path: without a trailing separator (but "/" stays).
std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 1 && path.back() == L'/') path.pop_back();
  return path;
}

void ListDrawings(library::Directory& d) {
  fw::CFileFind finder;
  bool more = finder.FindFile(fw::PathJoin(d.path, L"*.dwg"));
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDirectory()) continue;
    fw::CFileStatus status;
    if (!fw::GetFileStatus(finder.GetFilePath(), status)) continue;
    library::Block& b = d.AppendBlock();
    b.name = finder.GetFileTitle();
    b.currentStatus = library::Block::FileStatus::From(status);
    b.created = status.ctime;
    b.modified = status.mtime;
  }
}

}  // namespace

FolderCatalogue ReadFolder(const std::wstring& folder, const ProbeProgress& progress) {
  FolderCatalogue out;
  out.directory = std::make_unique<library::Directory>();
  library::Directory& d = *out.directory;
  d.path = WithoutTrailingSeparator(folder);
  d.description = d.path;
  ListDrawings(d);

  const std::size_t count = d.BlockCount();
  for (std::size_t i = 0; i < count; ++i) {
    if (progress) progress(i, count);
    library::Block& b = *d.Blocks()[i];
    library::Probe(d, b);
    b.checked = true;
    b.valid = true;
    b.cachedStatus = b.currentStatus;
    if (b.version == 0) {
      const dwgprobe::StoredPreview stored = dwgprobe::ReadStoredPreview(d.DrawingPath(b));
      if (!stored.opened) out.problems.push_back(std::wstring(b.name) + L".dwg: " + stored.error);
    }
  }

  std::vector<std::pair<std::wstring, const library::Block*>> byName;
  for (const auto& b : d.Blocks()) byName.emplace_back(fw::ToLower(b->name), b.get());
  std::stable_sort(byName.begin(), byName.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [key, block] : byName) {
    out.items.push_back(ui::CatalogueItem{block, block->imageIndex});
  }
  return out;
}

}  // namespace catalogue
