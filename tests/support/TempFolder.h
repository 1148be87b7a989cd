// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace testsupport {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // The folder joined with a relative name.
  std::wstring operator/(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// Writes or reads a whole file as bytes (narrow text is UTF-8).
void WriteFile(const std::wstring& path, const std::string& bytes);
std::string ReadFile(const std::wstring& path);

}  // namespace testsupport
