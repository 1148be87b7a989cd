// The one place the framework meets the user: message boxes and the wait cursor (and, as the
// dialogs arrive, pickers, menus and the modal loop). The host program installs a driver; the
// headless driver answers from a script and records what was shown, so tests can read it.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace fw {

// Message box buttons and icons, and the answers, with the platform's values.
enum MessageBoxType : unsigned {
  MB_OK = 0x00,
  MB_OKCANCEL = 0x01,
  MB_ABORTRETRYIGNORE = 0x02,
  MB_YESNOCANCEL = 0x03,
  MB_YESNO = 0x04,
  MB_RETRYCANCEL = 0x05,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONEXCLAMATION = 0x30,
  MB_ICONINFORMATION = 0x40,
};
enum DialogAnswer : int {
  IDOK = 1,
  IDCANCEL = 2,
  IDABORT = 3,
  IDRETRY = 4,
  IDIGNORE = 5,
  IDYES = 6,
  IDNO = 7,
};

// Every member may be called from any thread (the loader reports errors from its own).
class UiDriver {
 public:
  virtual ~UiDriver() = default;
  // Shows a message box and returns the button chosen.
  virtual int MessageBox(const std::wstring& text, const std::wstring& caption,
                         unsigned type) = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  // The host's colour dialog: shows the colour index `initialColor` (1-255) chosen and returns
  // the index the user picked, or nothing when the dialog was cancelled.
  virtual std::optional<int> ChooseColor(int initialColor) = 0;
};

// The process's driver. Until a host program installs one, a HeadlessUiDriver serves.
UiDriver& GetUiDriver();
// Installs a driver (not owned; nullptr returns to the built-in headless one).
void SetUiDriver(UiDriver* driver);

// The application's name, the caption of AfxMessageBox ("Quorvane" once the module sets it).
void SetAppName(const std::wstring& name);
std::wstring GetAppName();

int AfxMessageBox(const std::wstring& text, unsigned type = MB_OK);

// Shows the wait cursor for the life of the object.
class CWaitCursor {
 public:
  CWaitCursor() { GetUiDriver().BeginWaitCursor(); }
  ~CWaitCursor() { GetUiDriver().EndWaitCursor(); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Answers without a screen: each message box takes the next scripted answer, or, when none is
// queued, the first button of its kind (OK, Abort, Yes or Retry). Everything shown is recorded.
class HeadlessUiDriver : public UiDriver {
 public:
  struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    unsigned type = 0;
    int answer = 0;
  };

  int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned type) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  // Takes the next scripted colour answer; without one the dialog counts as cancelled.
  std::optional<int> ChooseColor(int initialColor) override;

  void QueueColorAnswer(std::optional<int> answer);
  // The initial colours of the colour dialogs shown, in order.
  std::vector<int> ColorDialogsShown() const;

  void QueueAnswer(int answer);
  std::vector<ShownMessage> Messages() const;
  std::vector<ShownMessage> TakeMessages();
  // How many wait cursors are shown now, and how often one was begun in all.
  int WaitCursorDepth() const;
  int WaitCursorCount() const;

 private:
  mutable std::mutex lock_;
  std::deque<int> answers_;
  std::deque<std::optional<int>> colorAnswers_;
  std::vector<int> colorDialogs_;
  std::vector<ShownMessage> messages_;
  int waitCursorDepth_ = 0;
  int waitCursorCount_ = 0;
};

}  // namespace fw
