// qrva-probe: probes drawing files as the library's loader does and prints one line of JSON per
// drawing (version, preview kind and size, description); can write the two thumbnails as PNG.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "dwgprobe/DrawingProbe.h"
#include "dwgprobe/DrawingVersion.h"
#include "dwgprobe/Thumbnails.h"
#include "fw/ByteReader.h"
#include "fw/File.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Png.h"
#include "fw/Strings.h"
#include "library/Directory.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitBadArguments = 2;

constexpr const char* kUsage =
    "usage: qrva-probe [--thumbs DIR] [--background RRGGBB] PATH...\n"
    "Probes each drawing (a folder: its *.dwg files, any letter case) and prints one JSON line\n"
    "per drawing with path, ok, version, versionName, preview, width, height, bitCount,\n"
    "description and lsaPending, and topDown: true for a preview stored top-down. A name that\n"
    "is not UTF-8 is shown with U+FFFD for its bytes; a PATH starting with '-' follows '--'.\n"
    "  --thumbs DIR          write DIR/<title>.large.png and DIR/<title>.small.png\n"
    "  --background RRGGBB   preview background colour (hex), default the host's\n"
    "  --help, --version\n";

struct Options {
  std::optional<std::wstring> thumbs;
  std::optional<fw::COLORREF> background;
  std::vector<std::wstring> paths;
};

std::optional<fw::COLORREF> ParseColour(const std::string& text) {
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return std::nullopt;
  }
  const unsigned long value = std::strtoul(text.c_str(), nullptr, 16);
  return fw::RGB(static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                 static_cast<std::uint8_t>(value));
}

// Nothing when the arguments are bad (the reason already printed) or the program is done.
std::optional<Options> ParseArguments(int argc, char** argv, int& exitCode) {
  std::optional<std::string> thumbs;
  std::optional<std::string> background;
  std::vector<std::string> paths;
  exitCode = kExitBadArguments;
  CLI::App app("", "qrva-probe");
  // As before, a repeated option counts with its last value.
  app.add_option("--thumbs", thumbs)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_option("--background", background)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_option("PATH", paths)->required();
  if (const auto done = apps::ParseCommandLine(app, argc, argv, kUsage, kExitBadArguments)) {
    exitCode = *done;
    return std::nullopt;
  }
  Options options;
  if (background) {
    options.background = ParseColour(*background);
    if (!options.background) {
      std::fprintf(stderr, "qrva-probe: --background wants RRGGBB, got '%s'\n",
                   background->c_str());
      return std::nullopt;
    }
  }
  if (thumbs) options.thumbs = fw::FromNativePath(*thumbs);
  for (const std::string& path : paths) options.paths.push_back(fw::FromNativePath(path));
  return options;
}

// The drawings a path names: itself, or a folder's *.dwg files in name order.
std::vector<std::wstring> DrawingsOf(const std::wstring& path) {
  if (!fw::IsDirectory(path)) return {path};
  std::vector<std::wstring> drawings;
  fw::CFileFind finder;
  bool more = finder.FindFile(fw::PathJoin(path, L"*.dwg"));
  while (more) {
    more = finder.FindNextFile();
    if (!finder.IsDirectory()) drawings.push_back(finder.GetFilePath());
  }
  return drawings;
}

std::string JsonString(const std::wstring& text) {
  std::string out = "\"";
  for (char c : fw::ToUtf8(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// The picture's size; a bitmap stored with its rows top-down keeps a negative height in its
// header, which is the picture's height all the same.
struct BitmapFacts {
  std::int32_t width = 0;
  std::int64_t height = 0;
  bool topDown = false;
  std::uint16_t bitCount = 0;
};

BitmapFacts FactsOf(const std::optional<dwgprobe::PackedBitmap>& preview) {
  BitmapFacts facts;
  if (!preview) return facts;
  fw::ByteReader in(preview->bytes);
  in.U32();
  facts.width = in.I32();
  const std::int32_t storedHeight = in.I32();
  facts.topDown = storedHeight < 0;
  facts.height = facts.topDown ? -std::int64_t{storedHeight} : storedHeight;
  in.U16();
  facts.bitCount = in.U16();
  return in.Overrun() ? BitmapFacts{} : facts;
}

void PrintLine(const std::wstring& path, const dwgprobe::ProbeOutcome& outcome) {
  const BitmapFacts facts = FactsOf(outcome.preview);
  std::printf(
      "{\"path\":%s,\"ok\":%s,\"version\":%d,\"versionName\":%s,\"preview\":%s,\"width\":%d,"
      "\"height\":%lld,%s\"bitCount\":%u,\"description\":%s,\"lsaPending\":%s}\n",
      JsonString(path).c_str(), outcome.ok ? "true" : "false", outcome.version,
      JsonString(dwgprobe::VersionName(outcome.version)).c_str(),
      JsonString(dwgprobe::PreviewKindName(outcome.previewKind)).c_str(), facts.width,
      static_cast<long long>(facts.height), facts.topDown ? "\"topDown\":true," : "",
      static_cast<unsigned>(facts.bitCount), JsonString(outcome.description).c_str(),
      outcome.lsaPending ? "true" : "false");
}

bool WritePng(const fw::Bitmap& image, const std::wstring& path) {
  const auto png = fw::EncodeBitmapPng(image);
  return png && fw::WriteFileReplacing(path, png.Value());
}

// Renders the thumbnails into a directory's image lists, as the loader does, and writes the
// images as stored there. A drawing without a preview writes nothing.
bool WriteThumbnails(const std::wstring& path, const dwgprobe::ProbeOutcome& outcome,
                     const std::wstring& folder) {
  if (!outcome.preview) return true;
  library::Directory d;
  auto index = dwgprobe::RenderThumbnails(&d.LargeImages(), d.SmallImages(), 0, *outcome.preview,
                                          outcome.version, outcome.points);
  if (!index) {
    std::fprintf(stderr, "qrva-probe: %s: %s\n", fw::ToUtf8(path).c_str(),
                 fw::ToUtf8(index.Message()).c_str());
    return false;
  }
  const std::wstring title = fw::CFileName(path).Title();
  return WritePng(d.LargeImages().GetImage(index.Value()),
                  fw::PathJoin(folder, title + L".large.png")) &&
         WritePng(d.SmallImages().GetImage(index.Value()),
                  fw::PathJoin(folder, title + L".small.png"));
}

bool ProbeOne(const std::wstring& path, const Options& options) {
  dwgprobe::ProbeRequest request;
  request.showInsertionPoints = true;
  const dwgprobe::ProbeOutcome outcome = dwgprobe::ProbeDrawing(path, request);
  if (!outcome.opened && !outcome.locked) {
    std::fprintf(stderr, "qrva-probe: %s\n", fw::ToUtf8(outcome.error).c_str());
  }
  PrintLine(path, outcome);
  if (options.thumbs && !WriteThumbnails(path, outcome, *options.thumbs)) {
    std::fprintf(stderr, "qrva-probe: cannot write the thumbnails of %s\n",
                 fw::ToUtf8(path).c_str());
    return false;
  }
  return outcome.opened || outcome.locked;
}

}  // namespace

int main(int argc, char** argv) {
  int exitCode = kExitOk;
  const auto options = ParseArguments(argc, argv, exitCode);
  if (!options) return exitCode;
  if (options->background) dwgprobe::SetPreviewBackground(*options->background);
  if (options->thumbs && !fw::IsDirectory(*options->thumbs) && !fw::CreateDirectory(*options->thumbs)) {
    std::fprintf(stderr, "qrva-probe: cannot create %s\n", fw::ToUtf8(*options->thumbs).c_str());
    return kExitSomeFailed;
  }
  bool allHandled = true;
  for (const std::wstring& path : options->paths) {
    if (!fw::PathExists(path)) {
      std::fprintf(stderr, "qrva-probe: %s does not exist\n", fw::ToUtf8(path).c_str());
      allHandled = false;
      continue;
    }
    for (const std::wstring& drawing : DrawingsOf(path)) allHandled &= ProbeOne(drawing, *options);
  }
  std::fflush(stdout);
  return allHandled ? kExitOk : kExitSomeFailed;
}
