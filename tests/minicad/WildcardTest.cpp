// The host's wildcard matcher (acutWcMatch): every element of its syntax, as tables of
// (pattern, string, matches).
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "arx/acutads.h"
#include "fw/Strings.h"
#include "minicad/WildcardPattern.h"

namespace minicadtest {
namespace {

struct WildcardCase {
  const wchar_t* pattern;
  const wchar_t* string;
  bool matches;
};

void PrintTo(const WildcardCase& c, std::ostream* out) {
  *out << "pattern \"" << fw::ToUtf8(c.pattern) << "\" string \"" << fw::ToUtf8(c.string) << "\"";
}

// Literal characters compare case-sensitively.
const WildcardCase kLiterals[] = {{L"WALLS", L"WALLS", true},   {L"WALLS", L"walls", false},
                                  {L"WALLS", L"Walls", false},  {L"WALLS", L"WALL", false},
                                  {L"WALLS", L"WALLSS", false}, {L"", L"", true},
                                  {L"", L"A", false},           {L"A~B", L"A~B", true}};

const WildcardCase kStars[] = {
    {L"W*", L"WALLS", true}, {L"W*", L"W", true},          {L"W*", L"walls", false},
    {L"*S", L"WALLS", true}, {L"*A*L*", L"WALLS", true},   {L"*", L"", true},
    {L"**", L"ANY", true},   {L"A*B*C", L"AXXBYYC", true}, {L"A*B*C", L"AXXBYY", false}};

const WildcardCase kSingleCharacters[] = {
    {L"?", L"X", true},   {L"?", L"", false},    {L"?", L"XY", false},    {L"1", L"1", true},
    {L"1", L"10", false}, {L"1#", L"10", true},  {L"1#", L"1", false},    {L"#", L"A", false},
    {L"@", L"A", true},   {L"@", L"z", true},    {L"@", L"\u00c4", true}, {L"@", L"7", false},
    {L"@", L"-", false},  {L".", L"-", true},    {L".", L" ", true},      {L".", L"A", false},
    {L".", L"5", false},  {L"A.B", L"A_B", true}};

// "~" negates a whole pattern, or one alternative, only at its start.
const WildcardCase kNegations[] = {{L"~W*", L"DOORS", true}, {L"~W*", L"WALLS", false},
                                   {L"~", L"", false},       {L"~", L"X", true},
                                   {L"~A,A", L"A", true},    {L"B,~A*", L"B", true},
                                   {L"B,~A*", L"AX", false}, {L"B,~A*", L"C", true}};

const WildcardCase kClasses[] = {
    {L"[ABC]", L"B", true},   {L"[ABC]", L"D", false},   {L"[ABC]", L"b", false},
    {L"[A-C]X", L"CX", true}, {L"[A-C]X", L"DX", false}, {L"[~A-C]", L"D", true},
    {L"[~A-C]", L"B", false}, {L"[~A-C]", L"", false},   {L"[0-9A]#", L"A1", true},
    {L"[-A]", L"-", true},    {L"[A-]", L"-", true},     {L"[]A]", L"]", true},
    {L"[,]", L",", true},     {L"[*]", L"X", false},     {L"[*]", L"*", true},
    {L"[C-A]", L"B", false},  {L"[AB", L"[AB", true},    {L"[AB", L"A", false}};

// A back-quote takes the next character literally, also in a class.
const WildcardCase kEscapes[] = {
    {L"`*", L"*", true},  {L"`*", L"X", false},  {L"A`#", L"A#", true}, {L"A`#", L"A1", false},
    {L"`,", L",", true},  {L"`~A", L"~A", true}, {L"`~A", L"B", false}, {L"``", L"`", true},
    {L"A`", L"A`", true}, {L"[`]]", L"]", true}, {L"[`-]", L"-", true}, {L"`[A]", L"[A]", true}};

const WildcardCase kAlternatives[] = {{L"DOORS,WALLS", L"WALLS", true},
                                      {L"DOORS,WALLS", L"DOORS", true},
                                      {L"DOORS,WALLS", L"DOOR", false},
                                      {L"A*,*B", L"XB", true},
                                      {L"A,", L"", true},
                                      {L",", L"", true},
                                      {L",", L",", false}};

class WildcardTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, MatchesAsTheHostDoes) {
  const WildcardCase& c = GetParam();
  EXPECT_EQ(acutWcMatch(c.string, c.pattern), c.matches ? RTNORM : RTERROR);
}

INSTANTIATE_TEST_SUITE_P(Literals, WildcardTest, ::testing::ValuesIn(kLiterals));
INSTANTIATE_TEST_SUITE_P(Stars, WildcardTest, ::testing::ValuesIn(kStars));
INSTANTIATE_TEST_SUITE_P(SingleCharacters, WildcardTest, ::testing::ValuesIn(kSingleCharacters));
INSTANTIATE_TEST_SUITE_P(Negations, WildcardTest, ::testing::ValuesIn(kNegations));
INSTANTIATE_TEST_SUITE_P(Classes, WildcardTest, ::testing::ValuesIn(kClasses));
INSTANTIATE_TEST_SUITE_P(Escapes, WildcardTest, ::testing::ValuesIn(kEscapes));
INSTANTIATE_TEST_SUITE_P(Alternatives, WildcardTest, ::testing::ValuesIn(kAlternatives));

TEST(WildcardLimits, NullsAndTextBeyondTheBoundDoNotMatch) {
  EXPECT_EQ(acutWcMatch(nullptr, L"*"), RTERROR);
  EXPECT_EQ(acutWcMatch(L"A", nullptr), RTERROR);
  std::wstring longest(minicad::WildcardPattern::kMaxLength, L'A');
  EXPECT_EQ(acutWcMatch(longest.c_str(), L"*"), RTNORM);
  EXPECT_EQ(acutWcMatch((longest + L"A").c_str(), L"*"), RTERROR);
  EXPECT_EQ(acutWcMatch(L"A", (longest + L"*").c_str()), RTERROR);
}

// Patterns that make a backtracking matcher take exponential time finish at once here.
TEST(WildcardLimits, ManyStarsAgainstALongMissStayFast) {
  std::wstring pattern;
  for (int i = 0; i < 200; ++i) pattern += L"*A";
  pattern += L"*B";
  std::wstring text(minicad::WildcardPattern::kMaxLength, L'A');
  EXPECT_EQ(acutWcMatch(text.c_str(), pattern.c_str()), RTERROR);
}

}  // namespace
}  // namespace minicadtest
