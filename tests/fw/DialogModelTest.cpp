// The dialog model without a script: dialog units, module resources, data exchange and the
// dialog's own keys (Enter, Escape) as the platform treats them.
#include <gtest/gtest.h>

#include <array>

#include "fw/Button.h"
#include "fw/DataExchange.h"
#include "fw/Dialog.h"
#include "fw/Edit.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/Resources.h"
#include "fw/Strings.h"
#include "fw/UiScript.h"

namespace {

TEST(DialogTemplate, MapsDialogUnitsWithTheFontsBaseUnits) {
  struct Case {
    const wchar_t* font;
    int points;
    fw::CRect units;
    fw::CRect pixels;
  };
  const Case cases[] = {
      {L"MS Sans Serif", 8, {0, 0, 520, 346}, {0, 0, 780, 562}},
      {L"MS Sans Serif", 8, {2, 45, 100, 215}, {3, 73, 150, 349}},
      {L"ms sans serif", 8, {105, 25, 132, 41}, {158, 41, 198, 67}},
      {L"Segoe UI", 9, {4, 8, 8, 16}, {7, 15, 14, 30}},
      {L"Some Font", 8, {4, 8, 8, 16}, {6, 13, 12, 26}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(fw::ToUtf8(test.font));
    EXPECT_EQ(fw::MapDialogRect(test.units, fw::DialogBaseUnits(test.font, test.points)),
              test.pixels);
  }
}

// A packed 2 x 1 bitmap, 24 bits, bottom-up: a red and a blue pixel.
constexpr std::array<std::uint8_t, 48> kTwoPixels = {
    40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,  // size, width, height, planes, bits
    0,  0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0,  // compression, image size, resolution
    0,  0, 0, 0, 0, 0, 0, 0,                           // colours
    0,  0, 255, 255, 0, 0, 0, 0};                      // B G R, B G R, padding
static_assert(kTwoPixels.size() == 48);

TEST(Resources, FindsTemplatesAndBitmapsInTheCurrentModuleThenTheExtensionModules) {
  // Module handles are addresses; these two stand for modules of their own.
  static const int moduleA = 0;
  static const int moduleB = 0;
  auto* handleA = const_cast<int*>(&moduleA);
  auto* handleB = const_cast<int*>(&moduleB);
  fw::DialogTemplate fromA;
  fromA.id = 700;
  fromA.caption = L"From A";
  fw::DialogTemplate fromB = fromA;
  fromB.caption = L"From B";
  fromB.controls = {fw::ControlTemplate::Edit(5, 1, 1, 20, 10)};
  fw::AddModuleResources(handleA, {fromA}, {fw::BitmapResource{9, kTwoPixels}});
  fw::AddModuleResources(handleB, {fromB}, {});
  fw::ExtensionModule extension;
  ASSERT_TRUE(fw::InitExtensionModule(extension, handleB));

  EXPECT_EQ(fw::FindDialogTemplate(700)->caption, L"From B");
  EXPECT_FALSE(fw::LoadBitmapResource(9).Ok());
  {
    fw::ModuleStateScope scope(handleA);
    EXPECT_EQ(fw::FindDialogTemplate(700)->caption, L"From A");
    fw::Result<fw::Bitmap> bitmap = fw::LoadBitmapResource(9);
    ASSERT_TRUE(bitmap.Ok()) << fw::ToUtf8(bitmap.Message());
    EXPECT_EQ(bitmap.Value().GetPixel(0, 0), fw::RGB(255, 0, 0));
    EXPECT_EQ(bitmap.Value().GetPixel(1, 0), fw::RGB(0, 0, 255));
  }
  fw::Dialog found(700);
  EXPECT_NE(found.GetDlgItem(5), nullptr);

  fw::TermExtensionModule(extension);
  fw::RemoveModuleResources(handleA);
  fw::RemoveModuleResources(handleB);
  EXPECT_FALSE(fw::FindDialogTemplate(700).has_value());
  fw::Dialog missing(700);
  EXPECT_EQ(missing.DoModal(), -1);
  EXPECT_FALSE(missing.Create());
}

// Exchanges a number and a text of at most five characters.
class ExchangeDialog : public fw::Dialog {
 public:
  ExchangeDialog()
      : Dialog([] {
          fw::DialogTemplate dialog;
          dialog.cx = 100;
          dialog.cy = 60;
          dialog.caption = L"Exchange";
          dialog.controls = {
              fw::ControlTemplate::Edit(10, 5, 5, 60, 12),
              fw::ControlTemplate::Edit(11, 5, 20, 60, 12),
              fw::ControlTemplate::DefPushButton(fw::IDOK, L"OK", 5, 40, 40, 14),
              fw::ControlTemplate::PushButton(fw::IDCANCEL, L"Cancel", 50, 40, 40, 14),
          };
          return dialog;
        }()) {}
  int number = 12;
  std::wstring text = L"abc";

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override {
    exchange.Text(10, number);
    exchange.Text(11, text);
    exchange.MaxChars(11, text, 5);
  }
};

struct ExchangeRun {
  int code;
  std::vector<std::string> transcript;
  int number;
  std::wstring text;
};

ExchangeRun RunExchange(const char* script) {
  fw::HeadlessUiDriver driver;
  driver.AddSteps(fw::ParseUiScript(script).Value());
  fw::SetUiDriver(&driver);
  ExchangeDialog dialog;
  int code = dialog.DoModal();
  fw::SetUiDriver(nullptr);
  EXPECT_TRUE(driver.Finish());
  return ExchangeRun{code, driver.Transcript(), dialog.number, dialog.text};
}

TEST(DataExchange, LoadsStoresAndValidatesAsOKAsks) {
  ExchangeRun typed = RunExchange("text 10 \" -42 \"\ntext 11 \"abcdefgh\"\nkey 10 Enter");
  EXPECT_EQ(typed.code, fw::IDOK);
  EXPECT_EQ(typed.number, -42);
  EXPECT_EQ(typed.text, L"abcde");  // the limit MaxChars set stops the typing

  ExchangeRun bad = RunExchange("text 10 \"12x\"\nclick 1\ndump 10\nclose");
  EXPECT_EQ(bad.code, fw::IDCANCEL);
  EXPECT_EQ(bad.number, 12);
  ASSERT_EQ(bad.transcript.size(), 4u);
  EXPECT_EQ(bad.transcript[1], "ui: message \"\" \"Please enter an integer.\" -> OK");
  EXPECT_EQ(bad.transcript[2], "ui: 10 \"12x\" enabled visible");
}

// The dialog's keys: which command Enter and Escape give.
TEST(Dialog, TreatsEnterAndEscapeAsThePlatformDoes) {
  struct Case {
    const char* name;
    bool defaultButton;    // 1001 is the default push button
    bool defaultDisabled;
    const char* script;
    std::vector<int> commands;  // those that reached their handlers, in order
    int focusAfter = 0;         // the control with the focus at the end (0: not checked)
  };
  constexpr int kCancel = fw::IDCANCEL;
  const Case cases[] = {
      {"Enter presses the default button", true, false, "key 5 Enter\nclose", {1001, kCancel}},
      {"nothing when it is disabled", true, true, "key 5 Enter\nclose", {kCancel}},
      {"IDOK without a default button", false, false, "key 5 Enter\nclose", {fw::IDOK, kCancel}},
      {"a focused push button first", true, false, "key 1002 Enter\nclose", {1002, kCancel}},
      {"Escape is IDCANCEL", true, false, "key 5 Escape", {kCancel}},
      {"Tab moves to the next tab stop", false, false, "key 5 Tab\nclose", {kCancel}, 1001},
      {"past a disabled one", true, true, "key 5 Tab\nclose", {kCancel}, 1002},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    fw::DialogTemplate dialogTemplate;
    dialogTemplate.cx = 100;
    dialogTemplate.cy = 60;
    fw::ControlTemplate first = test.defaultButton
                                    ? fw::ControlTemplate::DefPushButton(1001, L"Go", 5, 20, 40, 14)
                                    : fw::ControlTemplate::PushButton(1001, L"Go", 5, 20, 40, 14);
    if (test.defaultDisabled) first.Disabled();
    dialogTemplate.controls = {fw::ControlTemplate::Edit(5, 5, 5, 60, 12), first,
                               fw::ControlTemplate::PushButton(1002, L"Other", 50, 20, 40, 14)};
    fw::Dialog dialog(dialogTemplate);
    std::vector<int> commands;
    for (int id : {1001, 1002, static_cast<int>(fw::IDOK), static_cast<int>(fw::IDCANCEL)}) {
      dialog.On(id, fw::Event::kCommand, [&commands, &dialog, id] {
        commands.push_back(id);
        if (id == fw::IDCANCEL) dialog.EndDialog(fw::IDCANCEL);
      });
    }
    fw::HeadlessUiDriver driver;
    driver.AddSteps(fw::ParseUiScript(test.script).Value());
    fw::SetUiDriver(&driver);
    dialog.DoModal();
    fw::SetUiDriver(nullptr);
    EXPECT_TRUE(driver.Finish());
    EXPECT_EQ(commands, test.commands);
    if (test.focusAfter != 0) {
      EXPECT_EQ(dialog.GetFocusId(), test.focusAfter);
    }
  }
}

}  // namespace
