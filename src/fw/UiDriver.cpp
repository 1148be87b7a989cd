// The process's UI driver and application name, the framework's message box, and the headless
// driver that answers from a script.
#include "fw/UiDriver.h"

#include <atomic>
#include <utility>

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

// The first button of each kind of box, which a box without a scripted answer takes.
int FirstButton(unsigned type) {
  switch (type & 0x0F) {
    case MB_OK:
    case MB_OKCANCEL:
      return IDOK;
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
      return IDYES;
    case MB_RETRYCANCEL:
      return IDRETRY;
    default:
      // Kinds the system never shows.
      return IDOK;
  }
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

int HeadlessUiDriver::MessageBox(const std::wstring& text, const std::wstring& caption,
                                 unsigned type) {
  std::lock_guard guard(lock_);
  // A scripted answer is taken as it is, even one the box has no button for, so a test can
  // drive a path the real user could not.
  int answer = FirstButton(type);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  messages_.push_back(ShownMessage{text, caption, type, answer});
  return answer;
}

void HeadlessUiDriver::BeginWaitCursor() {
  std::lock_guard guard(lock_);
  ++waitCursorDepth_;
  ++waitCursorCount_;
}

void HeadlessUiDriver::EndWaitCursor() {
  std::lock_guard guard(lock_);
  // An end without a begin is our own bug; the depth stays at zero rather than going negative.
  if (waitCursorDepth_ > 0) --waitCursorDepth_;
}

std::optional<int> HeadlessUiDriver::ChooseColor(int initialColor) {
  std::lock_guard guard(lock_);
  colorDialogs_.push_back(initialColor);
  if (colorAnswers_.empty()) return std::nullopt;
  std::optional<int> answer = colorAnswers_.front();
  colorAnswers_.pop_front();
  return answer;
}

void HeadlessUiDriver::QueueColorAnswer(std::optional<int> answer) {
  std::lock_guard guard(lock_);
  colorAnswers_.push_back(answer);
}

std::vector<int> HeadlessUiDriver::ColorDialogsShown() const {
  std::lock_guard guard(lock_);
  return colorDialogs_;
}

void HeadlessUiDriver::QueueAnswer(int answer) {
  std::lock_guard guard(lock_);
  answers_.push_back(answer);
}

std::vector<HeadlessUiDriver::ShownMessage> HeadlessUiDriver::Messages() const {
  std::lock_guard guard(lock_);
  return messages_;
}

std::vector<HeadlessUiDriver::ShownMessage> HeadlessUiDriver::TakeMessages() {
  std::lock_guard guard(lock_);
  return std::exchange(messages_, {});
}

int HeadlessUiDriver::WaitCursorDepth() const {
  std::lock_guard guard(lock_);
  return waitCursorDepth_;
}

int HeadlessUiDriver::WaitCursorCount() const {
  std::lock_guard guard(lock_);
  return waitCursorCount_;
}

}  // namespace fw
