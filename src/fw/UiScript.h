// The headless driver's script: one step a line, each either an action the driver performs when
// a modal dialog is idle, or an answer it gives to the next question of its kind.
//
//   Actions:  click ID | check ID on|off | text ID "TEXT" | key ID Enter|Escape|Tab|F1 |
//             choose ID "TEXT" | dblclick ID "TEXT" | rclick ID ["TEXT"] | altclick ID ["TEXT"] |
//             column ID N | label ID "OLD" "NEW" | drop ID | tip ID "TEXT" | wait-idle |
//             dump ID | dump-dialog | close | screenshot PATH
//   Answers:  answer message YES|NO|OK|CANCEL|RETRY|ABORT|IGNORE | answer menu "ITEM"|none |
//             answer folder PATH|none | answer file PATH|none | answer print PDFPATH [DPI]|none |
//             answer color N|none          (none: the question is cancelled)
//
// `#` outside quotes starts a comment; arguments are separated by blanks; an argument in double
// quotes may hold blanks and the escapes \", \\ and \n. Paths are file-name bytes (see
// NativePath.h); other texts are UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fw/Notify.h"
#include "fw/Result.h"

namespace fw {

enum class StepVerb {
  kClick,
  kCheck,
  kText,
  kKey,
  kChoose,
  kDoubleClick,
  kRightClick,
  kAltClick,
  kColumn,
  kLabel,
  kDrop,
  kTip,
  kWaitIdle,
  kDump,
  kDumpDialog,
  kClose,
  kScreenshot,  // saves the active dialog's window as a PNG (nothing without windows)
  kAnswerMessage,
  kAnswerMenu,
  kAnswerFolder,
  kAnswerFile,
  kAnswerPrint,
  kAnswerColor,
};

struct UiStep {
  StepVerb verb = StepVerb::kClose;
  int line = 0;         // the line in the script; 0 for a step queued by code
  int id = 0;           // the control
  bool hasText = false;  // rclick or altclick on an item; an answer other than none
  std::wstring text;    // TEXT, OLD, ITEM or PATH (answers and screenshot)
  std::wstring newText;  // label: NEW
  int number = 0;  // column N, colour N (-1: none), DPI (0: the default), message answer (IDYES)
  bool on = false;      // check
  Key key = Key::kEnter;

  bool IsAnswer() const;
  friend bool operator==(const UiStep&, const UiStep&) = default;
};

// A cap on the script's size: scripts are a few kilobytes; this keeps a wrong file from being
// read whole into memory.
inline constexpr std::size_t kMaxUiScriptBytes = 4 * 1024 * 1024;

// The steps of a script, or an error naming the line and what is wrong with it.
Result<std::vector<UiStep>> ParseUiScript(std::string_view bytes);
// The script file (a regular file of at most kMaxUiScriptBytes, opened without blocking).
Result<std::vector<UiStep>> LoadUiScript(const std::wstring& path);
// The step written as a script line (without the line end) that parses back to it.
std::string FormatUiStep(const UiStep& step);
// The name of a message box answer as the script and the transcript write it ("YES"), or "?".
std::string AnswerName(int answer);

}  // namespace fw
