// The parts of a qrva-host session that the terminal and the host window share.
#include "Session.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/PdfPrinterDC.h"
#include "fw/Strings.h"
#include "minicad/Console.h"

namespace host {

namespace {

constexpr const wchar_t* kDefaultModule = L"qrva22-64.arx";

}  // namespace

minicad::HostOptions MakeHostOptions(const Arguments& arguments, bool typed,
                                     std::function<void(std::wstring_view)> alsoShow) {
  minicad::HostOptions options;
  options.supportFolders = arguments.supportFolders;
  options.productVersion = arguments.productVersion;
  options.captureConsole = false;
  options.interactive = typed;
  options.startWithNewDrawing = arguments.drawings.empty();
  options.consoleSink = [typed, alsoShow = std::move(alsoShow)](std::wstring_view text) {
    std::string bytes = fw::ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    // A person waits for the prompt before typing.
    if (typed) std::fflush(stdout);
    if (alsoShow) alsoShow(text);
  };
  return options;
}

bool StartSession(minicad::Host& host, const Arguments& arguments) {
  for (const std::wstring& drawing : arguments.drawings) {
    minicad::Result<AcApDocument*> opened = host.OpenDocument(drawing);
    if (!opened) host.GetConsole().Write(opened.Message() + L"\n");
  }
  if (host.Documents().empty()) host.NewDocument();

  std::wstring module =
      arguments.module.value_or(fw::PathJoin(host.ProgramFolder(), kDefaultModule));
  minicad::Status loaded = host.LoadModule(module);
  if (!loaded) {
    std::fflush(stdout);
    std::fprintf(stderr, "qrva-host: %s\n", fw::ToUtf8(loaded.Message()).c_str());
    return false;
  }
  return true;
}

std::optional<std::vector<fw::UiStep>> LoadDialogScript(const std::wstring& path) {
  fw::Result<std::vector<fw::UiStep>> steps = fw::LoadUiScript(path);
  if (!steps) {
    std::printf("ui: error %s\n", fw::ToUtf8(steps.Message()).c_str());
    return std::nullopt;
  }
  return steps.Value();
}

fw::HeadlessUiDriver::PrinterFactory PdfPrinterFactory() {
  return [](const std::wstring& pdfPath, int dotsPerInch) {
    return std::make_unique<fw::PdfPrinterDC>(pdfPath,
                                              fw::PdfPrinterSetup{dotsPerInch, fw::Paper::kA4});
  };
}

void PrintUiLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace host
