// zlib streams as the compressed cache files hold them: round trips, checks against the stated
// length, damaged streams, and the checksum.
#include "fw/Compression.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "fw/Strings.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Text that compresses well followed by noise that does not.
Bytes SampleData() {
  Bytes data;
  for (int i = 0; i < 200; ++i) {
    std::string line = "block " + std::to_string(i) + " of the library\n";
    data.insert(data.end(), line.begin(), line.end());
  }
  std::mt19937 random(42);
  for (int i = 0; i < 3000; ++i) data.push_back(static_cast<std::uint8_t>(random()));
  return data;
}

void ExpectFailureMentions(const fw::Result<Bytes>& result, const std::wstring& words) {
  ASSERT_FALSE(result.Ok());
  EXPECT_NE(result.Message().find(words), std::wstring::npos) << fw::ToUtf8(result.Message());
}

TEST(Compression, RoundTripsThroughAZlibStreamWithinTheBound) {
  Bytes data = SampleData();
  Bytes compressed = fw::Compress(data);
  ASSERT_GE(compressed.size(), 2u);
  EXPECT_EQ(compressed[0], 0x78);  // deflate with a 32K window
  EXPECT_EQ(compressed[1], 0x9C);  // at the default level
  EXPECT_LE(compressed.size(), fw::CompressBound(data.size()));
  // Bytes after the end of the stream are no part of it.
  compressed.insert(compressed.end(), {1, 2, 3});
  auto restored = fw::Uncompress(compressed, data.size());
  ASSERT_TRUE(restored.Ok()) << fw::ToUtf8(restored.Message());
  EXPECT_EQ(restored.Value(), data);
}

TEST(Compression, RoundTripsNothing) {
  Bytes compressed = fw::Compress({});
  auto restored = fw::Uncompress(compressed, 0);
  ASSERT_TRUE(restored.Ok()) << fw::ToUtf8(restored.Message());
  EXPECT_TRUE(restored.Value().empty());
}

TEST(Uncompress, RefusesAnotherLengthThanStated) {
  Bytes data = SampleData();
  Bytes compressed = fw::Compress(data);
  ExpectFailureMentions(fw::Uncompress(compressed, data.size() - 1), L"more than the expected");
  ExpectFailureMentions(fw::Uncompress(compressed, data.size() + 1),
                        L"holds " + std::to_wstring(data.size()) + L" bytes");
  ExpectFailureMentions(fw::Uncompress(compressed, 0), L"more than the expected 0");
}

TEST(Uncompress, RefusesDamagedAndShortStreams) {
  Bytes data = SampleData();
  Bytes compressed = fw::Compress(data);

  Bytes badHeader = compressed;
  badHeader[0] = 0x00;
  ExpectFailureMentions(fw::Uncompress(badHeader, data.size()), L"damaged");

  Bytes badChecksum = compressed;
  badChecksum.back() ^= 0x01;
  ExpectFailureMentions(fw::Uncompress(badChecksum, data.size()), L"damaged");

  for (std::size_t cut :
       {std::size_t{0}, std::size_t{1}, compressed.size() / 2, compressed.size() - 1}) {
    SCOPED_TRACE(cut);
    Bytes shortened(compressed.begin(), compressed.begin() + static_cast<std::ptrdiff_t>(cut));
    ExpectFailureMentions(fw::Uncompress(shortened, data.size()), L"ends early");
  }
}

TEST(Uncompress, SurvivesEveryFlippedByteOfASmallStream) {
  constexpr std::uint8_t kText[] = {'q', 'u', 'o', 'r', 'v', 'a', 'q', 'u', 'o', 'r', 'v', 'a'};
  static_assert(sizeof kText == 12);
  Bytes compressed = fw::Compress(kText);
  for (std::size_t at = 0; at < compressed.size(); ++at) {
    Bytes damaged = compressed;
    damaged[at] ^= 0x5A;
    auto restored = fw::Uncompress(damaged, sizeof kText);
    if (restored.Ok()) {
      EXPECT_EQ(restored.Value().size(), sizeof kText);
    }
  }
}

// The cache reader draws a stream in the archive's pieces: every piece is right, a cut shows
// at the piece that reaches it, and a longer stream only when the reader finishes.
TEST(InflateStream, GivesTheBytesPieceByPieceAndChecksTheEndWhenFinished) {
  const Bytes data = SampleData();
  const Bytes compressed = fw::Compress(data);
  fw::InflateStream whole(compressed, data.size());
  Bytes out;
  std::uint8_t piece[333];
  for (;;) {
    fw::Result<std::size_t> got = whole.Read(piece);
    ASSERT_TRUE(got.Ok()) << fw::ToUtf8(got.Message());
    if (got.Value() == 0) break;
    out.insert(out.end(), piece, piece + got.Value());
  }
  EXPECT_EQ(out, data);
  EXPECT_TRUE(whole.Finish().Ok());

  fw::InflateStream shorter(compressed, data.size() - 10);
  EXPECT_TRUE(shorter.Read(piece).Ok());
  const fw::Status finished = shorter.Finish();
  ASSERT_FALSE(finished.Ok());
  EXPECT_NE(finished.Message().find(L"more than the expected"), std::wstring::npos);

  const Bytes cut(compressed.begin(), compressed.begin() + 40);
  fw::InflateStream early(cut, data.size());
  for (;;) {
    fw::Result<std::size_t> got = early.Read(piece);
    if (!got) {
      EXPECT_NE(got.Message().find(L"ends early"), std::wstring::npos);
      break;
    }
    ASSERT_EQ(got.Value(), sizeof piece) << "a cut stream gave all its bytes";
  }
}

TEST(Adler32, MatchesTheKnownChecksums) {
  constexpr std::uint8_t kWikipedia[] = {'W', 'i', 'k', 'i', 'p', 'e', 'd', 'i', 'a'};
  static_assert(sizeof kWikipedia == 9);
  EXPECT_EQ(fw::Adler32(kWikipedia), 0x11E60398u);
  EXPECT_EQ(fw::Adler32({}), 1u);
}

}  // namespace
