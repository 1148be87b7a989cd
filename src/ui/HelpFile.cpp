// Copying the help file where the user may keep it, then showing it.
#include "ui/HelpFile.h"

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/System.h"
#include "fw/UiDriver.h"

namespace ui {
namespace {

constexpr const wchar_t* kVendorFolder = L"Tarvesh";
constexpr const wchar_t* kHelpFolder = L"help";

bool EnsureFolder(const std::wstring& folder) {
  return fw::IsDirectory(folder) || fw::CreateDirectory(folder);
}

// The copy, brought up to date; empty when it could not be made.
std::wstring UpToDateCopy(const std::wstring& source, const fw::CFileStatus& sourceStatus) {
  std::wstring appData = fw::GetAppDataFolder();
  if (appData.empty()) return {};
  std::wstring vendor = fw::PathJoin(appData, kVendorFolder);
  std::wstring help = fw::PathJoin(vendor, kHelpFolder);
  if (!EnsureFolder(vendor) || !EnsureFolder(help)) return {};
  std::wstring copy = fw::PathJoin(help, kHelpFileName);
  fw::CFileStatus copyStatus;
  if (fw::GetFileStatus(copy, copyStatus) && copyStatus.mtime == sourceStatus.mtime) return copy;
  return fw::CopyFile(source, copy, false) ? copy : std::wstring();
}

}  // namespace

void ShowHelpFile(const std::wstring& moduleDirectory) {
  std::wstring source = fw::PathJoin(moduleDirectory, kHelpFileName);
  fw::CFileStatus sourceStatus;
  if (!fw::GetFileStatus(source, sourceStatus) || fw::IsDirectory(source)) return;
  std::wstring copy = UpToDateCopy(source, sourceStatus);
  (void)fw::HtmlHelp(copy.empty() ? source : copy, fw::HelpCommand::kDisplayTopic);
}

}  // namespace ui
