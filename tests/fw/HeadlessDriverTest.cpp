// The headless driver's rules beyond the golden transcripts: every step that cannot run fails
// the session with a clear line and closes the dialog, every wait is bounded, modeless dialogs
// and the print dialog's printer.
#include "fw/HeadlessUiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ScriptDialog.h"
#include "fw/BackgroundWork.h"
#include "fw/Dialog.h"
#include "fw/ProgressCtrl.h"
#include "fw/RecordingPrinterDC.h"
#include "fw/Strings.h"
#include "fw/UiScript.h"

namespace {

using namespace std::chrono_literals;

std::string FirstError(const std::vector<std::string>& transcript) {
  auto found = std::find_if(transcript.begin(), transcript.end(),
                            [](const std::string& line) { return line.starts_with("ui: error "); });
  return found == transcript.end() ? std::string() : found->substr(10);
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(HeadlessUiDriver, FailsTheSessionOnAStepThatCannotRunAndClosesTheDialog) {
  const std::pair<const char*, const char*> cases[] = {
      {"click 1071", "line 1: click 1071: control 1071 is disabled"},
      {"click 9999", "line 1: click 9999: no control 9999"},
      {"click 1060", "line 1: click 1060: control 1060 is not a button"},
      {"check 1002 off\nchoose 1030 \"Nut\"",
       "line 2: choose 1030 \"Nut\": control 1030 is disabled"},
      {"choose 1030 \"Nope\"", "line 1: choose 1030 \"Nope\": control 1030 has no item \"Nope\""},
      {"column 1030 5", "line 1: column 1030 5: control 1030 has no column 5"},
      {"click 1040\ncolumn 1030 0", "line 2: column 1030 0: control 1030 shows no column headers"},
      {"drop 1001", "line 1: drop 1001: control 1001 has no drop-down part"},
      {"text 1012 \"x\"", "line 1: text 1012 \"x\": control 1012 takes no typed text"},
      {"check 1004 off",
       "line 1: check 1004 off: control 1004 is a radio button, which a click cannot uncheck"},
      {"label 1020 \"R14\" \"x\"", "line 1: label 1020 \"R14\" \"x\": control 1020 has no item \"R14\""},
      {"label 1012 \"Alpha\" \"x\"",
       "line 1: label 1012 \"Alpha\" \"x\": control 1012 is not a list control"},
      {"dblclick 1012 \"Alpha\"",
       "line 1: dblclick 1012 \"Alpha\": control 1012 is not a list that takes double clicks"},
      {"dump 4242", "line 1: dump 4242: no control 4242"},
      {"rclick 1030 \"Nut\"\nanswer menu \"Refresh\"",
       "line 2: answer menu \"Refresh\": the menu item \"Refresh\" is greyed"},
      {"rclick 1030\nanswer menu \"Paste\"",
       "line 2: answer menu \"Paste\": the menu has no item \"Paste\""},
      {"click 1080\nanswer message NO\nanswer print out.pdf",
       "line 3: answer print \"out.pdf\": this driver has no PDF printer"},
      {"answer message YES",
       "line 1: answer message YES: no question took this answer while the dialog \"Script "
       "Test\" waited 1 s"},
      {"close\nclick 1001", "line 2: this step never ran: click 1001"},
  };
  for (const auto& [script, expected] : cases) {
    SCOPED_TRACE(script);
    testsupport::ScriptRun run = testsupport::RunScriptDialog(script, 200ms);
    EXPECT_FALSE(run.passed);
    EXPECT_EQ(FirstError(run.transcript), expected) << Joined(run.transcript);
    EXPECT_EQ(run.endCode, fw::IDCANCEL);
  }
}

// A dialog of one progress bar whose Escape can be refused.
class StubbornDialog : public fw::Dialog {
 public:
  explicit StubbornDialog(bool refuseEscape)
      : Dialog([] {
          fw::DialogTemplate dialog;
          dialog.cx = 100;
          dialog.cy = 30;
          dialog.caption = L"Stubborn";
          dialog.controls = {fw::ControlTemplate::Progress(5, 5, 5, 90, 8)};
          return dialog;
        }()),
        refuseEscape_(refuseEscape) {}

 protected:
  void OnCancel() override {
    if (!refuseEscape_) Dialog::OnCancel();
  }

 private:
  bool refuseEscape_;
};

struct DriverRun {
  std::vector<std::string> transcript;
  bool passed;
  int endCode;
};

DriverRun RunStubborn(const char* script, bool refuseEscape, std::function<bool()> idle = {},
                      fw::UiPresenter* presenter = nullptr) {
  fw::HeadlessUiDriver driver;
  driver.SetPresenter(presenter);
  driver.AddSteps(fw::ParseUiScript(script).Value());
  driver.SetWaitLimit(100ms);
  fw::SetUiDriver(&driver);
  fw::SetBackgroundIdleCheck(std::move(idle));
  StubbornDialog dialog(refuseEscape);
  int code = dialog.DoModal();
  fw::SetBackgroundIdleCheck({});
  fw::SetUiDriver(nullptr);
  bool passed = driver.Finish();
  return DriverRun{driver.Transcript(), passed, code};
}

// Records what the engine shows it; its screenshots succeed or fail as told.
class RecordingPresenter : public fw::UiPresenter {
 public:
  explicit RecordingPresenter(bool saves) : saves_(saves) {}
  void Shown(fw::Dialog& dialog, bool modal) override {
    calls += "shown " + fw::ToUtf8(dialog.GetWindowText()) + (modal ? " modal\n" : "\n");
  }
  void Changed(fw::Dialog&, const std::vector<fw::ControlChange>& changes) override {
    changeCount += static_cast<int>(changes.size());
  }
  void Ending(fw::Dialog&) override { calls += "ending\n"; }
  bool WaitUntil(fw::Dialog& dialog, Clock::time_point deadline) override {
    return dialog.Queue().WaitUntil(deadline);
  }
  void Settle(fw::Dialog&) override {}
  fw::Status Screenshot(fw::Dialog&, const std::wstring& path) override {
    calls += "screenshot " + std::string(path.starts_with(L"/") ? "absolute" : "relative") + "\n";
    return saves_ ? fw::Status::Success() : fw::Status::Failure(L"the window could not be read");
  }
  std::string calls;
  int changeCount = 0;

 private:
  bool saves_;
};

TEST(HeadlessUiDriver, SavesScreenshotsOnlyThroughAPresenterThatShowsTheDialog) {
  struct Case {
    const char* name;
    bool hasPresenter;
    bool saves;
    bool passed;
    const char* line;
    const char* calls;
  };
  const Case cases[] = {
      {"headless", false, false, true, "ui: screenshot \"a b.png\" -> no windows", ""},
      {"saved", true, true, true, "ui: screenshot \"a b.png\" -> saved",
       "shown Stubborn modal\nscreenshot absolute\nending\n"},
      {"unreadable", true, false, false,
       "ui: error line 2: screenshot \"a b.png\": the window could not be read",
       "shown Stubborn modal\nscreenshot absolute\nending\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingPresenter presenter(c.saves);
    DriverRun run = RunStubborn("dump 5\nscreenshot \"a b.png\"", false, {},
                                c.hasPresenter ? &presenter : nullptr);
    EXPECT_EQ(run.passed, c.passed);
    EXPECT_EQ(run.transcript.at(2), c.line) << Joined(run.transcript);
    EXPECT_EQ(presenter.calls, c.calls);
  }
}

TEST(HeadlessUiDriver, BoundsEveryWait) {
  DriverRun busy = RunStubborn("wait-idle\ndump 5", false, [] { return false; });
  EXPECT_FALSE(busy.passed);
  EXPECT_EQ(Joined(busy.transcript),
            "ui: dialog \"Stubborn\" shown\n"
            "ui: error line 1: wait-idle: the background work was still busy after 1 s\n"
            "ui: dialog \"Stubborn\" ended 2\n");

  DriverRun idle = RunStubborn("wait-idle\ndump 5", false);
  EXPECT_TRUE(idle.passed) << Joined(idle.transcript);

  DriverRun stubborn = RunStubborn("", true);
  EXPECT_FALSE(stubborn.passed);
  EXPECT_EQ(Joined(stubborn.transcript),
            "ui: dialog \"Stubborn\" shown\n"
            "ui: error the dialog \"Stubborn\" did not end within 1 s after Escape\n"
            "ui: dialog \"Stubborn\" ended 2\n");
}

TEST(HeadlessUiDriver, HandsTheAnsweredPrinterOutAndShowsModelessDialogs) {
  fw::HeadlessUiDriver driver;
  driver.AddSteps(fw::ParseUiScript("answer print \"out/cat.pdf\" 1200").Value());
  std::wstring asked;
  driver.SetPrinterFactory([&asked](const std::wstring& path, int dpi) {
    asked = path;
    fw::RecordingPrinterSetup setup;
    setup.dotsPerInch = dpi;
    return std::make_unique<fw::RecordingPrinterDC>(setup);
  });
  fw::SetUiDriver(&driver);
  std::unique_ptr<fw::PrinterDC> printer = fw::ChoosePrinter(fw::PrintRequest{});
  ASSERT_NE(printer, nullptr);
  EXPECT_TRUE(asked.ends_with(L"/out/cat.pdf"));
  EXPECT_EQ(printer->GetDeviceCaps(fw::LOGPIXELSY), 1200);

  {
    StubbornDialog progress(false);
    progress.SetWindowText(L"Print Progress");
    EXPECT_TRUE(progress.Create());
    EXPECT_FALSE(progress.Create());
    // Posted to a modeless dialog: delivered while a modal loop runs on its thread.
    bool delivered = false;
    progress.On(77, fw::Event::kCommand, [&delivered] { delivered = true; });
    EXPECT_TRUE(progress.PostCommand(77));
    StubbornDialog modal(false);
    EXPECT_EQ(modal.DoModal(), fw::IDCANCEL);
    EXPECT_TRUE(delivered);
    fw::DialogHandle handle = progress.Handle();
    progress.DestroyWindow();
    EXPECT_FALSE(handle.IsOpen());
    EXPECT_FALSE(handle.PostCommand(77));
  }
  fw::SetUiDriver(nullptr);
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(Joined(driver.Transcript()),
            "ui: print -> \"out/cat.pdf\" 1200\n"
            "ui: dialog \"Print Progress\" shown\n"
            "ui: dialog \"Stubborn\" shown\n"
            "ui: dialog \"Stubborn\" ended 2\n"
            "ui: dialog \"Print Progress\" destroyed\n");
}

}  // namespace
