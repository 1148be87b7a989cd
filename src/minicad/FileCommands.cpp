// NEW, OPEN, CLOSE, SAVEAS, QUIT and DWGPROPS. NEW, OPEN, CLOSE and QUIT run in the application
// context, as the host's file commands do, since they create, open and close documents; SAVEAS
// and DWGPROPS are commands of the drawing they work on.
#include <memory>
#include <string>

#include "arx/acutads.h"
#include "arx/summinfo.h"
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

// A drawing whose own command runs (CLOSE run through acedCmdS from it) stays open.
void CloseCommand(Host& host) {
  Document* document = host.Docs().Active();
  if (document == nullptr) return CommandInput(host).Fail(L"No drawing is open.");
  if (host.Processor().IsRunningIn(document)) {
    return CommandInput(host).Fail(L"The drawing cannot be closed while its command runs.");
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
  std::optional<std::wstring> format = input.Word(
      fw::Format(L"Enter file format [R14/2000/2004/2007/2010/2013/2018] <%s>: ", current->year));
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
    return input.Fail(
        fw::Format(L"Cannot save the drawing as \"%s\": %s", path.c_str(), error.c_str()));
  }
  document.Rename(path);
}

// The drawing properties, asked on the command line as minicad has no dialogs of its own: each
// chosen field shows its value and takes a new one (Enter keeps it).
void DrawingPropertiesCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  AcDbDatabaseSummaryInfo* read = nullptr;
  if (Acad::ErrorStatus status = acdbGetSummaryInfo(&context.Database(), read);
      status != Acad::eOk) {
    return context.Refused(status, L"Reading the drawing properties");
  }
  std::unique_ptr<AcDbDatabaseSummaryInfo> info(read);
  using Getter = Acad::ErrorStatus (AcDbDatabaseSummaryInfo::*)(ACHAR*&) const;
  using Setter = Acad::ErrorStatus (AcDbDatabaseSummaryInfo::*)(const ACHAR*);
  struct Field {
    const wchar_t* keyword;
    const wchar_t* label;
    Getter get;
    Setter set;
  };
  static constexpr Field kFields[] = {
      {L"Title", L"title", &AcDbDatabaseSummaryInfo::getTitle, &AcDbDatabaseSummaryInfo::setTitle},
      {L"Subject", L"subject", &AcDbDatabaseSummaryInfo::getSubject,
       &AcDbDatabaseSummaryInfo::setSubject},
      {L"Author", L"author", &AcDbDatabaseSummaryInfo::getAuthor,
       &AcDbDatabaseSummaryInfo::setAuthor},
      {L"Keywords", L"keywords", &AcDbDatabaseSummaryInfo::getKeywords,
       &AcDbDatabaseSummaryInfo::setKeywords},
      {L"Comments", L"comments", &AcDbDatabaseSummaryInfo::getComments,
       &AcDbDatabaseSummaryInfo::setComments},
  };
  static constexpr const wchar_t* kKeywords[] = {L"Title", L"Subject", L"Author", L"Keywords",
                                                 L"Comments"};
  for (;;) {
    std::optional<std::wstring> answer =
        input.Word(L"Enter an option [Title/Subject/Author/Keywords/Comments] <done>: ");
    if (!answer) return;
    if (answer->empty()) break;
    const int chosen = CommandInput::MatchKeyword(*answer, kKeywords);
    if (chosen < 0) return input.Fail(L"Invalid option keyword.");
    const Field& field = kFields[chosen];
    ACHAR* current = nullptr;
    (void)((*info).*field.get)(current);
    std::optional<std::wstring> value =
        input.Text(fw::Format(L"Enter %s <%s>: ", field.label, current == nullptr ? L"" : current));
    acutDelString(current);
    if (!value) return;
    if (!value->empty() && ((*info).*field.set)(value->c_str()) != Acad::eOk) {
      return input.Fail(L"The text is too long.");
    }
  }
  if (Acad::ErrorStatus status = acdbPutSummaryInfo(info.get()); status != Acad::eOk) {
    context.Refused(status, L"Writing the drawing properties");
  }
}

}  // namespace

void AddFileCommands(Host& host) {
  AddHostCommand(host, L"NEW", ACRX_CMD_SESSION, NewCommand);
  AddHostCommand(host, L"OPEN", ACRX_CMD_SESSION, OpenCommand);
  AddHostCommand(host, L"CLOSE", ACRX_CMD_SESSION, CloseCommand);
  AddHostCommand(host, L"SAVEAS", ACRX_CMD_MODAL, SaveAsCommand);
  AddHostCommand(host, L"QUIT", ACRX_CMD_SESSION, QuitCommand);
  AddHostCommand(host, L"DWGPROPS", ACRX_CMD_MODAL, DrawingPropertiesCommand);
}

}  // namespace minicad
