// qrva-catalogue: prints the catalogue of folders of drawings into a PDF without a CAD session,
// through the browser's own catalogue printer: each folder read as the loader reads it (no
// cache used or changed), then its pages, one folder after another in one document.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "FolderCatalogue.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/PdfPrinterDC.h"
#include "fw/Strings.h"
#include "ui/Catalogue.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // nothing written: a folder missing, or the PDF not writable
constexpr int kExitBadArguments = 2;

constexpr const char* kUsage =
    "usage: qrva-catalogue [--layout list|grid] [--scale K] [--dpi N] [--paper a4|letter]\n"
    "                      -o OUT.pdf FOLDER...\n"
    "Prints the catalogue of the drawings (*.dwg, any letter case) of each FOLDER into one PDF,\n"
    "as the browser's Print does: a header band with the version and the folder on every page,\n"
    "then one drawing a row (preview, name, description, dates, version and size) or a grid of\n"
    "previews with their names. The drawings are read as the browser's loader reads them; no\n"
    "cache is used or changed. OUT.pdf is replaced only once the whole catalogue is written.\n"
    "  -o, --output OUT.pdf   the PDF to write\n"
    "  --layout list|grid     list (default) or grid\n"
    "  --scale K              scale of the previews, 1 to 32 (default 4)\n"
    "  --dpi N                the printer's dots per inch, 1 to 9600 (default 600)\n"
    "  --paper a4|letter      the sheet (default a4); a quarter inch all round stays blank\n"
    "  --help, --version\n"
    "Exit status: 0 written, 1 not written (a FOLDER missing, the PDF not writable), 2 a bad\n"
    "command line. A drawing that cannot be read is printed with a placeholder and named on\n"
    "the standard error.\n";

struct Options {
  int printType = ui::kPrintTypeList;
  int printScale = 4;
  fw::PdfPrinterSetup printer{fw::kDefaultPdfDotsPerInch, fw::Paper::kA4};
  std::wstring output;
  std::vector<std::wstring> folders;
};

std::optional<Options> ParseArguments(int argc, char** argv, int& exitCode) {
  std::string layout = "list";
  std::string paper = "a4";
  std::string output;
  std::vector<std::string> folders;
  Options options;
  exitCode = kExitBadArguments;
  CLI::App app("", "qrva-catalogue");
  app.add_option("--layout", layout)->check(CLI::IsMember({"list", "grid"}));
  app.add_option("--scale", options.printScale)
      ->check(CLI::Range(ui::kMinPrintScale, ui::kMaxPrintScale));
  app.add_option("--dpi", options.printer.dotsPerInch)
      ->check(CLI::Range(1, fw::kMaxPdfDotsPerInch));
  app.add_option("--paper", paper)->check(CLI::IsMember({"a4", "letter"}));
  app.add_option("-o,--output", output)->required();
  app.add_option("FOLDER", folders)->required();
  if (const auto done = apps::ParseCommandLine(app, argc, argv, kUsage, kExitBadArguments)) {
    exitCode = *done;
    return std::nullopt;
  }
  options.printType = layout == "grid" ? ui::kPrintTypeGrid : ui::kPrintTypeList;
  options.printer.paper = paper == "letter" ? fw::Paper::kLetter : fw::Paper::kA4;
  options.output = fw::FromNativePath(output);
  for (const std::string& folder : folders) options.folders.push_back(fw::FromNativePath(folder));
  return options;
}

void Complain(const std::string& text) {
  std::fprintf(stderr, "qrva-catalogue: %s\n", text.c_str());
}

std::string Shown(const std::wstring& path) { return fw::NativePath(path); }

// One line on the standard error, rewritten in place, while it is a terminal; at most ten
// times a second, so a long run costs nothing for it.
class ProgressLine {
 public:
  ProgressLine() : enabled_(isatty(STDERR_FILENO) != 0) {}
  ~ProgressLine() { Clear(); }

  void Show(const std::string& text, bool force = false) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && shown_ && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    shown_ = true;
    std::fprintf(stderr, "\r\033[K%s", text.c_str());
    std::fflush(stderr);
  }
  void Clear() {
    if (!shown_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
  }

 private:
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_;
};

// The printer's progress on the same line.
class PrintingProgress final : public ui::CatalogueProgress {
 public:
  PrintingProgress(ProgressLine& line, std::string folder, std::size_t items)
      : line_(line), folder_(std::move(folder)), items_(items) {}
  void Open(int) override {}
  void SetPos(int index) override {
    line_.Show("printing " + std::to_string(index + 1) + "/" + std::to_string(items_) + " " +
               folder_);
  }
  void Close() override {}

 private:
  ProgressLine& line_;
  std::string folder_;
  std::size_t items_;
};

bool CheckFolders(const Options& options) {
  bool ok = true;
  for (const std::wstring& folder : options.folders) {
    if (!fw::IsDirectory(folder)) {
      Complain(Shown(folder) + (fw::PathExists(folder) ? " is not a folder" : " does not exist"));
      ok = false;
    }
  }
  return ok;
}

std::vector<catalogue::FolderCatalogue> ReadFolders(const Options& options, ProgressLine& line) {
  std::vector<catalogue::FolderCatalogue> read;
  for (const std::wstring& folder : options.folders) {
    const std::string shown = Shown(folder);
    read.push_back(catalogue::ReadFolder(folder, [&](std::size_t index, std::size_t count) {
      line.Show("reading " + std::to_string(index + 1) + "/" + std::to_string(count) + " " +
                shown);
    }));
    line.Clear();
    if (read.back().items.empty()) Complain(shown + " holds no drawings");
    for (const std::wstring& problem : read.back().problems) {
      Complain(shown + "/" + fw::NativePath(problem));
    }
  }
  return read;
}

int Print(const Options& options, const std::vector<catalogue::FolderCatalogue>& folders,
          ProgressLine& line) {
  fw::PdfPrinterDC printer(options.output, options.printer);
  auto cannotWrite = [&](const std::wstring& why) {
    line.Clear();
    Complain("cannot write " + Shown(options.output) + ": " + fw::ToUtf8(why));
    return kExitFailed;
  };
  if (printer.StartDoc(ui::kCatalogueDocumentName) <= 0) {
    return cannotWrite(printer.LastErrorText());
  }
  for (const catalogue::FolderCatalogue& folder : folders) {
    ui::Catalogue job;
    job.directory = folder.directory.get();
    job.items = folder.items;
    job.printScale = options.printScale;
    job.printType = options.printType;
    job.versionText = fw::FromUtf8(QRVA_VERSION);
    PrintingProgress progress(line, Shown(folder.directory->path), folder.items.size());
    if (fw::Status printed = ui::PrintCataloguePages(printer, job, progress); !printed) {
      printer.AbortDoc();
      return cannotWrite(printed.Message() + L" (" + printer.LastErrorText() + L")");
    }
  }
  if (printer.EndDoc() <= 0) return cannotWrite(printer.LastErrorText());
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  int exitCode = kExitOk;
  const auto options = ParseArguments(argc, argv, exitCode);
  if (!options) return exitCode;
  if (!CheckFolders(*options)) return kExitFailed;
  ProgressLine line;
  const std::vector<catalogue::FolderCatalogue> folders = ReadFolders(*options, line);
  return Print(*options, folders, line);
}
