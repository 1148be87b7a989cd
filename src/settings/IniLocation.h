// Where the settings file and the main cache live: found once per process, on the host's
// support-file search path, beside the module, or in the user's documents folder.
#pragma once

#include <string>
#include <string_view>

namespace settings {

inline constexpr const wchar_t* kIniFileName = L"qv35.ini";
inline constexpr const wchar_t* kCacheFileName = L"qv35.cache";
// The folder in the user's documents folder that holds the settings when nothing else does.
inline constexpr const wchar_t* kDocumentsSubfolder = L"Quorvane";

struct IniLocation {
  std::wstring iniPath;
  // The main cache's default: beside the settings file.
  std::wstring cachePath;
};

// Finds "qv35.ini": where the host's support-file search finds it; else in `moduleDirectory`
// when it exists there; else in the folder "Quorvane" of the user's documents folder, which is
// created when missing (the documents folder too), so that the first save has a place to go.
// A user without a known documents folder gets the module's folder. Logs
// "Ini located at %s\n" with the path found. The file name keeps the letter case it was found
// with (the support search finds it whatever its case), so the path names the file on a file
// system that tells case apart. Host main thread (the support search is the host's).
IniLocation LocateIniFile(std::wstring_view moduleDirectory);

// The full path of `fileName` as the host's support-file search finds it, or empty when it is
// not found. The answer buffer holds the longest path a file system call takes (32767
// characters), so a long path is found whole rather than missed or cut. Host main thread.
std::wstring FindOnSupportPath(const wchar_t* fileName);

}  // namespace settings
