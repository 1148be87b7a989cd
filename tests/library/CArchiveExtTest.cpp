// The cache archive's "akz" container: its layout, the containers it refuses, and both
// directions over a file.
#include "library/CArchiveExt.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "LibraryTestSupport.h"
#include "fw/Compression.h"
#include "support/TempFolder.h"

namespace {

using library::CArchiveExt;
using librarytest::Bytes;

std::uint32_t UInt32At(const Bytes& bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (std::uint32_t{bytes[at + 3]} << 24);
}

void PutUInt32At(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes SampleStream() {
  Bytes stream;
  for (int i = 0; i < 5000; ++i) stream.push_back(static_cast<std::uint8_t>(i % 7 == 0 ? i : 'x'));
  return stream;
}

std::wstring UnpackError(const Bytes& fileBytes) {
  try {
    CArchiveExt::Unpack(fileBytes);
  } catch (const fw::CArchiveException& error) {
    return error.detail();
  }
  return L"(taken)";
}

// The checksum, the mode and the undefined byte are written but never checked on reading.
TEST(CArchiveExtContainer, HoldsTheLengthAndChecksumOfTheDeflatedBytesAndReadsWithoutThem) {
  Bytes packed = CArchiveExt::Pack(SampleStream());
  EXPECT_EQ(librarytest::Prefix(packed, 7), (Bytes{'a', 0, 'k', 0, 'z', 0, 1}));
  EXPECT_EQ(UInt32At(packed, 8), 5000u);
  Bytes compressed(packed.begin() + 16, packed.end());
  EXPECT_EQ(UInt32At(packed, 12), fw::Adler32(compressed));
  packed[6] = 9;
  packed[7] = 0xAB;
  PutUInt32At(packed, 12, 0xDEADBEEF);
  EXPECT_EQ(CArchiveExt::Unpack(packed), SampleStream());
  Bytes plain = {'a', 0, 'k', 0, 'y', 0, 1, 0, 5, 0, 0, 0};
  EXPECT_EQ(CArchiveExt::Unpack(plain), plain) << "no magic: the bytes are the stream";
}

TEST(CArchiveExtContainer, RefusesLengthsItCannotHoldBeforeAllocating) {
  Bytes packed = CArchiveExt::Pack(Bytes(10, 0));
  const std::uint64_t compressed = packed.size() - 16;
  PutUInt32At(packed, 8, 0xFFFFFFF0u);
  EXPECT_EQ(UnpackError(packed),
            L"compressed cache states 4294967280 uncompressed bytes; the cap is 1073741824");
  PutUInt32At(packed, 8, static_cast<std::uint32_t>(compressed * 1032 + 1));
  EXPECT_EQ(UnpackError(packed), L"compressed cache states " +
                                     std::to_wstring(compressed * 1032 + 1) +
                                     L" uncompressed bytes from " + std::to_wstring(compressed) +
                                     L" compressed bytes; zlib expands at most 1032 to 1");
  PutUInt32At(packed, 8, 11);
  EXPECT_EQ(UnpackError(packed).rfind(L"compressed cache: ", 0), 0u) << "another length";
  EXPECT_EQ(UnpackError({'a', 0, 'k', 0, 'z', 0, 1, 0, 4, 0}),
            L"compressed cache header needs 16 bytes; the file has 10");
}

TEST(CArchiveExtContainer, FailsCleanlyWhenCutAtAnyLength) {
  Bytes packed = CArchiveExt::Pack(SampleStream());
  for (std::size_t length = 6; length < packed.size(); ++length) {
    EXPECT_THROW(CArchiveExt::Unpack(librarytest::Prefix(packed, length)), fw::CArchiveException)
        << "length " << length;
  }
}

class CArchiveExtFile : public ::testing::Test {
 protected:
  Bytes WriteSample(bool compress, bool abort = false) {
    fw::CFile file;
    EXPECT_TRUE(file.Open(path_, fw::CFile::modeCreate | fw::CFile::modeWrite));
    CArchiveExt archive(&file, fw::CArchive::store, CArchiveExt::kBufferSize, compress);
    archive.Archive().WriteInt32(0x01020304);
    archive.Archive().WriteString(L"Quorvane");
    abort ? archive.Abort() : archive.Close();
    file.Close();
    return librarytest::ReadBytes(path_);
  }

  void ExpectSampleReads(bool compress) {
    fw::CFile file;
    ASSERT_TRUE(file.Open(path_, fw::CFile::modeRead));
    CArchiveExt archive(&file, fw::CArchive::load, CArchiveExt::kBufferSize, compress);
    EXPECT_EQ(archive.Archive().ReadInt32(), 0x01020304);
    EXPECT_EQ(archive.Archive().ReadString(), L"Quorvane");
  }

  testsupport::TempFolder folder_;
  std::wstring path_ = folder_ / L"sample.cache";
};

TEST_F(CArchiveExtFile, WritesThePlainStreamOrTheContainerAndReadsBothWhileCompressing) {
  Bytes expected = {4, 3, 2, 1, 0xFF, 0xFE, 0xFF, 8};
  for (char c : std::string("Quorvane")) expected.insert(expected.end(), {std::uint8_t(c), 0});
  EXPECT_EQ(WriteSample(false), expected);
  ExpectSampleReads(false);
  ExpectSampleReads(true);
  EXPECT_EQ(CArchiveExt::Unpack(WriteSample(true)), expected);
  ExpectSampleReads(true);
  EXPECT_TRUE(WriteSample(true, true).empty()) << "an aborted archive writes nothing";
}

}  // namespace
