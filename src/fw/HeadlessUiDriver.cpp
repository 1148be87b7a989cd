// The headless driver's record and its answers to questions. The modal loop is in
// HeadlessModalLoop.cpp.
#include "fw/HeadlessUiDriver.h"

#include <utility>

#include "fw/Dialog.h"
#include "fw/FileName.h"
#include "fw/Menu.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "fw/Transcript.h"

namespace fw {
namespace {

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

std::string Quoted(std::wstring_view text) { return TranscriptQuoted(text); }

std::string MenuText(const std::vector<MenuItem>& items) {
  std::string text;
  for (const MenuItem& item : items) {
    if (!text.empty()) text += ", ";
    if (item.IsSeparator()) {
      text += "-";
      continue;
    }
    text += Quoted(item.text);
    if (item.IsChecked()) text += " checked";
    if (item.IsGreyed()) text += " greyed";
    if (item.IsSubmenu()) text += " {" + MenuText(item.submenu) + "}";
  }
  return text;
}

// The first item with the text, depth first, that is neither a separator nor a submenu.
const MenuItem* FindMenuItem(const std::vector<MenuItem>& items, const std::wstring& text) {
  for (const MenuItem& item : items) {
    if (item.IsSubmenu()) {
      if (const MenuItem* found = FindMenuItem(item.submenu, text)) return found;
    } else if (!item.IsSeparator() && item.text == text) {
      return &item;
    }
  }
  return nullptr;
}

}  // namespace

void HeadlessUiDriver::AddSteps(std::vector<UiStep> steps) {
  std::lock_guard guard(lock_);
  for (UiStep& step : steps) steps_.push_back(std::move(step));
}

void HeadlessUiDriver::QueueAnswer(int answer) {
  UiStep step;
  step.verb = StepVerb::kAnswerMessage;
  step.number = answer;
  AddSteps({step});
}

void HeadlessUiDriver::QueueColorAnswer(std::optional<int> answer) {
  UiStep step;
  step.verb = StepVerb::kAnswerColor;
  step.number = answer.value_or(-1);
  AddSteps({step});
}

void HeadlessUiDriver::SetOutput(Output output) {
  std::lock_guard guard(lock_);
  output_ = std::move(output);
}

void HeadlessUiDriver::SetWaitLimit(std::chrono::milliseconds limit) {
  std::lock_guard guard(lock_);
  waitLimit_ = limit;
}

void HeadlessUiDriver::SetPrinterFactory(PrinterFactory factory) {
  std::lock_guard guard(lock_);
  printerFactory_ = std::move(factory);
}

void HeadlessUiDriver::SetPresenter(UiPresenter* presenter) {
  std::lock_guard guard(lock_);
  presenter_ = presenter;
}

std::vector<std::string> HeadlessUiDriver::Transcript() const {
  std::lock_guard guard(lock_);
  return transcript_;
}

bool HeadlessUiDriver::Failed() const {
  std::lock_guard guard(lock_);
  return failed_;
}

bool HeadlessUiDriver::Finish() {
  std::lock_guard guard(lock_);
  for (const UiStep& step : steps_) {
    std::string where = step.line > 0 ? "line " + std::to_string(step.line) + ": " : "";
    Emit("ui: error " + where + "this step never ran: " + FormatUiStep(step));
    failed_ = true;
  }
  steps_.clear();
  return !failed_;
}

std::vector<HeadlessUiDriver::ShownMessage> HeadlessUiDriver::Messages() const {
  std::lock_guard guard(lock_);
  return messages_;
}

std::vector<HeadlessUiDriver::ShownMessage> HeadlessUiDriver::TakeMessages() {
  std::lock_guard guard(lock_);
  return std::exchange(messages_, {});
}

std::vector<int> HeadlessUiDriver::ColorDialogsShown() const {
  std::lock_guard guard(lock_);
  return colorDialogs_;
}

int HeadlessUiDriver::WaitCursorDepth() const {
  std::lock_guard guard(lock_);
  return waitCursorDepth_;
}

int HeadlessUiDriver::WaitCursorCount() const {
  std::lock_guard guard(lock_);
  return waitCursorCount_;
}

long HeadlessUiDriver::ChangeNotesTaken() const {
  std::lock_guard guard(lock_);
  return changeNotes_;
}

void HeadlessUiDriver::Emit(const std::string& line) {
  if (output_) {
    output_(line);
  } else {
    transcript_.push_back(line);
  }
}

void HeadlessUiDriver::FailLocked(const UiStep* step, const std::wstring& what) {
  std::string where;
  if (step != nullptr) {
    if (step->line > 0) where = "line " + std::to_string(step->line) + ": ";
    where += FormatUiStep(*step) + ": ";
  }
  Emit("ui: error " + where + ToUtf8(what));
  failed_ = true;
  steps_.clear();
  if (!modalDialogs_.empty()) modalDialogs_.back()->Queue().Wake();
}

void HeadlessUiDriver::Fail(const UiStep* step, const std::wstring& what) {
  std::lock_guard guard(lock_);
  FailLocked(step, what);
}

std::optional<UiStep> HeadlessUiDriver::TakeAnswer(StepVerb verb) {
  if (steps_.empty() || steps_.front().verb != verb) return std::nullopt;
  UiStep step = std::move(steps_.front());
  steps_.pop_front();
  ++stepsTaken_;
  // A modal loop that waits for this answer to be taken looks at the script again.
  if (!modalDialogs_.empty()) modalDialogs_.back()->Queue().Wake();
  return step;
}

std::wstring HeadlessUiDriver::AnswerPath(const std::wstring& path) {
  if (path.starts_with(kPathSeparator)) return path;
  return PathJoin(GetCurrentFolder(), path);
}

int HeadlessUiDriver::MessageBox(const std::wstring& text, const std::wstring& caption,
                                 unsigned type) {
  std::lock_guard guard(lock_);
  // A scripted answer is taken as it is, even one the box has no button for, so a test can
  // drive a path the real user could not.
  int answer = FirstButton(type);
  if (std::optional<UiStep> step = TakeAnswer(StepVerb::kAnswerMessage)) answer = step->number;
  messages_.push_back(ShownMessage{text, caption, type, answer});
  Emit("ui: message " + Quoted(caption) + " " + Quoted(text) + " -> " + AnswerName(answer));
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
  std::optional<int> answer;
  if (std::optional<UiStep> step = TakeAnswer(StepVerb::kAnswerColor); step && step->number >= 0) {
    answer = step->number;
  }
  Emit("ui: color " + std::to_string(initialColor) + " -> " +
       (answer ? std::to_string(*answer) : std::string("cancelled")));
  return answer;
}

int HeadlessUiDriver::TrackPopupMenu(const Menu& menu, const PopupRequest&) {
  std::lock_guard guard(lock_);
  std::optional<UiStep> step = TakeAnswer(StepVerb::kAnswerMenu);
  const MenuItem* chosen = nullptr;
  std::wstring problem;
  if (step && step->hasText) {
    chosen = FindMenuItem(menu.Items(), step->text);
    if (chosen == nullptr) {
      problem = L"the menu has no item \"" + step->text + L"\"";
    } else if (chosen->IsGreyed()) {
      problem = L"the menu item \"" + step->text + L"\" is greyed";
      chosen = nullptr;
    }
  }
  Emit("ui: menu " + MenuText(menu.Items()) + " -> " +
       (chosen != nullptr ? Quoted(chosen->text) : std::string("none")));
  if (!problem.empty()) FailLocked(&*step, problem);
  return chosen != nullptr ? chosen->id : 0;
}

std::optional<std::wstring> HeadlessUiDriver::BrowseForFolder(const FolderRequest& request) {
  std::lock_guard guard(lock_);
  std::optional<std::wstring> folder;
  if (std::optional<UiStep> step = TakeAnswer(StepVerb::kAnswerFolder); step && step->hasText) {
    folder = AnswerPath(step->text);
  }
  Emit("ui: folder " + Quoted(request.title) + " " + Quoted(TranscriptPath(request.startFolder)) +
       " -> " + (folder ? Quoted(TranscriptPath(*folder)) : std::string("cancelled")));
  return folder;
}

std::optional<std::wstring> HeadlessUiDriver::ChooseFile(const FileRequest& request) {
  std::lock_guard guard(lock_);
  std::optional<std::wstring> file;
  if (std::optional<UiStep> step = TakeAnswer(StepVerb::kAnswerFile); step && step->hasText) {
    file = AnswerPath(step->text);
  }
  Emit(std::string("ui: file ") + (request.open ? "open " : "save ") +
       Quoted(TranscriptPath(request.initialFolder)) + " " + Quoted(request.fileName) + " -> " +
       (file ? Quoted(TranscriptPath(*file)) : std::string("cancelled")));
  return file;
}

std::unique_ptr<PrinterDC> HeadlessUiDriver::ChoosePrinter(const PrintRequest& request) {
  std::lock_guard guard(lock_);
  std::string shown = "ui: print";
  if ((request.flags & PD_NOSELECTION) != 0) shown += " noselection";
  if ((request.flags & PD_NOPAGENUMS) != 0) shown += " nopagenums";
  std::optional<UiStep> step = TakeAnswer(StepVerb::kAnswerPrint);
  if (!step || !step->hasText) {
    Emit(shown + " -> cancelled");
    return nullptr;
  }
  std::wstring pdf = AnswerPath(step->text);
  std::unique_ptr<PrinterDC> printer = printerFactory_ ? printerFactory_(pdf, step->number) : nullptr;
  if (!printer) {
    Emit(shown + " -> cancelled");
    FailLocked(&*step, printerFactory_ ? L"the PDF printer could not be made"
                                       : L"this driver has no PDF printer");
    return nullptr;
  }
  Emit(shown + " -> " + Quoted(TranscriptPath(pdf)) + " " +
       std::to_string(printer->GetDeviceCaps(LOGPIXELSY)));
  return printer;
}

bool HeadlessUiDriver::ShowHelp(const std::wstring& file, HelpCommand command) {
  std::lock_guard guard(lock_);
  switch (command) {
    case HelpCommand::kDisplayTopic:
      break;
  }
  Emit("ui: help " + Quoted(TranscriptPath(file)) + " -> shown");
  return true;
}

// The platform's values at 96 dots per inch with its standard theme, on a 1920 x 1080 screen
// whose task bar takes 40 pixels.
int HeadlessUiDriver::GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
      return 1920;
    case SM_CYSCREEN:
      return 1080;
    case SM_CYFULLSCREEN:
      return 1040;
    case SM_CXVSCROLL:
      return 17;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXSIZE:
      return 36;
    case SM_CYSMCAPTION:
      return 23;
    default:
      return 0;
  }
}

int HeadlessUiDriver::GetCaptionTextWidth(const std::wstring& text) {
  int width = 0;
  for (wchar_t c : text) {
    if (c == L' ' || c == L'.' || c == L',' || c == L'\'' || c == L'i' || c == L'l' ||
        c == L'j' || c == L'I' || c == L'!' || c == L'|' || c == L':' || c == L';') {
      width += 3;
    } else if (c == L'f' || c == L'r' || c == L't' || c == L'-' || c == L'(' || c == L')') {
      width += 4;
    } else if (c == L'm' || c == L'w' || c == L'M' || c == L'W') {
      width += 10;
    } else if (c >= L'A' && c <= L'Z') {
      width += 8;
    } else {
      width += 6;
    }
  }
  return width;
}

}  // namespace fw
