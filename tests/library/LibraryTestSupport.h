// Shared pieces of the library's tests: a fixture that records what the user would see (message
// boxes, command line, run log) in a fresh folder, and builders and checks of directories.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "fw/Bitmap.h"
#include "fw/ImageList.h"
#include "fw/HeadlessUiDriver.h"
#include "library/Directory.h"
#include "minicad/Host.h"
#include "support/TempFolder.h"

namespace librarytest {

using Lines = std::vector<std::wstring>;
using Bytes = std::vector<std::uint8_t>;

// Each test gets a temporary folder, a host whose command line is captured, a headless UI
// driver and a captured run log; compression starts on, as in a new process.
class LibraryTest : public ::testing::Test {
 protected:
  LibraryTest();
  ~LibraryTest() override;

  std::wstring TakeConsole() { return host_.TakeConsoleText(); }
  Lines TakeLog();
  std::vector<fw::HeadlessUiDriver::ShownMessage> TakeMessages() { return ui_.TakeMessages(); }
  std::wstring PathOf(const std::wstring& name) const { return folder_ / name; }

  testsupport::TempFolder folder_;
  fw::HeadlessUiDriver ui_;
  minicad::Host host_;

 private:
  std::mutex logLock_;
  Lines log_;
};

// A directory with every stored field away from its default and `blockCount` blocks, some
// checked since validation and some not.
std::unique_ptr<library::Directory> MakeFullDirectory(const std::wstring& path,
                                                      const std::wstring& cacheFile,
                                                      int blockCount);
// The directory's main cache record. The layout itself is pinned byte for byte elsewhere, so
// two directories with equal records agree on every stored field.
Bytes RecordBytes(const library::Directory& directory);

// Appends one single-coloured image to each of the directory's lists, as the probe does.
void AddPreview(library::Directory& directory, fw::COLORREF colour);
void ExpectSameImages(const fw::CImageList& expected, const fw::CImageList& actual);
// The platform's placeholder, pixel for pixel.
bool IsPlaceholder(const fw::Bitmap& image);

Bytes ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const Bytes& bytes);
Bytes Prefix(const Bytes& bytes, std::size_t length);

}  // namespace librarytest
