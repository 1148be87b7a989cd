// The body of minicad's drawing files: the database after the image section.
//
// Layout (little-endian; a string is u32 byte count then the bytes of the name as a file name
// would have them, UTF-8 with undecodable bytes kept; a point is three f64):
//   "MCADBODY"  u16 format (1), u32 length of the content that follows, u32 Adler-32 of it
//   content:
//   header      i64 created, i64 updated (seconds since 1970), point insertion base,
//               f64 view centre x, f64 view centre y, f64 view width, f64 view height
//   summary     8 strings: title, subject, author, keywords, comments (the description),
//               last saved by, revision number, hyperlink base
//   linetypes   u32 count, then each: string name, string description, f64 pattern length,
//               u8 dash count (at most 12), f64 each dash
//   layers      u32 count, then each: string name, u16 colour index (1-255), u32 linetype
//   current     u32 layer
//   blocks      u32 count, then each: string name, string comments, string external-reference
//               path, u8 flags (1 overlay, 2 contents of a drawing this host cannot read),
//               point origin
//   entities    for each block in the order above: u32 count, then each entity:
//               u8 kind, u32 layer, u32 linetype, u16 colour index (0-256), and by kind:
//                 1 line       point start, point end
//                 2 circle     point centre, f64 radius
//                 3 arc        point centre, f64 radius, f64 start angle, f64 end angle
//                 4 text       point position, f64 height, f64 rotation, string text
//                 5 attdef     as text, then string tag, string prompt, u8 flags (1 invisible,
//                              2 constant, 4 verify, 8 preset)
//                 6 dimension  point first origin, point second origin, point line location,
//                              f64 rotation, string text
//                 7 reference  u32 block, point position, f64 x, y, z scale, f64 rotation
//   "MCADEND."
// Layers, linetypes and blocks are referred to by their index in the lists above; erased
// objects are not written. The check sum makes any changed byte of the content a damaged
// drawing; bytes after the content (a preview the description writer appended) are not read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace minicad {

enum class EntityKind : std::uint8_t {
  kLine = 1,
  kCircle = 2,
  kArc = 3,
  kText = 4,
  kAttributeDefinition = 5,
  kRotatedDimension = 6,
  kBlockReference = 7,
};

inline constexpr char kBodyMagic[] = "MCADBODY";
inline constexpr char kBodyEndMagic[] = "MCADEND.";
inline constexpr std::uint16_t kBodyFormat = 1;
// Magic, format, content length and check sum.
inline constexpr std::size_t kBodyHeaderBytes = 8 + 2 + 4 + 4;

inline constexpr std::uint8_t kBlockOverlay = 1;
inline constexpr std::uint8_t kBlockForeignContents = 2;
inline constexpr std::uint8_t kAttributeInvisible = 1;
inline constexpr std::uint8_t kAttributeConstant = 2;
inline constexpr std::uint8_t kAttributeVerify = 4;
inline constexpr std::uint8_t kAttributePreset = 8;

// A string longer than this is damage: names have at most 255 characters and texts 4096.
inline constexpr std::size_t kMaxStringBytes = 64 * 1024;
// The fewest bytes an entity takes (kind, layer, linetype, colour, a circle's centre and
// radius); counts are checked against the bytes left with it before anything is made.
inline constexpr std::size_t kMinEntityBytes = 1 + 4 + 4 + 2 + 32;

}  // namespace minicad
