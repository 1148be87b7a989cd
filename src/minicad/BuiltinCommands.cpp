// The built-in commands. They run in the application context, as the host's file commands do,
// since they create, open and close documents.
#include "minicad/BuiltinCommands.h"

#include "minicad/CommandProcessor.h"
#include "minicad/Console.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"
#include "minicad/Host.h"

namespace minicad {
namespace {

constexpr const wchar_t* kBuiltinGroup = L"ACAD_BUILTIN";

void NewCommand(Host& host) { host.Docs().NewDocument(); }

// Asks for a drawing's file name (the rest of the line; quotes around it removed) and opens it.
// Enter opens nothing; a file that does not exist fails the command.
void OpenCommand(Host& host) {
  PromptAnswer answer =
      host.Processor().Prompt(L"Enter name of drawing to open: ", TokenMode::kLine);
  if (!answer.Ok()) return;
  std::wstring path = UnquoteFileName(answer.text);
  if (path.empty()) return;
  Result<Document*> opened = host.Docs().OpenDocument(path);
  if (!opened) {
    host.GetConsole().Write(opened.Message() + L"\n");
    host.Processor().FailCommand();
  }
}

void CloseCommand(Host& host) {
  Document* document = host.Docs().Active();
  if (document == nullptr) {
    host.GetConsole().Write(L"No drawing is open.\n");
    host.Processor().FailCommand();
    return;
  }
  host.Docs().CloseDocument(document);
}

void QuitCommand(Host& host) { host.Processor().RequestQuit(); }

void Add(Host& host, const wchar_t* name, void (*body)(Host&)) {
  host.Processor().AddBuiltinCommand(
      Command{kBuiltinGroup, name, name, ACRX_CMD_SESSION, [&host, body] { body(host); }});
}

}  // namespace

void AddBuiltinCommands(Host& host) {
  Add(host, L"NEW", NewCommand);
  Add(host, L"OPEN", OpenCommand);
  Add(host, L"CLOSE", CloseCommand);
  Add(host, L"QUIT", QuitCommand);
}

}  // namespace minicad
