// The host's button bars and what the outside components check before they add a button.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fw/Png.h"
#include "minicad/CommandButtons.h"
#include "minicad/ComponentButton.h"

namespace {

using minicad::ButtonBar;
using minicad::CommandButton;

std::vector<std::uint8_t> Picture(int side) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(side) * side * 4, 0x80);
  return fw::EncodePng(rgba, side, side, true).Value();
}

TEST(ComponentButton, TakesOnlyPicturesABarCanShow) {
  std::vector<std::uint8_t> good = Picture(32);
  std::vector<std::uint8_t> truncated(good.begin(), good.begin() + good.size() / 2);
  std::vector<std::uint8_t> header(good.begin(), good.begin() + 8);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> png;
    bool taken;
  } cases[] = {
      {"32 x 32 RGBA", good, true},
      {"the largest side", Picture(minicad::kMaxButtonSide), true},
      {"a side too large", Picture(minicad::kMaxButtonSide + 1), false},
      {"no bytes", {}, false},
      {"only the signature", header, false},
      {"cut in half", truncated, false},
      {"not a PNG", std::vector<std::uint8_t>(64, 0x42), false},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(minicad::CheckButtonImage(test.png).Ok(), test.taken) << test.name;
  }
}

TEST(ComponentButton, LogsControlCharactersVisibly) {
  EXPECT_EQ(minicad::VisibleText(L"quorva\n"), L"quorva\\n");
  EXPECT_EQ(minicad::VisibleText(L"a\r\x1b\\b \u00e9"), L"a\\r\\x1b\\\\b \u00e9");
}

TEST(CommandButtons, AddsRemovesByBarAndTellsTheListener) {
  minicad::CommandButtons buttons;
  int changes = 0;
  buttons.SetChangeListener([&] {
    ++changes;
    buttons.List();  // the lock is not held while the listener runs
  });
  buttons.Add(CommandButton{ButtonBar::kRibbon, L"quorva\n", L"Quorvane", {}});
  buttons.Add(CommandButton{ButtonBar::kToolbar, L"quorva\n", L"Quorvane", {}});
  buttons.Add(CommandButton{ButtonBar::kToolbar, L"quorva\n", L"Again", {}});

  EXPECT_FALSE(buttons.Remove(ButtonBar::kToolbar, L"other\n"));
  EXPECT_TRUE(buttons.Remove(ButtonBar::kToolbar, L"quorva\n"));
  EXPECT_FALSE(buttons.Remove(ButtonBar::kToolbar, L"quorva\n"));

  std::vector<CommandButton> left = buttons.List();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].bar, ButtonBar::kRibbon);
  EXPECT_EQ(changes, 4);  // three additions and one removal that removed something
}

}  // namespace
