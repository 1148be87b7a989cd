// The headless driver's script: what each line means, the errors a broken line gives, and the
// formatted step parsing back to itself.
#include "fw/UiScript.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "fw/Strings.h"
#include "fw/UiDriver.h"
#include "support/TempFolder.h"

namespace {

using fw::StepVerb;
using fw::UiStep;

UiStep Step(StepVerb verb, int id = 0, std::wstring text = {}, bool hasText = false) {
  UiStep step;
  step.verb = verb;
  step.line = 1;
  step.id = id;
  step.text = std::move(text);
  step.hasText = hasText;
  return step;
}

UiStep With(UiStep step, auto change) {
  change(step);
  return step;
}

TEST(UiScript, ReadsEveryVerbAndFormatsItBack) {
  const std::pair<const char*, UiStep> cases[] = {
      {"click 245", Step(StepVerb::kClick, 245)},
      {"check 236 on", With(Step(StepVerb::kCheck, 236), [](UiStep& s) { s.on = true; })},
      {"check 236 OFF", Step(StepVerb::kCheck, 236)},
      {"text 270 \"a \\\"b\\\" \\\\ c\\nd\"", Step(StepVerb::kText, 270, L"a \"b\" \\ c\nd")},
      {"text 270 \"\"", Step(StepVerb::kText, 270, L"")},
      {"key 270 Escape", With(Step(StepVerb::kKey, 270), [](UiStep& s) { s.key = fw::Key::kEscape; })},
      {"key 270 f1", With(Step(StepVerb::kKey, 270), [](UiStep& s) { s.key = fw::Key::kF1; })},
      {"choose 280 \"<None>\"", Step(StepVerb::kChoose, 280, L"<None>")},
      {"choose 280 Prompt", Step(StepVerb::kChoose, 280, L"Prompt")},
      {"dblclick 253 \"Bolt # 2\"", Step(StepVerb::kDoubleClick, 253, L"Bolt # 2")},
      {"rclick 253", Step(StepVerb::kRightClick, 253)},
      {"rclick 253 \"Nut\"", Step(StepVerb::kRightClick, 253, L"Nut", true)},
      {"altclick 253 \"Nut\"", Step(StepVerb::kAltClick, 253, L"Nut", true)},
      {"altclick 253", Step(StepVerb::kAltClick, 253)},
      {"column 253 3", With(Step(StepVerb::kColumn, 253), [](UiStep& s) { s.number = 3; })},
      {"label 232 \"Old\" \"New\"",
       With(Step(StepVerb::kLabel, 232, L"Old"), [](UiStep& s) { s.newText = L"New"; })},
      {"drop 296", Step(StepVerb::kDrop, 296)},
      {"tip 253 \"Nut\"", Step(StepVerb::kTip, 253, L"Nut")},
      {"wait-idle   # the loader", Step(StepVerb::kWaitIdle)},
      {"dump 253", Step(StepVerb::kDump, 253)},
      {"dump-dialog", Step(StepVerb::kDumpDialog)},
      {"\tclose", Step(StepVerb::kClose)},
      {"screenshot \"shots/browser 1.png\"",
       Step(StepVerb::kScreenshot, 0, L"shots/browser 1.png", true)},
      {"answer message YES",
       With(Step(StepVerb::kAnswerMessage), [](UiStep& s) { s.number = fw::IDYES; })},
      {"answer message ignore",
       With(Step(StepVerb::kAnswerMessage), [](UiStep& s) { s.number = fw::IDIGNORE; })},
      {"answer menu \"Insert Bolt\"", Step(StepVerb::kAnswerMenu, 0, L"Insert Bolt", true)},
      {"answer menu none", Step(StepVerb::kAnswerMenu)},
      {"answer menu \"none\"", Step(StepVerb::kAnswerMenu, 0, L"none", true)},
      {"answer folder \"lib/my blocks\"", Step(StepVerb::kAnswerFolder, 0, L"lib/my blocks", true)},
      {"answer folder none", Step(StepVerb::kAnswerFolder)},
      {"answer file /tmp/x\xff.cache", Step(StepVerb::kAnswerFile, 0, L"/tmp/x\xDCFF.cache", true)},
      {"answer print out.pdf 600",
       With(Step(StepVerb::kAnswerPrint, 0, L"out.pdf", true), [](UiStep& s) { s.number = 600; })},
      {"answer print none", Step(StepVerb::kAnswerPrint)},
      {"answer color 256", With(Step(StepVerb::kAnswerColor), [](UiStep& s) { s.number = 256; })},
      {"answer color none", With(Step(StepVerb::kAnswerColor), [](UiStep& s) { s.number = -1; })},
  };
  for (const auto& [line, expected] : cases) {
    SCOPED_TRACE(line);
    fw::Result<std::vector<UiStep>> parsed = fw::ParseUiScript(line);
    ASSERT_TRUE(parsed.Ok()) << fw::ToUtf8(parsed.Message());
    ASSERT_EQ(parsed.Value().size(), 1u);
    EXPECT_EQ(parsed.Value()[0], expected) << fw::FormatUiStep(parsed.Value()[0]);
    fw::Result<std::vector<UiStep>> again = fw::ParseUiScript(fw::FormatUiStep(expected));
    ASSERT_TRUE(again.Ok()) << fw::FormatUiStep(expected);
    EXPECT_EQ(again.Value()[0], expected);
  }
}

TEST(UiScript, NamesTheLineAndTheFaultOfABrokenStep) {
  const std::pair<const char*, const char*> cases[] = {
      {"click", "line 1: click: needs a control id"},
      {"click x", "line 1: click: needs a control id"},
      {"click 65536", "line 1: click: needs a control id"},
      {"click -1", "line 1: click: needs a control id"},
      {"click 1 2", "line 1: click: needs a control id"},
      {"check 1 maybe", "line 1: check: needs a control id and on or off"},
      {"key 1 Space", "line 1: key: needs a control id and Enter, Escape, Tab or F1"},
      {"text 1 \"open", "line 1: a quoted argument without its closing quote"},
      {"text 1 \"a\"b", "line 1: text right after a closing quote"},
      {"text 1 a\"b\"", "line 1: a quote inside an unquoted argument"},
      {"text 1 \"\\t\"", "line 1: unknown escape \\t in a quoted argument"},
      {"column 1 -2", "line 1: column: needs a control id and a column number"},
      {"label 1 \"a\"", "line 1: label: needs a control id, the old text and the new text"},
      {"close now", "line 1: close: takes no arguments"},
      {"screenshot", "line 1: screenshot: needs a file's path"},
      {"screenshot \"\"", "line 1: screenshot: needs a file's path"},
      {"\"click\" 1", "line 1: a step starts with its verb, not a quoted text"},
      {"press 1", "line 1: unknown step \"press\""},
      {"answer", "line 1: answer: needs message, menu, folder, file, print or color"},
      {"answer dialog OK", "line 1: answer: unknown question \"dialog\""},
      {"answer message MAYBE",
       "line 1: answer message: needs YES, NO, OK, CANCEL, RETRY, ABORT or IGNORE"},
      {"answer menu", "line 1: answer menu: needs an item's text or none"},
      {"answer folder", "line 1: answer folder: needs a path or none"},
      {"answer print out.pdf 0",
       "line 1: answer print: dots per inch must be a number from 1 to 9600"},
      {"answer color 300", "line 1: answer color: needs a colour number from 0 to 256, or none"},
      {"# fine\r\nclick 1\r\n\r\nclick", "line 4: click: needs a control id"},
  };
  for (const auto& [script, expected] : cases) {
    SCOPED_TRACE(script);
    fw::Result<std::vector<UiStep>> parsed = fw::ParseUiScript(script);
    ASSERT_FALSE(parsed.Ok());
    EXPECT_EQ(fw::ToUtf8(parsed.Message()), expected);
  }
}

TEST(UiScript, NumbersStepsByTheirLinesPastCommentsBlankLinesAndAByteOrderMark) {
  fw::Result<std::vector<UiStep>> parsed =
      fw::ParseUiScript("\xEF\xBB\xBF# a script\r\n\r\n  click 1  # first\n\"#\" is no comment?\n");
  ASSERT_FALSE(parsed.Ok());  // a quoted verb on line 4
  EXPECT_EQ(fw::ToUtf8(parsed.Message()), "line 4: a step starts with its verb, not a quoted text");
  parsed = fw::ParseUiScript("\xEF\xBB\xBF# a script\r\n\r\n  click 1  # first\ndump 2");
  ASSERT_TRUE(parsed.Ok());
  ASSERT_EQ(parsed.Value().size(), 2u);
  EXPECT_EQ(parsed.Value()[0].line, 3);
  EXPECT_EQ(parsed.Value()[1].line, 4);
}

TEST(UiScript, LoadsOnlyARegularFileOfBoundedSize) {
  testsupport::TempFolder folder;
  testsupport::WriteFile(folder / L"ok.ui", "click 1\n");
  fw::Result<std::vector<UiStep>> loaded = fw::LoadUiScript(folder / L"ok.ui");
  ASSERT_TRUE(loaded.Ok()) << fw::ToUtf8(loaded.Message());
  EXPECT_EQ(loaded.Value().size(), 1u);

  EXPECT_NE(fw::LoadUiScript(folder.Path()).Message().find(L"the path names a folder"),
            std::wstring::npos);
  // A FIFO without a writer would block a plain open for ever.
  ASSERT_EQ(mkfifo(fw::ToUtf8(folder / L"fifo").c_str(), 0600), 0);
  EXPECT_NE(fw::LoadUiScript(folder / L"fifo").Message().find(L"the path names no regular file"),
            std::wstring::npos);
  EXPECT_NE(fw::LoadUiScript(folder / L"missing.ui").Message().find(L"was not found"),
            std::wstring::npos);
  std::string huge(fw::kMaxUiScriptBytes + 1, '#');
  testsupport::WriteFile(folder / L"huge.ui", huge);
  EXPECT_NE(fw::LoadUiScript(folder / L"huge.ui").Message().find(L"is larger than"),
            std::wstring::npos);
}

}  // namespace
