// The side dialogs' rules: the format counts of Directory Properties and the cleaning of a
// description before it is written into a drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fw/Strings.h"
#include "ui/DescriptionText.h"
#include "ui/DirProps.h"

namespace {

using Strings = std::vector<std::wstring>;

TEST(DirPropsCounts, ListEachVersionPresentInOrderThenTheTotal) {
  constexpr int kR14 = 15;
  constexpr int k2018 = 21;
  struct Case {
    std::vector<int> versions;
    Strings lines;
  };
  const Case cases[] = {
      {{k2018, kR14, kR14, k2018, kR14, kR14, k2018, kR14},
       {L"R14\t5", L"2018\t3", L"--------------------", L"Total\t8"}},
      {{}, {L"--------------------", L"Total\t0"}},
      // A version outside the table is counted in the total only.
      {{0, 22, -1}, {L"Unknwn\t1", L"--------------------", L"Total\t3"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ui::DirProps::CountLines(c.versions), c.lines);
  }
}

TEST(DescriptionText, KeepsOneLineOfCharactersEveryDrawingCanHold) {
  struct Case {
    std::wstring typed;
    std::wstring written;
    bool changed;
  };
  const std::wstring seventy(70, L'x');
  const Case cases[] = {
      {L"Door, 900 mm – Ø 12", L"Door, 900 mm – Ø 12", false},
      {L"Two\r\nlines", L"Two lines", true},
      {L"Tab\there\x7F", L"Tab here ", true},
      {std::wstring(L"Half") + static_cast<wchar_t>(0xD800) + L"pair", L"Halfpair", true},
      {std::wstring(L"Beyond") + static_cast<wchar_t>(0x110000), L"Beyond", true},
      {seventy + L"yz", seventy, true},
      {L"", L"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(fw::ToUtf8(c.written));
    ui::CleanedDescription cleaned = ui::CleanDescription(c.typed);
    EXPECT_EQ(cleaned.text, c.written);
    EXPECT_EQ(cleaned.changed, c.changed);
  }
}

}  // namespace
