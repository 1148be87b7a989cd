// The tokenising rule, script and stream lines, and the queue of strings sent to a document.
#include "minicad/InputText.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fw/Strings.h"
#include "minicad/LineSource.h"

namespace minicad {
namespace {

// Takes tokens in the given modes until the text is used up.
std::vector<std::wstring> TakeAll(std::wstring text, std::vector<TokenMode> modes = {}) {
  InputText input{std::move(text)};
  std::vector<std::wstring> tokens;
  while (!input.Exhausted()) {
    TokenMode mode = tokens.size() < modes.size() ? modes[tokens.size()] : TokenMode::kWord;
    tokens.push_back(input.Take(mode));
  }
  return tokens;
}

using Tokens = std::vector<std::wstring>;

TEST(Tokenising, ABlankOrALineEndEndsAToken) {
  EXPECT_EQ(TakeAll(L"OPEN a b\nNEW\n"), (Tokens{L"OPEN", L"a", L"b", L"NEW"}));
}

TEST(Tokenising, TwoSeparatorsInARowGiveAnEmptyToken) {
  EXPECT_EQ(TakeAll(L"A  B \n\n"), (Tokens{L"A", L"", L"B", L"", L""}));
}

TEST(Tokenising, TheEndOfTheTextEndsTheLastToken) {
  EXPECT_EQ(TakeAll(L"trvxqvopen "), (Tokens{L"trvxqvopen"}));
  EXPECT_EQ(TakeAll(L"NEW"), (Tokens{L"NEW"}));
}

TEST(Tokenising, ATextPromptTakesBlanksUpToTheLineEnd) {
  EXPECT_EQ(TakeAll(L"OPEN /tmp/a b.dwg\nNEW x\n", {TokenMode::kWord, TokenMode::kLine}),
            (Tokens{L"OPEN", L"/tmp/a b.dwg", L"NEW", L"x"}));
}

TEST(Tokenising, CarriageReturnsEndLinesAndCountOnceBeforeALineFeed) {
  EXPECT_EQ(TakeAll(L"A\r\nB\rC\r\n\r\n"), (Tokens{L"A", L"B", L"C", L""}));
}

TEST(Tokenising, NamePromptsTakeQuotedBlanksAndPromptsTakeWholeExpressions) {
  constexpr TokenMode kName = TokenMode::kName;
  constexpr TokenMode kWord = TokenMode::kWord;
  struct Case {
    std::wstring text;
    std::vector<TokenMode> modes;
    Tokens tokens;
  };
  const Case cases[] = {
      {L"\"/tmp/a b.dwg\" next\n", {kName, kWord}, {L"/tmp/a b.dwg", L"next"}},
      {L"plain name\n", {kName, kName}, {L"plain", L"name"}},
      {L"\"My Block\"=/lib/x.dwg\n", {kName}, {L"My Block=/lib/x.dwg"}},
      {L"\"say \"\"hi\"\"\"\n", {kName}, {L"say \"hi\""}},
      {L"\"no end\n", {kName}, {L"no end"}},
      {L"\"\"\n", {kName}, {L""}},
      {L"(entlast)\n\n", {kWord, kWord}, {L"(entlast)", L""}},
      {L"(foo \"(a b\" (c)) x\n", {kWord, kWord}, {L"(foo \"(a b\" (c))", L"x"}},
      {L"(open \nnext\n", {kWord, kWord}, {L"(open ", L"next"}},
      {L"(a) \"q\"\n", {TokenMode::kLine}, {L"(a) \"q\""}},
  };
  for (const Case& c : cases) EXPECT_EQ(TakeAll(c.text, c.modes), c.tokens) << fw::ToUtf8(c.text);
}

TEST(Tokenising, QuotedNamesReadBackWhole) {
  for (const std::wstring name :
       {L"Valve", L"My Block", L"a\"b", L"\"lead", L"(paren", L"\u00e9t\u00e9 x"}) {
    InputText input{QuoteName(name) + L" rest\n"};
    EXPECT_EQ(input.Take(TokenMode::kName), name) << fw::ToUtf8(name);
    EXPECT_EQ(input.Take(TokenMode::kWord), L"rest");
  }
}

TEST(InputQueueTest, HeldTextIsReadableOnlyAfterReleaseAndAfterReadyText) {
  InputQueue queue;
  queue.Queue(InputText{L"FIRST\n"}, false);
  queue.Queue(InputText{L"HELD\n"}, true);
  queue.Queue(InputText{L"SECOND\n"}, false);

  std::vector<std::wstring> read;
  while (InputText* front = queue.Front()) read.push_back(front->Take(TokenMode::kWord));
  EXPECT_EQ(read, (Tokens{L"FIRST", L"SECOND"}));

  queue.ReleaseHeld();
  ASSERT_NE(queue.Front(), nullptr);
  EXPECT_EQ(queue.Front()->Take(TokenMode::kWord), L"HELD");
  EXPECT_EQ(queue.Front(), nullptr);
}

TEST(InputQueueTest, EmptyTextIsNotQueued) {
  InputQueue queue;
  queue.Queue(InputText{L""}, false);
  EXPECT_EQ(queue.Front(), nullptr);
}

TEST(ScriptLinesTest, SplitsLinesAndKeepsALastLineWithoutLineEnd) {
  ScriptLines lines(L"\uFEFFA\r\n\nB");
  EXPECT_EQ(lines.ReadLine(), L"A");
  EXPECT_EQ(lines.ReadLine(), L"");
  EXPECT_EQ(lines.ReadLine(), L"B");
  EXPECT_EQ(lines.ReadLine(), std::nullopt);
  EXPECT_FALSE(lines.IsTyped());
}

TEST(StreamLinesTest, ReadsUtf8LinesAndDropsTheByteOrderMark) {
  std::istringstream in("\xEF\xBB\xBFOPEN \xC3\xA9t\xC3\xA9.dwg\r\nBAD \xFF\n");
  StreamLines lines(in, true);
  EXPECT_EQ(lines.ReadLine(), L"OPEN \u00e9t\u00e9.dwg");
  EXPECT_EQ(lines.ReadLine(), L"BAD \xDCFF") << "a byte that is not UTF-8 is kept, as in a name";
  EXPECT_EQ(lines.ReadLine(), std::nullopt);
  EXPECT_TRUE(lines.IsTyped());
}

}  // namespace
}  // namespace minicad
