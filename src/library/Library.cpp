// The library's list operations, its numbering of image caches, and emptying it at shut-down.
#include "library/Library.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "library/CacheFiles.h"

namespace library {

Library::~Library() {
  current_.store(nullptr);
  directories_.clear();
}

std::optional<std::size_t> Library::IndexOf(const Directory& directory) const {
  std::lock_guard<fw::CriticalSection> hold(lock_);
  for (std::size_t i = 0; i < directories_.size(); ++i) {
    if (directories_[i].get() == &directory) return i;
  }
  return std::nullopt;
}

Directory* Library::FindByPath(std::wstring_view path) const {
  std::lock_guard<fw::CriticalSection> hold(lock_);
  for (const auto& directory : directories_) {
    if (directory->path == path) return directory.get();
  }
  return nullptr;
}

Directory& Library::Append(std::unique_ptr<Directory> directory) {
  std::lock_guard<fw::CriticalSection> hold(lock_);
  directories_.push_back(std::move(directory));
  return *directories_.back();
}

void Library::AppendAll(std::vector<std::unique_ptr<Directory>> directories) {
  std::lock_guard<fw::CriticalSection> hold(lock_);
  for (auto& directory : directories) directories_.push_back(std::move(directory));
}

std::unique_ptr<Directory> Library::Remove(const Directory& directory) {
  std::lock_guard<fw::CriticalSection> hold(lock_);
  std::optional<std::size_t> index = IndexOf(directory);
  if (!index) return nullptr;
  if (current_.load() == &directory) current_.store(nullptr);
  std::unique_ptr<Directory> removed = std::move(directories_[*index]);
  directories_.erase(directories_.begin() + static_cast<std::ptrdiff_t>(*index));
  return removed;
}

std::unique_ptr<Directory> Library::Replace(const Directory& old,
                                           std::unique_ptr<Directory> replacement) {
  std::lock_guard<fw::CriticalSection> hold(lock_);
  std::optional<std::size_t> index = IndexOf(old);
  if (!index) return nullptr;
  Directory* fresh = replacement.get();
  std::unique_ptr<Directory> replaced = std::exchange(directories_[*index], std::move(replacement));
  if (current_.load() == &old) current_.store(fresh);
  return replaced;
}

void Library::Delete(const Directory& directory) { Remove(directory).reset(); }

std::unique_ptr<Directory> Library::TakeFirst() {
  std::lock_guard<fw::CriticalSection> hold(lock_);
  if (directories_.empty()) return nullptr;
  return Remove(*directories_.front());
}

void Library::Swap(std::size_t first, std::size_t second) {
  std::lock_guard<fw::CriticalSection> hold(lock_);
  std::swap(directories_.at(first), directories_.at(second));
}

int Library::NextDirectoryNumber() const {
  std::vector<int> taken;
  {
    std::lock_guard<fw::CriticalSection> hold(lock_);
    taken.reserve(directories_.size());
    for (const auto& directory : directories_) taken.push_back(directory->CacheNumber());
  }
  std::sort(taken.begin(), taken.end());
  int candidate = 1;
  for (int number : taken) {
    if (number == candidate) ++candidate;
    if (number > candidate) break;
  }
  return candidate;
}

Library& TheLibrary() {
  static Library library;
  return library;
}

void EmptyLibrary(Library& library) {
  // Resetting the images before the directory is destroyed would only build placeholders that
  // are freed at once, so the directory is destroyed with the images it holds.
  while (std::unique_ptr<Directory> directory = library.TakeFirst()) {
    if (directory->imagesDirty) (void)WriteImageCache(*directory);
  }
}

void EmptyLibrary() { EmptyLibrary(TheLibrary()); }

}  // namespace library
