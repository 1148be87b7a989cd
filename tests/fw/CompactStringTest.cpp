// The one-pointer wide text: it holds exactly the text it was given through copies, moves and
// assignments (also from a view of itself), compares as the text, and a fill may write fewer
// characters than it made room for.
#include "fw/CompactString.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using fw::CompactString;

TEST(CompactString, HoldsItsTextThroughCopiesMovesAndAssignments) {
  const std::wstring texts[] = {L"", L"A", L"DOOR-SGL-700-LH", L"Biblioth\u00E8que \U0001F600",
                                std::wstring(70000, L'x'), std::wstring(1, L'\0') + L"after"};
  for (const std::wstring& text : texts) {
    SCOPED_TRACE(text.size());
    CompactString original(text);
    EXPECT_EQ(original.size(), text.size());
    EXPECT_EQ(original.empty(), text.empty());
    EXPECT_EQ(std::wstring(original), text);
    EXPECT_EQ(original.c_str()[text.size()], L'\0');

    CompactString copy = original;
    CompactString moved = std::move(copy);
    EXPECT_TRUE(copy.empty());  // a moved-from text is empty, ready for reuse
    EXPECT_EQ(moved, original);
    moved = std::wstring_view(moved).substr(moved.size() / 2);  // a view of itself
    EXPECT_EQ(moved, std::wstring_view(text).substr(text.size() / 2));
    const CompactString& self = moved;
    moved = self;
    moved = std::wstring(L"next");
    EXPECT_EQ(moved, L"next");
    EXPECT_EQ(original, text) << "the copies took nothing from the original";
  }
  EXPECT_LT(CompactString(L"abc"), CompactString(L"abd"));
  EXPECT_GT(CompactString(L"b"), std::wstring_view(L"abc"));
}

TEST(CompactString, AFillMayWriteFewerCharactersOrNone) {
  const struct {
    std::size_t room;
    std::size_t written;
  } cases[] = {{4, 4}, {4, 1}, {4, 0}, {0, 0}};
  for (const auto& c : cases) {
    const std::size_t written = c.written;
    SCOPED_TRACE(c.room * 10 + written);
    const CompactString text = CompactString::Filled(c.room, [written](wchar_t* characters) {
      for (std::size_t i = 0; i < written; ++i) characters[i] = L'a' + static_cast<wchar_t>(i);
      return written;
    });
    EXPECT_EQ(text, std::wstring(L"abcd").substr(0, written));
    EXPECT_EQ(text.c_str()[written], L'\0');
    EXPECT_EQ(text.empty(), written == 0);
  }
}

}  // namespace
