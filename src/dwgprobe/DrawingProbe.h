// The probe of one drawing file: its version, preview, description and dates, learnt from the
// file and its side files without opening the drawing in the host's editor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dwgprobe/DrawingReader.h"
#include "dwgprobe/PackedBitmap.h"

namespace dwgprobe {

// Where the preview came from.
enum class PreviewKind { None, Bmp, Png, SideBmp };
const wchar_t* PreviewKindName(PreviewKind kind);  // "none", "bmp", "png", "side-bmp"

struct ProbeRequest {
  std::wstring currentDescription;  // the block's description before this probe
  bool showInsertionPoints = false;
  // The drawing reader to ask; null asks the process's reader (the module's folder).
  DrawingReader* reader = nullptr;
};

struct ProbeOutcome {
  // The file scan succeeded: the drawing was opened and, from R13 on, its image section and
  // preview were read whole. (A missing side bitmap of an older drawing is no failure.)
  bool ok = false;
  // The drawing reader read the drawing and set the dates, description and points. The probe's
  // overall result is `ok && readerOk`.
  bool readerOk = false;
  // A lock file exists: nothing was read and nothing changes.
  bool locked = false;
  // The drawing was opened, so `version` holds its version index.
  bool opened = false;
  int version = 0;
  // The description after the side file, the header data and the reader (the current one
  // when none of them gave one; a pending side-file description when the reader's is empty).
  std::wstring description;
  // The description came from the side file and the drawing's header data has none.
  bool lsaPending = false;
  std::optional<std::int64_t> created;   // set by the drawing reader only
  std::optional<std::int64_t> modified;
  PreviewKind previewKind = PreviewKind::None;
  std::optional<PackedBitmap> preview;
  // x, y pairs in pixels of the preview, origin at its lower left; only with showInsertionPoints
  std::vector<double> points;
  std::wstring error;          // the first thing that went wrong, for logs; empty when none
};

// Probes the drawing at `path`. Never throws for bad files: every failure is in the outcome.
// A path whose file does not exist is looked up again without regard to case in its folder
// (libraries copied from elsewhere keep "A.DWG"). Runs on the loader thread, or any thread.
ProbeOutcome ProbeDrawing(const std::wstring& path, const ProbeRequest& request);

// What a drawing's file holds of its preview, read again for drawing it large (the quick
// picture, the catalogue): only the image records (2 and 6) of the image section, or the side
// bitmap up to index 13.
struct StoredPreview {
  std::wstring path;  // the drawing as found (any letter case)
  bool opened = false;
  int version = 0;
  PreviewKind previewKind = PreviewKind::None;
  std::optional<PackedBitmap> preview;
  std::wstring error;  // the first thing that went wrong; empty when none
};
// Never throws for bad files. Any thread.
StoredPreview ReadStoredPreview(const std::wstring& path);

// The insertion points the drawing reader gives for the drawing at `path` and its preview (x, y
// pairs in pixels of the preview, origin at its lower left): none unless `showInsertionPoints`,
// and none when the reader fails. `reader` null asks the process's reader. Any thread.
std::vector<double> ReadInsertionPoints(const std::wstring& path, bool showInsertionPoints,
                                        const PackedBitmap& preview, DrawingReader* reader);

// The folder beside a drawing that holds the description side files.
inline constexpr const wchar_t* kDescriptionFolder = L"PXTLIB";

// The side files of a drawing, found without regard to case where the file system is
// case-sensitive; nothing when absent.
std::wstring LockFilePath(const std::wstring& drawingPath);  // last three characters "DWK"
std::wstring DescriptionFilePath(const std::wstring& drawingPath);  // folder/PXTLIB/title.lsa
// The description side file, its folder and its name both matched without regard to case
// ("pxtlib/a.LSA" from a copy made elsewhere).
std::optional<std::wstring> FindDescriptionFile(const std::wstring& drawingPath);
std::optional<std::wstring> FindSideBitmap(const std::wstring& drawingPath);  // title.bmp

// A packed bitmap cannot be smaller than its header.
inline constexpr std::size_t kBitmapInfoHeaderBytes = 40;
// A Windows bitmap file's own header, skipped in front of the packed bitmap.
inline constexpr std::size_t kBitmapFileHeaderBytes = 14;
// Longest description line read from a side file; the rest of a longer line is dropped.
inline constexpr std::size_t kMaxDescriptionLineBytes = 64 * 1024;

}  // namespace dwgprobe
