// The archive's byte encodings, its string prefixes and text forms, its buffering over memory and
// real files, and its clean failure on cut or damaged input.
#include "fw/Archive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "fw/File.h"
#include "fw/NativePath.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace {

using fw::CArchive;
using fw::CArchiveException;
using Bytes = std::vector<std::uint8_t>;

template <typename Action>
Bytes Store(Action action) {
  fw::CMemFile file;
  CArchive archive(&file, CArchive::store);
  action(archive);
  archive.Close();
  return file.Detach();
}

Bytes StoreString(const std::wstring& text) {
  return Store([&](CArchive& archive) { archive.WriteString(text); });
}

// Read both ways a string can be read; the compact form must hold the same text.
std::wstring LoadString(std::span<const std::uint8_t> bytes) {
  fw::CMemFile file(bytes);
  CArchive archive(&file, CArchive::load);
  std::wstring text = archive.ReadString();
  fw::CMemFile again(bytes);
  CArchive compactArchive(&again, CArchive::load);
  const fw::CompactString compact = compactArchive.ReadCompactString();
  EXPECT_EQ(std::wstring(compact), text);
  EXPECT_EQ(compact.c_str()[compact.size()], L'\0');
  return text;
}

// The cause `action` fails with on `bytes`, or `none` when it reads them without error.
template <typename Action>
CArchiveException::Cause LoadFailure(std::span<const std::uint8_t> bytes, Action action,
                                     std::size_t bufferSize = 4096) {
  fw::CMemFile file(bytes);
  CArchive archive(&file, CArchive::load, bufferSize);
  try {
    action(archive);
  } catch (const CArchiveException& error) {
    return error.cause();
  }
  return CArchiveException::none;
}

Bytes Prefix(const Bytes& bytes, std::size_t count) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

TEST(CArchive, WritesPrimitivesLittleEndian) {
  Bytes stored = Store([](CArchive& archive) {
    archive.WriteInt32(-2);
    archive.WriteBool(true);
    archive.WriteDouble(1.0);
    archive.WriteUInt64(0x0102030405060708);
    archive.WriteTime(-1);
  });
  constexpr std::uint8_t kExpected[] = {
      0xFE, 0xFF, 0xFF, 0xFF,                          // int32 -2
      0x01, 0x00, 0x00, 0x00,                          // true
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,  // 1.0
      0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,  // unsigned 64-bit
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // time -1
  };
  static_assert(sizeof kExpected == 32);
  EXPECT_EQ(stored, Bytes(std::begin(kExpected), std::end(kExpected)));
}

TEST(CArchive, PrimitivesRoundTripAtTheirExtremesAndAnyNonZeroIsTrue) {
  Bytes stored = Store([](CArchive& archive) {
    archive.WriteInt32(std::numeric_limits<std::int32_t>::min());
    archive.WriteInt32(2);  // read back as a bool
    archive.WriteDouble(-0.1);
    archive.WriteUInt64(std::numeric_limits<std::uint64_t>::max());
    archive.WriteTime(std::numeric_limits<std::int64_t>::min());
  });
  fw::CMemFile file(stored);
  CArchive archive(&file, CArchive::load);
  EXPECT_EQ(archive.ReadInt32(), std::numeric_limits<std::int32_t>::min());
  EXPECT_TRUE(archive.ReadBool());
  EXPECT_EQ(archive.ReadDouble(), -0.1);
  EXPECT_EQ(archive.ReadUInt64(), std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(archive.ReadTime(), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(archive.BytesLeft(), 0u);
}

TEST(CArchiveString, WritesTheUtf16TagLengthAndUnits) {
  constexpr std::uint8_t kAB[] = {0xFF, 0xFE, 0xFF, 0x02, 0x41, 0x00, 0x42, 0x00};
  static_assert(sizeof kAB == 8);
  constexpr std::uint8_t kEmpty[] = {0xFF, 0xFE, 0xFF, 0x00};
  static_assert(sizeof kEmpty == 4);
  constexpr std::uint8_t kGrinning[] = {0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE};
  static_assert(sizeof kGrinning == 8);
  EXPECT_EQ(StoreString(L"AB"), Bytes(std::begin(kAB), std::end(kAB)));
  EXPECT_EQ(StoreString(L""), Bytes(std::begin(kEmpty), std::end(kEmpty)));
  EXPECT_EQ(StoreString(L"\U0001F600"), Bytes(std::begin(kGrinning), std::end(kGrinning)));
  EXPECT_EQ(LoadString(kGrinning), L"\U0001F600");
}

struct PrefixCase {
  std::size_t length;
  Bytes prefix;
};

TEST(CArchiveString, ChoosesThePrefixByLengthAndReadsItBack) {
  const PrefixCase cases[] = {
      {254, {0xFF, 0xFE, 0xFF, 0xFE}},
      {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
      {0xFFFD, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
  };
  for (const PrefixCase& c : cases) {
    SCOPED_TRACE(c.length);
    std::wstring text(c.length, L'q');
    text.back() = L'\u00E9';
    Bytes stored = StoreString(text);
    ASSERT_EQ(stored.size(), c.prefix.size() + 2 * c.length);
    EXPECT_EQ(Prefix(stored, c.prefix.size()), c.prefix);
    EXPECT_EQ(LoadString(stored), text);
  }
}

TEST(CArchiveString, ReadsUntaggedNarrowStringsAsUtf8) {
  constexpr std::uint8_t kNarrowAB[] = {0x02, 0x41, 0x42};
  static_assert(sizeof kNarrowAB == 3);
  constexpr std::uint8_t kNarrowAccent[] = {0x03, 0x43, 0xC3, 0xA9};
  static_assert(sizeof kNarrowAccent == 4);
  EXPECT_EQ(LoadString(kNarrowAB), L"AB");
  EXPECT_EQ(LoadString(kNarrowAccent), L"C\u00E9");

  Bytes longNarrow = {0xFF, 0x2C, 0x01};  // FF and a 16-bit length of 300, no tag
  longNarrow.insert(longNarrow.end(), 300, 'z');
  EXPECT_EQ(LoadString(longNarrow), std::wstring(300, L'z'));
}

TEST(CArchiveString, ReplacesUnpairedSurrogatesBothWays) {
  constexpr std::uint8_t kLoneHigh[] = {0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x41, 0x00};
  static_assert(sizeof kLoneHigh == 8);
  EXPECT_EQ(LoadString(kLoneHigh), L"\uFFFDA");
  std::wstring loneLow(1, static_cast<wchar_t>(0xDC00));
  EXPECT_EQ(LoadString(StoreString(loneLow)), L"\uFFFD");
}

// A folder whose name is not UTF-8 travels as U+DC80..U+DCFF; the cache must give it back.
TEST(CArchiveString, KeepsTheBytesOfANameThatIsNotUtf8) {
  const std::wstring path = fw::FromNativePath("/lib/Biblioth\xE8que");
  ASSERT_TRUE(fw::HasUndecodableBytes(path));
  const Bytes stored = StoreString(path);
  EXPECT_EQ(Prefix(stored, 4), (Bytes{0xFF, 0xFE, 0xFF, 17}));
  EXPECT_EQ(LoadString(stored), path);
  constexpr std::uint8_t kNarrow[] = {0x02, 0x41, 0xE8};
  static_assert(sizeof kNarrow == 3);
  EXPECT_EQ(fw::NativePath(LoadString(kNarrow)), "A\xE8") << "an untagged string keeps them too";
}

TEST(CArchiveString, RefusesAHugeStatedLengthBeforeAllocating) {
  // A 32-bit length of 0x7FFFFFFF characters, then nothing.
  constexpr std::uint8_t kHuge32[] = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
  static_assert(sizeof kHuge32 == 10);
  // The 64-bit form: the tag, then seven FF, then a length near 2^64.
  constexpr std::uint8_t kHuge64[] = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  static_assert(sizeof kHuge64 == 18);
  // 4096 characters (8192 bytes) stated, 2 bytes present.
  constexpr std::uint8_t kShort[] = {0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x10, 0x41, 0x00};
  static_assert(sizeof kShort == 8);
  auto readString = [](CArchive& archive) { (void)archive.ReadString(); };
  EXPECT_EQ(LoadFailure(kHuge32, readString), CArchiveException::badIndex);
  EXPECT_EQ(LoadFailure(kHuge64, readString), CArchiveException::badIndex);
  try {
    (void)LoadString(kShort);
    FAIL() << "a string longer than its file was read";
  } catch (const CArchiveException& error) {
    EXPECT_EQ(error.cause(), CArchiveException::endOfFile);
    EXPECT_EQ(error.detail(), L"string of 4096 characters needs 8192 bytes; 2 are left");
  }
}

// A small archive with one of each value, as a cache record would hold them.
Bytes SmallRecord() {
  return Store([](CArchive& archive) {
    archive.WriteInt32(7);
    archive.WriteString(L"Plan \u00E9");
    archive.WriteBool(true);
    archive.WriteDouble(2.5);
    archive.WriteString(L"");
    archive.WriteTime(1600000000);
  });
}

void ReadSmallRecord(CArchive& archive) {
  (void)archive.ReadInt32();
  (void)archive.ReadString();
  (void)archive.ReadBool();
  (void)archive.ReadDouble();
  (void)archive.ReadString();
  (void)archive.ReadTime();
}

TEST(CArchiveRobustness, EveryCutOfAValidArchiveEndsInEndOfFile) {
  Bytes record = SmallRecord();
  for (std::size_t length = 0; length < record.size(); ++length) {
    SCOPED_TRACE(length);
    EXPECT_EQ(LoadFailure(Prefix(record, length), ReadSmallRecord), CArchiveException::endOfFile);
    EXPECT_EQ(LoadFailure(Prefix(record, length), ReadSmallRecord, 3),
              CArchiveException::endOfFile);
  }
  EXPECT_EQ(LoadFailure(record, ReadSmallRecord), CArchiveException::none);
}

TEST(CArchiveRobustness, DamagedBytesGiveACleanErrorOrAValue) {
  const Bytes record = SmallRecord();
  for (std::size_t at = 0; at < record.size(); ++at) {
    for (std::uint8_t replacement :
         {std::uint8_t(record[at] ^ 0x80), std::uint8_t(0x00), std::uint8_t(0xFF)}) {
      Bytes damaged = record;
      damaged[at] = replacement;
      // Only that no crash and no other exception happens: the result may be valid.
      (void)LoadFailure(damaged, ReadSmallRecord);
    }
  }
}

TEST(CArchive, RefusesTheWrongDirectionAndUseAfterClose) {
  fw::CMemFile file;
  CArchive storing(&file, CArchive::store);
  EXPECT_THROW((void)storing.ReadInt32(), CArchiveException);
  storing.Close();
  EXPECT_THROW(storing.WriteInt32(1), CArchiveException);

  constexpr std::uint8_t kFour[] = {1, 0, 0, 0};
  static_assert(sizeof kFour == 4);
  EXPECT_EQ(LoadFailure(kFour, [](CArchive& archive) { archive.WriteInt32(1); }),
            CArchiveException::readOnly);
}

TEST(CArchive, DestructorFlushesAndAbortDrops) {
  fw::CMemFile flushed;
  { CArchive(&flushed, CArchive::store).WriteInt32(5); }
  EXPECT_EQ(flushed.GetLength(), 4u);

  fw::CMemFile aborted;
  {
    CArchive archive(&aborted, CArchive::store);
    archive.WriteString(L"dropped");
    archive.Abort();
  }
  EXPECT_EQ(aborted.GetLength(), 0u);
}

TEST(CArchive, CloseReportsAFailedWriteAndTheDestructorSwallowsIt) {
  testsupport::TempFolder folder;
  fw::CFile full;
  ASSERT_TRUE(full.Open(folder / L"full.bin", fw::CFile::modeCreate | fw::CFile::modeWrite));
  testsupport::FileSizeLimit noRoom(0);
  {
    CArchive archive(&full, CArchive::store, 16);
    archive.WriteInt32(1);
    EXPECT_THROW(archive.Close(), fw::CFileException);
  }
  EXPECT_NO_THROW({
    CArchive archive(&full, CArchive::store, 16);
    archive.WriteInt32(1);
  });
}

std::wstring Letters(int i) {
  return std::wstring(static_cast<std::size_t>(i * 7), static_cast<wchar_t>(L'a' + i % 26));
}

// Values that cross a small buffer's boundaries in every way: single bytes, values that straddle
// it, and strings longer than the buffer.
void StoreMixed(CArchive& archive) {
  for (int i = 0; i < 50; ++i) {
    archive.WriteInt32(i * 1000003);
    archive.WriteString(Letters(i));
    archive.WriteDouble(i / 3.0);
    archive.WriteString(L"\U0001F600");
  }
}

void ExpectMixed(CArchive& archive) {
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(archive.ReadInt32(), i * 1000003);
    ASSERT_EQ(archive.ReadString(), Letters(i));
    ASSERT_EQ(archive.ReadDouble(), i / 3.0);
    ASSERT_EQ(archive.ReadString(), L"\U0001F600");
  }
  EXPECT_EQ(archive.BytesLeft(), 0u);
}

TEST(CArchiveOverFile, SmallBuffersWriteTheSameBytesAndReadThemBack) {
  testsupport::TempFolder folder;
  std::wstring path = folder / L"mixed.bin";
  {
    fw::CFile file;
    ASSERT_TRUE(file.Open(path, fw::CFile::modeCreate | fw::CFile::modeWrite));
    CArchive archive(&file, CArchive::store, 7);
    StoreMixed(archive);
    archive.Close();
  }
  Bytes inMemory = Store(StoreMixed);
  std::string onDisk = testsupport::ReadFile(path);
  EXPECT_EQ(Bytes(onDisk.begin(), onDisk.end()), inMemory);

  for (std::size_t bufferSize : {0, 1, 5, 4096}) {
    SCOPED_TRACE(bufferSize);
    fw::CFile file;
    ASSERT_TRUE(file.Open(path, fw::CFile::modeRead));
    CArchive archive(&file, CArchive::load, bufferSize);
    EXPECT_EQ(archive.BytesLeft(), inMemory.size());
    ExpectMixed(archive);
  }
}

}  // namespace
