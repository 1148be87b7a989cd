// NEW, OPEN, CLOSE, SAVEAS and QUIT. The first four of them and QUIT run in the application
// context, as the host's file commands do, since they create, open and close documents; SAVEAS
// is a command of the drawing it saves.
#include <string>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "minicad/BuiltinCommands.h"
#include "minicad/CommandContext.h"
#include "minicad/CommandProcessor.h"
#include "minicad/Console.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"
#include "minicad/DrawingFiles.h"
#include "minicad/DwgContainer.h"
#include "minicad/Host.h"

namespace minicad {
namespace {

void NewCommand(Host& host) { host.Docs().NewDocument(); }

// Asks for a drawing's file name (in double quotes it may hold blanks) and opens it. Enter
// opens nothing; a file that does not exist or cannot be read fails the command.
void OpenCommand(Host& host) {
  CommandInput input(host);
  std::optional<std::wstring> path = input.Name(L"Enter name of drawing to open: ");
  if (!path || path->empty()) return;
  Result<Document*> opened = host.Docs().OpenDocument(*path);
  if (!opened) input.Fail(opened.Message());
}

void CloseCommand(Host& host) {
  Document* document = host.Docs().Active();
  if (document == nullptr) {
    CommandInput(host).Fail(L"No drawing is open.");
    return;
  }
  host.Docs().CloseDocument(document);
}

void QuitCommand(Host& host) { host.Processor().RequestQuit(); }

// The name SAVEAS offers: the drawing's file, or for a drawing never saved its default name
// in the current folder.
std::wstring DefaultSaveName(const Document& document) {
  std::wstring name = document.fileName();
  return document.IsNewDrawing() ? fw::PathJoin(fw::GetCurrentFolder(), name) : name;
}

// A typed name becomes a full path ending in ".dwg" (in any case).
std::wstring DrawingPath(std::wstring name) {
  if (!fw::EqualsNoCase(fw::CFileName(name).Extension(), L".dwg")) name += L".dwg";
  if (name.front() != fw::kPathSeparator) name = fw::PathJoin(fw::GetCurrentFolder(), name);
  return name;
}

void SaveAsCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  Document& document = context.GetDocument();
  const FormatLevel* current = FindFormatLevel(document.Database().originalFileVersion());
  if (current == nullptr) current = FindFormatLevel(AcDb::kDHL_CURRENT);
  input.Print(fw::Format(L"Current file format: AutoCAD %s Drawing\n", current->year));
  std::optional<std::wstring> format =
      input.Word(fw::Format(L"Enter file format [R14/2000/2004/2007/2010/2013/2018] <%s>: ",
                            current->year));
  if (!format) return;
  std::wstring_view year = *format;
  while (!year.empty() && year.front() == L'_') year.remove_prefix(1);
  const FormatLevel* level = format->empty() ? current : FindFormatLevel(year);
  if (level == nullptr) return input.Fail(L"Invalid option keyword.");

  const std::wstring fallback = DefaultSaveName(document);
  std::optional<std::wstring> name =
      input.Name(fw::Format(L"Save drawing as <%s>: ", fallback.c_str()));
  if (!name) return;
  const std::wstring path = DrawingPath(name->empty() ? fallback : *name);
  if (path != document.fileName() && fw::PathExists(path)) {
    std::optional<bool> replace = input.YesNo(
        L"A drawing with this name already exists.\nDo you want to replace it? <N>: ", false);
    if (!replace || !*replace) return;
  }
  std::wstring error;
  if (WriteDrawingFile(document.Database(), path, level->version, true, error) != Acad::eOk) {
    return input.Fail(fw::Format(L"Cannot save the drawing as \"%s\": %s", path.c_str(),
                                 error.c_str()));
  }
  document.Rename(path);
}

}  // namespace

void AddFileCommands(Host& host) {
  AddHostCommand(host, L"NEW", ACRX_CMD_SESSION, NewCommand);
  AddHostCommand(host, L"OPEN", ACRX_CMD_SESSION, OpenCommand);
  AddHostCommand(host, L"CLOSE", ACRX_CMD_SESSION, CloseCommand);
  AddHostCommand(host, L"SAVEAS", ACRX_CMD_MODAL, SaveAsCommand);
  AddHostCommand(host, L"QUIT", ACRX_CMD_SESSION, QuitCommand);
}

}  // namespace minicad
