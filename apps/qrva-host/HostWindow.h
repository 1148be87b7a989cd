// The host window of a session with a display: the ribbon strip and the toolbar where outside
// components put their command buttons, and the command line, its history above and the input
// line below. The command processor reads the lines typed here, as it reads a terminal's.
//
// Threads: every member runs on the GUI thread, except ShowText and the command buttons'
// change listener, which bring their work over to it.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include "minicad/CommandButtons.h"
#include "minicad/LineSource.h"

namespace host {

class HostWindow : public wxFrame {
 public:
  // The names of the window's parts, for finding them (wxWindow::FindWindowByName).
  static constexpr const char* kRibbonName = "ribbon";
  static constexpr const char* kHistoryName = "history";
  static constexpr const char* kInputName = "input";

  HostWindow();

  // Shows command-line text in the history. Any thread.
  void ShowText(std::wstring_view text);
  // The ribbon strip and the toolbar follow the host's command buttons from now on, until
  // StopWatching; call both on the GUI thread.
  void WatchButtons(minicad::CommandButtons& buttons);
  void StopWatching(minicad::CommandButtons& buttons);

  // The next line typed or sent by a button, waiting for one in an event loop of its own;
  // nothing once the window was closed.
  std::optional<std::wstring> WaitForLine();

 private:
  void BuildCommandLine();
  void ShowButtons(const std::vector<minicad::CommandButton>& buttons);
  void ShowRibbonButton(const minicad::CommandButton& button);
  void ShowToolbarButton(const minicad::CommandButton& button);
  void ShowPendingText();
  // Queues the lines of `text` as if typed, echoing them in the history.
  void Send(std::wstring_view text);
  void OnEnter(wxCommandEvent& event);
  void OnInputKey(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);
  void StopWaiting();

  wxPanel* ribbon_ = nullptr;
  wxToolBar* toolbar_ = nullptr;
  wxTextCtrl* history_ = nullptr;
  wxTextCtrl* input_ = nullptr;

  std::mutex textLock_;
  std::wstring pendingText_;  // written by any thread, shown on the GUI thread
  bool textPosted_ = false;

  std::deque<std::wstring> lines_;       // typed or sent, not yet read
  std::vector<std::wstring> typed_;      // what the user typed, for Up and Down
  std::size_t historyPlace_ = 0;         // where Up and Down are in `typed_`
  std::vector<std::wstring> toolCommands_;  // the command text of each toolbar tool
  wxGUIEventLoop* waiting_ = nullptr;
  bool closed_ = false;
};

// The command processor's line source for the host window: what the user types there.
class WindowLines : public minicad::LineSource {
 public:
  explicit WindowLines(HostWindow& window) : window_(window) {}
  std::optional<std::wstring> ReadLine() override { return window_.WaitForLine(); }
  // The prompt is shown before the window waits, and the history shows what was typed.
  bool IsTyped() const override { return true; }

 private:
  HostWindow& window_;
};

}  // namespace host
