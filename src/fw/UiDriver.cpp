// The process's UI driver and application name, and the framework's calls that go through the
// driver.
#include "fw/UiDriver.h"

#include <atomic>
#include <mutex>

#include "fw/HeadlessUiDriver.h"

namespace fw {
namespace {

// The process-wide state. Both objects are created on first use and never destroyed, so a thread
// that reports an error while the process exits still finds them.
HeadlessUiDriver& BuiltInDriver() {
  static HeadlessUiDriver* driver = new HeadlessUiDriver();
  return *driver;
}

std::atomic<UiDriver*>& InstalledDriver() {
  static std::atomic<UiDriver*> driver{nullptr};
  return driver;
}

struct AppName {
  std::mutex lock;
  std::wstring name;
};

AppName& TheAppName() {
  static AppName* appName = new AppName();
  return *appName;
}

}  // namespace

UiDriver& GetUiDriver() {
  UiDriver* installed = InstalledDriver().load(std::memory_order_acquire);
  return installed != nullptr ? *installed : BuiltInDriver();
}

void SetUiDriver(UiDriver* driver) { InstalledDriver().store(driver, std::memory_order_release); }

void SetAppName(const std::wstring& name) {
  AppName& appName = TheAppName();
  std::lock_guard guard(appName.lock);
  appName.name = name;
}

std::wstring GetAppName() {
  AppName& appName = TheAppName();
  std::lock_guard guard(appName.lock);
  return appName.name;
}

int AfxMessageBox(const std::wstring& text, unsigned type) {
  return GetUiDriver().MessageBox(text, GetAppName(), type);
}

std::optional<std::wstring> BrowseForFolder(const std::wstring& title,
                                            const std::wstring& startFolder, unsigned flags) {
  return GetUiDriver().BrowseForFolder(FolderRequest{title, startFolder, flags});
}

std::optional<std::wstring> ChooseFile(const FileRequest& request) {
  return GetUiDriver().ChooseFile(request);
}

std::unique_ptr<PrinterDC> ChoosePrinter(const PrintRequest& request) {
  return GetUiDriver().ChoosePrinter(request);
}

bool HtmlHelp(const std::wstring& file, HelpCommand command) {
  return GetUiDriver().ShowHelp(file, command);
}

int GetSystemMetrics(int index) { return GetUiDriver().GetSystemMetrics(index); }

int GetCaptionTextWidth(const std::wstring& text) {
  return GetUiDriver().GetCaptionTextWidth(text);
}

}  // namespace fw
