// The library: the ordered list of directories the dialog shows, the current one, and the lock
// the loader and the dialog share.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "fw/Sync.h"
#include "library/Directory.h"

namespace library {

// Owns its directories; removing one hands it back to the caller, deleting one destroys it.
//
// Threads: the list changes on the dialog thread and on the delete worker, always under Lock()
// (every member that changes the list takes it; it is recursive, so a caller may hold it
// already). The members that walk the list (IndexOf, FindByPath, NextDirectoryNumber) take it
// too; a caller that acts on their answer while another thread may change the list holds
// Lock() across both, as it does while it walks Directories() itself. The current directory is
// an atomic pointer any thread may read.
class Library {
 public:
  Library() = default;
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  fw::CriticalSection& Lock() const { return lock_; }

  const std::vector<std::unique_ptr<Directory>>& Directories() const { return directories_; }
  std::size_t Size() const { return directories_.size(); }
  bool IsEmpty() const { return directories_.empty(); }
  Directory& At(std::size_t index) const { return *directories_[index]; }
  std::optional<std::size_t> IndexOf(const Directory& directory) const;
  // The directory whose path is exactly `path` (letter case counts), or nullptr.
  Directory* FindByPath(std::wstring_view path) const;

  Directory& Append(std::unique_ptr<Directory> directory);
  // Appends all in their order.
  void AppendAll(std::vector<std::unique_ptr<Directory>> directories);
  // Takes the directory out of the list and hands it back; nullptr when it is not in the list.
  // A current directory stops being current.
  std::unique_ptr<Directory> Remove(const Directory& directory);
  // Puts `replacement` in the place of `old` (a current `old` makes it current) and hands `old`
  // back; nullptr, changing nothing, when `old` is not in the list.
  std::unique_ptr<Directory> Replace(const Directory& old, std::unique_ptr<Directory> replacement);
  // Removes and destroys it.
  void Delete(const Directory& directory);
  // Takes the first directory out of the list; nullptr when the list is empty.
  std::unique_ptr<Directory> TakeFirst();
  // Moves a directory up or down by swapping two entries.
  void Swap(std::size_t first, std::size_t second);

  Directory* Current() const { return current_.load(); }
  // `directory` is in the list, or nullptr.
  void SetCurrent(Directory* directory) { current_.store(directory); }

  // The smallest n >= 1 that no directory's image cache name carries.
  int NextDirectoryNumber() const;

 private:
  mutable fw::CriticalSection lock_;
  std::vector<std::unique_ptr<Directory>> directories_;
  std::atomic<Directory*> current_{nullptr};
};

// The process's library.
Library& TheLibrary();

// Empties the library at shut-down: each directory is taken off the head of the list in turn,
// its image cache written when dirty, and the directory destroyed. Host main thread, after the
// loader has stopped.
void EmptyLibrary(Library& library);
// The same for TheLibrary().
void EmptyLibrary();

}  // namespace library
