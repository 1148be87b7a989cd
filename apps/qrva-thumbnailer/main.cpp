// qrva-thumbnailer: the desktop's thumbnailer for drawings. Writes a PNG of at most SIZE pixels a
// side from the preview stored in a drawing (or in the side bitmap of an old one), on white, for
// file managers; a drawing without a preview gets no file at all, so the file manager shows its
// usual icon.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "FileUri.h"
#include "dwgprobe/DrawingProbe.h"
#include "dwgprobe/Thumbnails.h"
#include "fw/File.h"
#include "fw/NativePath.h"
#include "fw/Png.h"
#include "fw/Strings.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
// The largest thumbnail a file manager asks for is 1024 pixels; the bound only keeps a mistyped
// size from asking for a huge picture.
constexpr int kMaxSize = 16384;

constexpr const char* kUsage =
    "usage: qrva-thumbnailer -s SIZE INPUT OUTPUT\n"
    "Writes OUTPUT, a PNG of at most SIZE pixels a side, from the preview stored in the drawing\n"
    "INPUT (a path or a file:// URI), shown on white. A drawing without a preview, or one that\n"
    "cannot be read, writes nothing and exits with 1.\n"
    "  -s, --size SIZE   the longest side in pixels, 1 to 16384; smaller previews keep their size\n"
    "  --help, --version\n";

struct Options {
  int size = 0;
  std::string input;
  std::string output;
};

// One line on the standard error; the framework's file errors put their cause on a line of its
// own.
int Fail(std::wstring message) {
  for (wchar_t& c : message) {
    if (c == L'\n') c = L' ';
  }
  std::fprintf(stderr, "qrva-thumbnailer: %s\n", fw::ToUtf8(message).c_str());
  return kExitFailed;
}

int WriteThumbnail(const Options& options) {
  const fw::Result<std::wstring> input = thumbnailer::DrawingPathOf(options.input);
  if (!input) return Fail(input.Message());
  const std::wstring& path = input.Value();
  const dwgprobe::StoredPreview stored = dwgprobe::ReadStoredPreview(path);
  if (!stored.opened) return Fail(stored.error);
  if (!stored.preview) {
    const std::wstring reason =
        stored.error.empty() ? std::wstring(L"the drawing has no preview") : stored.error;
    return Fail(path + L": " + reason);
  }
  const fw::Result<fw::Bitmap> picture =
      dwgprobe::RenderFittedPreview(*stored.preview, stored.version, options.size);
  if (!picture) return Fail(path + L": " + picture.Message());
  const fw::Result<std::vector<std::uint8_t>> png = fw::EncodeBitmapPng(picture.Value());
  if (!png) return Fail(path + L": " + png.Message());
  if (const fw::Status written =
          fw::WriteFileReplacing(fw::FromNativePath(options.output), png.Value());
      !written) {
    return Fail(written.Message());
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app("", "qrva-thumbnailer");
  app.add_option("-s,--size", options.size)->required()->check(CLI::Range(1, kMaxSize));
  app.add_option("INPUT", options.input)->required();
  app.add_option("OUTPUT", options.output)->required();
  if (const auto exitCode = apps::ParseCommandLine(app, argc, argv, kUsage, kExitFailed)) {
    return *exitCode;
  }
  return WriteThumbnail(options);
}
