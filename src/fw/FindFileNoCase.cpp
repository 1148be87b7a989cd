// Finding a file or a folder whatever the letter case of its name. A loader probing every
// drawing of a folder asks for each drawing's side files, which are mostly absent; listing the
// folder for every question would make a folder of n drawings cost n listings. So listings are
// kept, and a kept listing is trusted only while the folder has not changed since well before it
// was made.
#include <sys/stat.h>

#include <chrono>
#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace fw {
namespace {

// Folders whose listings are kept, the most recently used first; a loader works on one folder
// at a time, so a few suffice.
constexpr std::size_t kKeptListings = 8;
// A folder with more files than this is listed for every question rather than kept in memory.
constexpr std::size_t kMaxKeptEntries = 100000;
// A folder changed less than this before its listing was made may change again within the same
// tick of its modification time unseen, so such a listing is not kept.
constexpr std::chrono::nanoseconds kSettledFor = std::chrono::seconds(2);

struct Listing {
  std::wstring folder;
  std::int64_t modifiedNs = 0;
  // Lower-case name -> the first such file's (or folder's) name, by name order.
  std::unordered_map<std::wstring, std::wstring> files;
  std::unordered_map<std::wstring, std::wstring> folders;

  const std::unordered_map<std::wstring, std::wstring>& Names(bool ofFolders) const {
    return ofFolders ? folders : files;
  }
};

std::mutex listingsLock;
std::list<Listing> listings;

std::optional<std::int64_t> ModifiedNs(const std::wstring& folder) {
  struct stat status {};
  const std::string path = NativePath(folder.empty() ? L"." : folder);
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return std::int64_t{status.st_mtim.tv_sec} * 1000000000 + status.st_mtim.tv_nsec;
}

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

Listing ListFolder(const std::wstring& folder, std::int64_t modifiedNs) {
  Listing listing{folder, modifiedNs, {}, {}};
  CFileFind finder;
  bool more = finder.FindFile(PathJoin(folder, L"*"));
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots()) continue;
    auto& names = finder.IsDirectory() ? listing.folders : listing.files;
    names.emplace(ToLower(finder.GetFileName()), finder.GetFileName());
  }
  return listing;
}

// The name of the file (or, with `ofFolders`, the folder) in `folder` whose name is `name`
// whatever its case, from a kept listing when it is still valid, else from a new one (kept
// when the folder has settled).
std::optional<std::wstring> FindInFolder(const std::wstring& folder, const std::wstring& name,
                                         bool ofFolders) {
  const std::wstring key = ToLower(name);
  const std::optional<std::int64_t> modified = ModifiedNs(folder);
  if (!modified) return std::nullopt;
  {
    std::lock_guard<std::mutex> guard(listingsLock);
    for (auto at = listings.begin(); at != listings.end(); ++at) {
      if (at->folder != folder) continue;
      if (at->modifiedNs != *modified) {
        listings.erase(at);
        break;
      }
      listings.splice(listings.begin(), listings, at);
      const auto& names = at->Names(ofFolders);
      auto found = names.find(key);
      if (found == names.end()) return std::nullopt;
      return found->second;
    }
  }
  Listing listing = ListFolder(folder, *modified);
  std::optional<std::wstring> result;
  const auto& names = listing.Names(ofFolders);
  if (auto found = names.find(key); found != names.end()) result = found->second;
  // The current folder is not kept: it is not named by its path, and may change.
  const bool settled = !folder.empty() && NowNs() - *modified >= kSettledFor.count();
  if (settled && listing.files.size() + listing.folders.size() <= kMaxKeptEntries) {
    std::lock_guard<std::mutex> guard(listingsLock);
    listings.push_front(std::move(listing));
    if (listings.size() > kKeptListings) listings.pop_back();
  }
  return result;
}

// The entry beside `path` whose name equals the path's name without regard to case.
std::optional<std::wstring> FindNoCase(std::wstring_view path, bool ofFolders) {
  const CFileName parts(path);
  const std::wstring name = parts.FileName();
  if (name.empty()) return std::nullopt;
  const std::wstring folder = FolderOf(path);
  std::optional<std::wstring> found = FindInFolder(folder, name, ofFolders);
  if (!found) return std::nullopt;
  return PathJoin(folder, *found);
}

}  // namespace

std::optional<std::wstring> FindFileNoCase(std::wstring_view path) {
  if (PathExists(path) && !IsDirectory(path)) return std::wstring(path);
  return FindNoCase(path, /*ofFolders=*/false);
}

std::optional<std::wstring> FindFolderNoCase(std::wstring_view path) {
  if (IsDirectory(path)) return std::wstring(path);
  return FindNoCase(path, /*ofFolders=*/true);
}

}  // namespace fw
