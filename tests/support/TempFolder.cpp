#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace testsupport {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qrva-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = fw::FromNativePath(pattern);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(fw::NativePath(path_), ignored);
}

std::wstring TempFolder::operator/(const std::wstring& name) const {
  return fw::PathJoin(path_, name);
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(fw::NativePath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << fw::NativePath(path);
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(fw::NativePath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testsupport
