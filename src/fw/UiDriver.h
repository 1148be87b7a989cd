// The one place the framework meets the user: message boxes, the wait cursor, the colour dialog,
// popup menus, the folder, file and print dialogs, the help viewer and the modal loop of dialogs.
// The host program installs a driver; the headless driver answers from a script and records what
// was shown, so tests can read it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "fw/PrinterDC.h"
#include "fw/UiRequests.h"

namespace fw {

class Dialog;
class Menu;

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

// The driver a host program installs: the headless driver (HeadlessUiDriver.h) answers from a
// script and records what was shown; a windowing driver shows real windows. The module never
// knows which one runs.
//
// Threads: the questions (message box, colour, menu, pickers, print, help), the wait cursor and
// the metrics may be asked from any thread (the loader reports errors from its own). RunModal,
// ShowModeless and DestroyModeless run on the thread that shows the dialog, which becomes the
// dialog's thread.
//
// How a driver presents a dialog (the headless driver does this now; a windowing driver does the
// same with real windows): RunModal calls dialog.BeginShowing(true) and dialog.InitDialog(), and
// builds its view from dialog.Template() and dialog.Controls(). It gives dialog.Queue() a waker
// that wakes its event loop from any thread. On each wake, on the dialog's thread, it calls
// dialog.DeliverPosted() and dialog.Queue().TakeChanges(), and redraws the controls named there
// from their current state (a list control's visible rows come from ListCtrl::GetItems). The
// user's clicks, keys and texts go back through UserInput, which runs the dialog's handlers. When
// dialog.IsEnded() it calls dialog.FinishShowing() and returns dialog.EndCode(). Control state is
// only ever read, never copied into the view as a second truth.
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

  // The modal loop: shows the dialog (BeginShowing, InitDialog), delivers its posted messages
  // and the user's input until it ends, then FinishShowing; returns the end code.
  virtual int RunModal(Dialog& dialog) = 0;
  // A modeless dialog: shown until DestroyModeless; its posted messages are delivered while a
  // modal loop runs on its thread.
  virtual void ShowModeless(Dialog& dialog) = 0;
  virtual void DestroyModeless(Dialog& dialog) = 0;
  // Shows the menu and returns the command chosen, 0 for none.
  virtual int TrackPopupMenu(const Menu& menu, const PopupRequest& request) = 0;
  // The folder chosen, or nothing when cancelled.
  virtual std::optional<std::wstring> BrowseForFolder(const FolderRequest& request) = 0;
  // The full path chosen, or nothing when cancelled.
  virtual std::optional<std::wstring> ChooseFile(const FileRequest& request) = 0;
  // A device context of the printer chosen, or nothing when cancelled.
  virtual std::unique_ptr<PrinterDC> ChoosePrinter(const PrintRequest& request) = 0;
  // Opens the help file in the help viewer; false when it could not be shown.
  virtual bool ShowHelp(const std::wstring& file, HelpCommand command) = 0;
  // The screen's metrics (SM_* of WindowStyles.h) in pixels.
  virtual int GetSystemMetrics(int index) = 0;
  // The width in pixels of a text in the caption font of the system's non-client metrics.
  virtual int GetCaptionTextWidth(const std::wstring& text) = 0;
};

// The process's driver. Until a host program installs one, a HeadlessUiDriver without a script
// serves: it answers every question with its default and closes every dialog with Escape.
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

// The framework's common dialogs, through the installed driver.
std::optional<std::wstring> BrowseForFolder(const std::wstring& title,
                                            const std::wstring& startFolder,
                                            unsigned flags = BIF_RETURNONLYFSDIRS);
std::optional<std::wstring> ChooseFile(const FileRequest& request);
std::unique_ptr<PrinterDC> ChoosePrinter(const PrintRequest& request);
bool HtmlHelp(const std::wstring& file, HelpCommand command = HelpCommand::kDisplayTopic);
int GetSystemMetrics(int index);
int GetCaptionTextWidth(const std::wstring& text);

}  // namespace fw
