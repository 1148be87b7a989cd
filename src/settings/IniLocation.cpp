// Locating the settings file.
#include "settings/IniLocation.h"

#include <vector>

#include "arx/acedads.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/System.h"
#include "fw/Trace.h"

namespace settings {
namespace {

// The host's file search writes the full path into a buffer of this many characters: the
// longest path the platforms take (Windows' long paths; Linux refuses more than 4096 bytes).
constexpr int kFoundPathBufferSize = 32768;

std::wstring DocumentsLocation(std::wstring_view moduleDirectory) {
  std::wstring documents = fw::GetDocumentsFolder();
  if (documents.empty()) return fw::PathJoin(moduleDirectory, kIniFileName);
  std::wstring folder = fw::PathJoin(documents, kDocumentsSubfolder);
  if (!fw::IsDirectory(folder)) {
    if (!fw::IsDirectory(documents)) fw::CreateDirectory(documents);
    fw::CreateDirectory(folder);
  }
  return fw::PathJoin(folder, kIniFileName);
}

std::wstring FindIniFile(std::wstring_view moduleDirectory) {
  std::wstring found = FindOnSupportPath(kIniFileName);
  if (!found.empty()) return found;
  std::wstring besideModule = fw::PathJoin(moduleDirectory, kIniFileName);
  if (!moduleDirectory.empty() && fw::PathExists(besideModule)) return besideModule;
  return DocumentsLocation(moduleDirectory);
}

}  // namespace

std::wstring FindOnSupportPath(const wchar_t* fileName) {
  std::vector<wchar_t> found(kFoundPathBufferSize, L'\0');
  if (acedFindFile(fileName, found.data(), kFoundPathBufferSize) != RTNORM) return {};
  return found.data();
}

IniLocation LocateIniFile(std::wstring_view moduleDirectory) {
  std::wstring found = FindIniFile(moduleDirectory);
  LogLine(L"Ini located at %s\n", found.c_str());
  fw::CFileName name(found);
  std::wstring folder = name.Drive() + name.Folder();
  return IniLocation{folder + name.FileName(), folder + kCacheFileName};
}

}  // namespace settings
