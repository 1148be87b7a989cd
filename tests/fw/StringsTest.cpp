// Formatting with the home platform's wide printf rules, UTF-8 conversion, case folding and
// time formatting.
#include "fw/Strings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

TEST(Format, ReadsPlainStringAndCharacterAsWide) {
  EXPECT_EQ(fw::Format(L"%s|%c|%ls|%lc", L"wide", L'w', L"long", L'L'), L"wide|w|long|L");
}

TEST(Format, ReadsUpperCaseAndShortStringAndCharacterAsNarrow) {
  EXPECT_EQ(fw::Format(L"%S|%C|%hs|%hc", "upper", 'U', "short", 'h'), L"upper|U|short|h");
}

TEST(Format, ReadsNarrowArgumentsAsUtf8WhateverTheLocale) {
  EXPECT_EQ(fw::Format(L"%S", "Gr\xC3\xBC\xC3\x9F" "e"), L"Gr\u00FC\u00DFe");
  EXPECT_EQ(fw::Format(L"%C", '\xFF'), L"\uFFFD");
}

TEST(Format, KeepsArgumentOrderAcrossMixedConversions) {
  EXPECT_EQ(fw::Format(L"%s=%d %S=%I64d %c%%%5%", L"a", 1, "b", 1234567890123LL, L'!'),
            L"a=1 b=1234567890123 !%%");
}

TEST(Format, ReadsTheHomePlatformsLengthModifiers) {
  EXPECT_EQ(fw::Format(L"%I64d %I64u %I64x", -9000000000LL, 18000000000ULL, 0x1234567890ULL),
            L"-9000000000 18000000000 1234567890");
  EXPECT_EQ(fw::Format(L"%I32d %Iu", 7, static_cast<std::size_t>(1) << 40), L"7 1099511627776");
  EXPECT_EQ(fw::Format(L"%lld %zu %hd %hhd", -5LL, static_cast<std::size_t>(9), 70000, 300),
            L"-5 9 4464 44");
}

TEST(Format, AppliesStarWidthAndPrecision) {
  EXPECT_EQ(fw::Format(L"[%*d]", 5, 42), L"[   42]");
  EXPECT_EQ(fw::Format(L"[%-*d]", 5, 42), L"[42   ]");
  EXPECT_EQ(fw::Format(L"[%*d]", -5, 42), L"[42   ]");
  EXPECT_EQ(fw::Format(L"[%.*s]", 3, L"abcdef"), L"[abc]");
  EXPECT_EQ(fw::Format(L"[%.*d]", -1, 5), L"[5]");  // a negative precision is none
  EXPECT_EQ(fw::Format(L"[%*.*f]", 8, 2, 3.14159), L"[    3.14]");
  EXPECT_EQ(fw::Format(L"[%5s|%-5S|%05d|%+.3e]", L"ab", "cd", 42, 1234.5),
            L"[   ab|cd   |00042|+1.234e+03]");
}

TEST(Format, ProducesOutputOfAnyLength) {
  std::wstring longText(100000, L'x');
  EXPECT_EQ(fw::Format(L"<%s>", longText.c_str()), L"<" + longText + L">");
  std::wstring wide = fw::Format(L"%*d", 50000, 7);
  ASSERT_EQ(wide.size(), 50000u);
  EXPECT_EQ(wide.back(), L'7');
  EXPECT_EQ(fw::Format(L"%.0f", 1e300).size(), 301u);
  EXPECT_GT(fw::Format(L"%Lf", 1e4000L).size(), 4000u);
}

TEST(Format, PrintsNullStringsAsNull) {
  EXPECT_EQ(fw::Format(L"%s|%S", static_cast<const wchar_t*>(nullptr),
                       static_cast<const char*>(nullptr)),
            L"(null)|(null)");
}

TEST(Format, ReturnsTheFormatTextForAFormatItRejects) {
  int ignored = 0;
  EXPECT_EQ(fw::Format(L"50%"), L"50%");
  EXPECT_EQ(fw::Format(L"%d%k", 1), L"%d%k");
  EXPECT_EQ(fw::Format(L"%n", &ignored), L"%n");
  EXPECT_EQ(ignored, 0);
  EXPECT_EQ(fw::Format(L"%2147483647d", 1), L"%2147483647d");
  EXPECT_EQ(fw::Format(nullptr), L"");
}

TEST(Utf8, RoundTripsEveryEncodedLength) {
  const std::wstring text = L"A\u007F\u0080\u00C4\u07FF\u0800\u20AC\uFFFD\uFFFF\U00010000"
                            L"\U0001F600\U0010FFFF";
  EXPECT_EQ(fw::FromUtf8(fw::ToUtf8(text)), text);
  EXPECT_EQ(fw::ToUtf8(L"\u00C4\u20AC\U0001F600"),
            "\xC3\x84" "\xE2\x82\xAC" "\xF0\x9F\x98\x80");
}

TEST(Utf8, JoinsSurrogatePairsAndReplacesLoneHalves) {
  EXPECT_EQ(fw::ToUtf8(std::wstring{0xD83D, 0xDE00}), "\xF0\x9F\x98\x80");
  EXPECT_EQ(fw::ToUtf8(std::wstring{0xD83D, L'a', 0xDE00}), "\xEF\xBF\xBD" "a" "\xEF\xBF\xBD");
  EXPECT_EQ(fw::ToUtf8(std::wstring{static_cast<wchar_t>(0x110000)}), "\xEF\xBF\xBD");
}

TEST(Utf8, ReplacesEachInvalidSequenceWithOneReplacementCharacter) {
  EXPECT_EQ(fw::FromUtf8("a\x80" "b"), L"a\uFFFDb");               // stray continuation
  EXPECT_EQ(fw::FromUtf8("\xC0\x80"), L"\uFFFD\uFFFD");            // overlong NUL
  EXPECT_EQ(fw::FromUtf8("\xE2\x82" "A"), L"\uFFFDA");             // cut short
  EXPECT_EQ(fw::FromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(fw::FromUtf8("\xF4\x90\x80\x80"), L"\uFFFD\uFFFD\uFFFD\uFFFD");  // past U+10FFFF
  EXPECT_EQ(fw::FromUtf8("\xF5\xFF"), L"\uFFFD\uFFFD");
  EXPECT_EQ(fw::FromUtf8("\xF0\x9F\x98"), L"\uFFFD");
}

// Every two-byte input decodes to text that survives another round trip unchanged.
TEST(Utf8, DecodesEveryTwoByteInputToStableText) {
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      const char bytes[] = {static_cast<char>(first), static_cast<char>(second)};
      std::wstring decoded = fw::FromUtf8(std::string_view(bytes, 2));
      ASSERT_EQ(fw::FromUtf8(fw::ToUtf8(decoded)), decoded) << first << "," << second;
    }
  }
}

TEST(CaseFolding, FoldsLettersBeyondAscii) {
  EXPECT_EQ(fw::ToUpper(L"bl\u00F6ck.dwg"), L"BL\u00D6CK.DWG");
  EXPECT_EQ(fw::ToLower(L"\u0394ELTA.DWG"), L"\u03B4elta.dwg");
  EXPECT_TRUE(fw::EqualsNoCase(L"Plan.DWG", L"plan.dwg"));
  EXPECT_TRUE(fw::EqualsNoCase(L"\u03A3\u03C3\u03C2", L"\u03C3\u03C3\u03C3"));
  EXPECT_FALSE(fw::EqualsNoCase(L"plan.dwg", L"plan.dwgx"));
  EXPECT_FALSE(fw::EqualsNoCase(L"plan1", L"plan2"));
}

// Sets the time zone for one test and restores the previous one.
class TimeZoneScope {
 public:
  explicit TimeZoneScope(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
      previous_ = old;
      hadZone_ = true;
    }
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZoneScope() {
    if (hadZone_) {
      setenv("TZ", previous_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::string previous_;
  bool hadZone_ = false;
};

TEST(FormatLocalTime, FormatsInTheLocalTimeZone) {
  TimeZoneScope zone("UTC");
  EXPECT_EQ(fw::FormatLocalTime(0, L"%Y-%m-%d %H:%M:%S"), L"1970-01-01 00:00:00");
  EXPECT_EQ(fw::FormatLocalTime(4102444800LL, L"%x %X"), L"01/01/00 00:00:00");
}

TEST(FormatLocalTime, ProducesLongTextAndRefusesWhatItCannotShow) {
  TimeZoneScope zone("UTC");
  std::wstring format;
  for (int i = 0; i < 200; ++i) format += L"%Y ";
  EXPECT_EQ(fw::FormatLocalTime(0, format.c_str()).size(), 1000u);
  EXPECT_EQ(fw::FormatLocalTime(0, nullptr), L"");
  EXPECT_EQ(fw::FormatLocalTime(0, L""), L"");
  EXPECT_EQ(fw::FormatLocalTime(INT64_MAX, L"%Y"), L"");
}

TEST(CurrentTime, IsTheSystemClockInSeconds) {
  std::int64_t before = std::time(nullptr);
  std::int64_t now = fw::CurrentTime();
  EXPECT_GE(now, before);
  EXPECT_LE(now, std::time(nullptr));
}

}  // namespace
