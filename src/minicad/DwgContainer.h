// minicad's drawing files: the drawing-file header and image section laid out as drawings of
// that format have them, so every reader of drawings finds the version and the preview where it
// looks for them, followed by minicad's own serialisation of the database (DrawingEncoder.h).
//
// Layout (little-endian; offsets from the start of the file):
//   0        6 bytes   version string of the format level ("AC1014" ... "AC1032")
//   6        5 bytes   zero
//   11       1 byte    maintenance release (0)
//   12       1 byte    1
//   13       4 bytes   image seeker: address of the image section (88 for R14, 220 for 2000,
//                      448 from 2004 on, as drawings of those formats have it)
//   17       2 bytes   0x21 0x00
//   19       2 bytes   code page (30, the Western code page)
//   21       8 bytes   "MINICAD" 0x01: this file carries minicad's serialisation
//   29       zero up to the seeker
//   seeker   16 bytes  image sentinel 1F 25 6D 07 D4 36 28 28 9D 57 CA 3F 9D 44 10 2B
//            4 bytes   overall size of what follows up to the end sentinel
//            1 byte    record count (2)
//            9 bytes   record: code 1 (header data), start, size 80
//            9 bytes   record: code 2 (BMP, before 2013) or 6 (PNG, from 2013), start, size
//            80 bytes  header data, all zero (the description lives in the summary information)
//            n bytes   the preview: a packed 8-bit bitmap, or a PNG stream
//            16 bytes  end sentinel E0 DA 92 F8 2B C9 D7 D7 62 A8 35 C0 62 BB EF D4
//   then     the body, to the end of the file
// Readers take the body from the overall size, not from the records, so a preview record
// relinked to bytes appended at the end of the file (as the description writer does for R14
// drawings) leaves the drawing readable.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "arx/dbmain.h"
#include "minicad/AcDbImpDatabase.h"

namespace minicad {

// A format level minicad writes: its version string, image address and name by year.
struct FormatLevel {
  AcDb::AcDbDwgVersion version;
  const char* versionString;
  std::uint32_t seeker;
  const wchar_t* year;  // "R14", "2000", ... as SAVEAS asks for it
  bool pngPreview;
};

// R14 to 2018, oldest first.
std::span<const FormatLevel> FormatLevels();
const FormatLevel* FindFormatLevel(AcDb::AcDbDwgVersion version);
// By year, without regard to case ("r14", "2018").
const FormatLevel* FindFormatLevel(std::wstring_view year);

std::vector<std::uint8_t> BuildContainer(const FormatLevel& level, const StoredPreview& preview,
                                         std::span<const std::uint8_t> body);

// What ReadContainer finds. `foreign` files are no minicad drawings (another program's
// drawing, or no drawing at all); other failures are damaged minicad drawings.
struct ContainerContents {
  const FormatLevel* level = nullptr;
  std::optional<StoredPreview> preview;
  std::span<const std::uint8_t> body;
  bool foreign = false;
  std::wstring error;  // empty on success

  bool Ok() const { return error.empty(); }
};

// Every length and address is checked against the file before it is used; `body` points into
// `file`.
ContainerContents ReadContainer(std::span<const std::uint8_t> file);

}  // namespace minicad
