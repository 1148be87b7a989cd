// The headless driver's script: tokens, steps, and the file.
#include "fw/UiScript.h"

#include <optional>
#include <utility>

#include "fw/File.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"

namespace fw {
namespace {

struct Token {
  std::string bytes;
  bool quoted = false;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The tokens of one line; a comment ends it. The error says what is wrong without the line.
Result<std::vector<Token>> Tokenize(std::string_view line) {
  using Tokens = Result<std::vector<Token>>;
  std::vector<Token> tokens;
  std::size_t at = 0;
  while (at < line.size()) {
    if (IsBlank(line[at])) {
      ++at;
      continue;
    }
    if (line[at] == '#') break;
    Token token;
    if (line[at] != '"') {
      while (at < line.size() && !IsBlank(line[at])) {
        if (line[at] == '"') return Tokens::Failure(L"a quote inside an unquoted argument");
        token.bytes += line[at++];
      }
      tokens.push_back(std::move(token));
      continue;
    }
    token.quoted = true;
    ++at;
    bool closed = false;
    while (at < line.size()) {
      char c = line[at++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c != '\\') {
        token.bytes += c;
        continue;
      }
      if (at >= line.size()) break;
      char escaped = line[at++];
      switch (escaped) {
        case '"':
        case '\\':
          token.bytes += escaped;
          break;
        case 'n':
          token.bytes += '\n';
          break;
        default:
          return Tokens::Failure(L"unknown escape \\" + FromUtf8(std::string(1, escaped)) +
                                 L" in a quoted argument");
      }
    }
    if (!closed) return Tokens::Failure(L"a quoted argument without its closing quote");
    if (at < line.size() && !IsBlank(line[at])) {
      return Tokens::Failure(L"text right after a closing quote");
    }
    tokens.push_back(std::move(token));
  }
  return Tokens::Success(std::move(tokens));
}

std::optional<int> ParseNumber(const Token& token, int low, int high) {
  if (token.quoted || token.bytes.empty() || token.bytes.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : token.bytes) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

constexpr int kMaxControlId = 65535;
constexpr int kMaxColumn = 1000;
constexpr int kMaxColor = 256;
constexpr int kMaxDpi = 9600;

struct AnswerWord {
  const char* name;
  int answer;
};
constexpr AnswerWord kAnswerWords[] = {
    {"YES", IDYES},     {"NO", IDNO},       {"OK", IDOK},         {"CANCEL", IDCANCEL},
    {"RETRY", IDRETRY}, {"ABORT", IDABORT}, {"IGNORE", IDIGNORE},
};

struct KeyWord {
  const char* name;
  Key key;
};
constexpr KeyWord kKeyWords[] = {
    {"Enter", Key::kEnter}, {"Escape", Key::kEscape}, {"Tab", Key::kTab}, {"F1", Key::kF1}};

bool SameWord(const std::string& text, const char* word) {
  return EqualsNoCase(FromUtf8(text), FromUtf8(word));
}

// Reads one line's tokens into a step; the error says what is wrong.
class StepReader {
 public:
  StepReader(std::vector<Token> tokens, int line) : tokens_(std::move(tokens)) { step_.line = line; }

  Result<UiStep> Read() {
    const std::string verb = tokens_[0].bytes;
    if (tokens_[0].quoted) {
      return Result<UiStep>::Failure(L"a step starts with its verb, not a quoted text");
    }
    if (verb == "answer") return ReadAnswer();
    struct Action {
      const char* name;
      StepVerb verb;
      enum {
        kNone,
        kId,
        kIdText,
        kIdOnOff,
        kIdKey,
        kIdOptionalText,
        kIdNumber,
        kIdTwoTexts,
        kPath
      } form;
    };
    static constexpr Action kActions[] = {
        {"click", StepVerb::kClick, Action::kId},
        {"check", StepVerb::kCheck, Action::kIdOnOff},
        {"text", StepVerb::kText, Action::kIdText},
        {"key", StepVerb::kKey, Action::kIdKey},
        {"choose", StepVerb::kChoose, Action::kIdText},
        {"dblclick", StepVerb::kDoubleClick, Action::kIdText},
        {"rclick", StepVerb::kRightClick, Action::kIdOptionalText},
        {"altclick", StepVerb::kAltClick, Action::kIdOptionalText},
        {"column", StepVerb::kColumn, Action::kIdNumber},
        {"label", StepVerb::kLabel, Action::kIdTwoTexts},
        {"drop", StepVerb::kDrop, Action::kId},
        {"tip", StepVerb::kTip, Action::kIdText},
        {"wait-idle", StepVerb::kWaitIdle, Action::kNone},
        {"dump", StepVerb::kDump, Action::kId},
        {"dump-dialog", StepVerb::kDumpDialog, Action::kNone},
        {"close", StepVerb::kClose, Action::kNone},
        {"screenshot", StepVerb::kScreenshot, Action::kPath},
    };
    for (const Action& action : kActions) {
      if (verb != action.name) continue;
      step_.verb = action.verb;
      switch (action.form) {
        case Action::kNone:
          return Arguments(0, 0) ? Done() : Fail(L"takes no arguments");
        case Action::kId:
          return Arguments(1, 1) && Id() ? Done() : Fail(L"needs a control id");
        case Action::kIdText:
          return Arguments(2, 2) && Id() && Text(2, step_.text) ? Done()
                                                                : Fail(L"needs a control id and a text");
        case Action::kIdOnOff:
          return Arguments(2, 2) && Id() && OnOff() ? Done()
                                                    : Fail(L"needs a control id and on or off");
        case Action::kIdKey:
          return Arguments(2, 2) && Id() && KeyName()
                     ? Done()
                     : Fail(L"needs a control id and Enter, Escape, Tab or F1");
        case Action::kIdOptionalText:
          if (!Arguments(1, 2) || !Id()) return Fail(L"needs a control id and may name an item");
          step_.hasText = tokens_.size() == 3;
          if (step_.hasText) Text(2, step_.text);
          return Done();
        case Action::kIdNumber: {
          std::optional<int> column = Arguments(2, 2) && Id()
                                          ? ParseNumber(tokens_[2], 0, kMaxColumn)
                                          : std::nullopt;
          if (!column) return Fail(L"needs a control id and a column number");
          step_.number = *column;
          return Done();
        }
        case Action::kIdTwoTexts:
          return Arguments(3, 3) && Id() && Text(2, step_.text) && Text(3, step_.newText)
                     ? Done()
                     : Fail(L"needs a control id, the old text and the new text");
        case Action::kPath:
          if (!Arguments(1, 1) || tokens_[1].bytes.empty()) return Fail(L"needs a file's path");
          step_.hasText = true;
          step_.text = FromNativePath(tokens_[1].bytes);
          return Done();
      }
    }
    return Result<UiStep>::Failure(L"unknown step \"" + FromUtf8(verb) + L"\"");
  }

 private:
  Result<UiStep> ReadAnswer() {
    if (tokens_.size() < 2 || tokens_[1].quoted) {
      return Result<UiStep>::Failure(L"answer: needs message, menu, folder, file, print or color");
    }
    const std::string kind = tokens_[1].bytes;
    prefix_ = L"answer " + FromUtf8(kind) + L": ";
    if (kind == "message") {
      step_.verb = StepVerb::kAnswerMessage;
      if (tokens_.size() == 3 && !tokens_[2].quoted) {
        for (const AnswerWord& word : kAnswerWords) {
          if (SameWord(tokens_[2].bytes, word.name)) {
            step_.number = word.answer;
            return Done();
          }
        }
      }
      return Fail(L"needs YES, NO, OK, CANCEL, RETRY, ABORT or IGNORE");
    }
    if (kind == "menu") {
      step_.verb = StepVerb::kAnswerMenu;
      if (tokens_.size() != 3) return Fail(L"needs an item's text or none");
      step_.hasText = !IsNone(tokens_[2]);
      if (step_.hasText) step_.text = FromUtf8(tokens_[2].bytes);
      return Done();
    }
    if (kind == "folder" || kind == "file") {
      step_.verb = kind == "folder" ? StepVerb::kAnswerFolder : StepVerb::kAnswerFile;
      if (tokens_.size() != 3 || tokens_[2].bytes.empty()) return Fail(L"needs a path or none");
      step_.hasText = !IsNone(tokens_[2]);
      if (step_.hasText) step_.text = FromNativePath(tokens_[2].bytes);
      return Done();
    }
    if (kind == "print") {
      step_.verb = StepVerb::kAnswerPrint;
      if (tokens_.size() < 3 || tokens_.size() > 4 || tokens_[2].bytes.empty() ||
          (IsNone(tokens_[2]) && tokens_.size() == 4)) {
        return Fail(L"needs the PDF file's path and may give the dots per inch, or none");
      }
      step_.hasText = !IsNone(tokens_[2]);
      if (!step_.hasText) return Done();
      step_.text = FromNativePath(tokens_[2].bytes);
      if (tokens_.size() == 4) {
        std::optional<int> dpi = ParseNumber(tokens_[3], 1, kMaxDpi);
        if (!dpi) return Fail(L"dots per inch must be a number from 1 to 9600");
        step_.number = *dpi;
      }
      return Done();
    }
    if (kind == "color") {
      step_.verb = StepVerb::kAnswerColor;
      if (tokens_.size() == 3 && IsNone(tokens_[2])) {
        step_.number = -1;
        return Done();
      }
      std::optional<int> color =
          tokens_.size() == 3 ? ParseNumber(tokens_[2], 0, kMaxColor) : std::nullopt;
      if (!color) return Fail(L"needs a colour number from 0 to 256, or none");
      step_.number = *color;
      return Done();
    }
    return Result<UiStep>::Failure(L"answer: unknown question \"" + FromUtf8(kind) + L"\"");
  }

  // The unquoted word none: the question is cancelled. A quoted "none" is a text.
  static bool IsNone(const Token& token) { return !token.quoted && token.bytes == "none"; }
  bool Arguments(std::size_t least, std::size_t most) const {
    return tokens_.size() >= least + 1 && tokens_.size() <= most + 1;
  }
  bool Id() {
    std::optional<int> id = ParseNumber(tokens_[1], 0, kMaxControlId);
    if (id) step_.id = *id;
    return id.has_value();
  }
  bool Text(std::size_t at, std::wstring& into) {
    into = FromUtf8(tokens_[at].bytes);
    return true;
  }
  bool OnOff() {
    if (tokens_[2].quoted) return false;
    if (SameWord(tokens_[2].bytes, "on")) {
      step_.on = true;
      return true;
    }
    return SameWord(tokens_[2].bytes, "off");
  }
  bool KeyName() {
    if (tokens_[2].quoted) return false;
    for (const KeyWord& word : kKeyWords) {
      if (SameWord(tokens_[2].bytes, word.name)) {
        step_.key = word.key;
        return true;
      }
    }
    return false;
  }
  Result<UiStep> Done() { return Result<UiStep>::Success(step_); }
  Result<UiStep> Fail(const std::wstring& why) {
    std::wstring verb = prefix_.empty() ? FromUtf8(tokens_[0].bytes) + L": " : prefix_;
    return Result<UiStep>::Failure(verb + why);
  }

  std::vector<Token> tokens_;
  UiStep step_;
  std::wstring prefix_;
};

std::string Quote(const std::string& bytes) {
  std::string quoted = "\"";
  for (char c : bytes) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n') {
      quoted += "\\n";
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

const char* KeyText(Key key) {
  switch (key) {
    case Key::kEnter:
      return "Enter";
    case Key::kEscape:
      return "Escape";
    case Key::kTab:
      return "Tab";
    case Key::kF1:
      return "F1";
    case Key::kCharacter:
      // Typed text, never a key step: the script types with `text`.
      break;
  }
  return "Enter";
}

}  // namespace

bool UiStep::IsAnswer() const {
  switch (verb) {
    case StepVerb::kAnswerMessage:
    case StepVerb::kAnswerMenu:
    case StepVerb::kAnswerFolder:
    case StepVerb::kAnswerFile:
    case StepVerb::kAnswerPrint:
    case StepVerb::kAnswerColor:
      return true;
    case StepVerb::kClick:
    case StepVerb::kCheck:
    case StepVerb::kText:
    case StepVerb::kKey:
    case StepVerb::kChoose:
    case StepVerb::kDoubleClick:
    case StepVerb::kRightClick:
    case StepVerb::kAltClick:
    case StepVerb::kColumn:
    case StepVerb::kLabel:
    case StepVerb::kDrop:
    case StepVerb::kTip:
    case StepVerb::kWaitIdle:
    case StepVerb::kDump:
    case StepVerb::kDumpDialog:
    case StepVerb::kClose:
    case StepVerb::kScreenshot:
      return false;
  }
  return false;
}

Result<std::vector<UiStep>> ParseUiScript(std::string_view bytes) {
  using Steps = Result<std::vector<UiStep>>;
  if (bytes.size() > kMaxUiScriptBytes) {
    return Steps::Failure(L"the script has " + std::to_wstring(bytes.size()) +
                          L" bytes; at most " + std::to_wstring(kMaxUiScriptBytes) +
                          L" are read");
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::vector<UiStep> steps;
  int lineNumber = 0;
  while (!bytes.empty()) {
    std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    ++lineNumber;
    if (line.ends_with('\r')) line.remove_suffix(1);
    Result<std::vector<Token>> tokens = Tokenize(line);
    std::wstring where = L"line " + std::to_wstring(lineNumber) + L": ";
    if (!tokens) return Steps::Failure(where + tokens.Message());
    if (tokens.Value().empty()) continue;
    Result<UiStep> step = StepReader(tokens.Value(), lineNumber).Read();
    if (!step) return Steps::Failure(where + step.Message());
    steps.push_back(step.Value());
  }
  return Steps::Success(std::move(steps));
}

Result<std::vector<UiStep>> LoadUiScript(const std::wstring& path) {
  using Steps = Result<std::vector<UiStep>>;
  // CFile opens regular files only, and without blocking on a FIFO named by mistake.
  CFile file;
  CFileException error(CFileException::none, path);
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
    return Steps::Failure(error.Message());
  }
  std::string bytes;
  try {
    char buffer[65536];
    while (std::size_t got = file.Read(buffer, sizeof buffer)) {
      // Checked while reading, since the file may grow meanwhile.
      if (bytes.size() + got > kMaxUiScriptBytes) {
        return Steps::Failure(L"the script \"" + path + L"\" is larger than " +
                              std::to_wstring(kMaxUiScriptBytes) + L" bytes");
      }
      bytes.append(buffer, got);
    }
  } catch (const CFileException& failure) {
    return Steps::Failure(failure.Message());
  }
  return ParseUiScript(bytes);
}

std::string FormatUiStep(const UiStep& step) {
  std::string id = std::to_string(step.id);
  std::string text = Quote(ToUtf8(step.text));
  std::string path = Quote(NativePath(step.text));
  switch (step.verb) {
    case StepVerb::kClick:
      return "click " + id;
    case StepVerb::kCheck:
      return "check " + id + (step.on ? " on" : " off");
    case StepVerb::kText:
      return "text " + id + " " + text;
    case StepVerb::kKey:
      return "key " + id + " " + KeyText(step.key);
    case StepVerb::kChoose:
      return "choose " + id + " " + text;
    case StepVerb::kDoubleClick:
      return "dblclick " + id + " " + text;
    case StepVerb::kRightClick:
      return "rclick " + id + (step.hasText ? " " + text : "");
    case StepVerb::kAltClick:
      return "altclick " + id + (step.hasText ? " " + text : "");
    case StepVerb::kColumn:
      return "column " + id + " " + std::to_string(step.number);
    case StepVerb::kLabel:
      return "label " + id + " " + text + " " + Quote(ToUtf8(step.newText));
    case StepVerb::kDrop:
      return "drop " + id;
    case StepVerb::kTip:
      return "tip " + id + " " + text;
    case StepVerb::kWaitIdle:
      return "wait-idle";
    case StepVerb::kDump:
      return "dump " + id;
    case StepVerb::kDumpDialog:
      return "dump-dialog";
    case StepVerb::kClose:
      return "close";
    case StepVerb::kScreenshot:
      return "screenshot " + path;
    case StepVerb::kAnswerMessage:
      return "answer message " + AnswerName(step.number);
    case StepVerb::kAnswerMenu:
      return "answer menu " + (step.hasText ? text : std::string("none"));
    case StepVerb::kAnswerFolder:
      return "answer folder " + (step.hasText ? path : std::string("none"));
    case StepVerb::kAnswerFile:
      return "answer file " + (step.hasText ? path : std::string("none"));
    case StepVerb::kAnswerPrint:
      if (!step.hasText) return "answer print none";
      return "answer print " + path + (step.number > 0 ? " " + std::to_string(step.number) : "");
    case StepVerb::kAnswerColor:
      return "answer color " + (step.number < 0 ? std::string("none") : std::to_string(step.number));
  }
  return {};
}

std::string AnswerName(int answer) {
  for (const AnswerWord& word : kAnswerWords) {
    if (word.answer == answer) return word.name;
  }
  return "?";
}

}  // namespace fw
