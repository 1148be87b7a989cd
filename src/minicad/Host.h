// Our CAD host: one session with its command line, documents, modules and services. The host
// program and the tests drive it through this class; modules reach it only through the host
// interface's functions (acrxSysRegistry, acDocManagerPtr, acutPrintf, ...), which find the
// one Host of the process.
//
// Every member runs on the host's main thread, the thread that created the Host, except
// ConsoleText, TakeConsoleText and Buttons, which any thread may call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "arx/rxdefs.h"
#include "minicad/CommandButtons.h"
#include "minicad/CommandStack.h"
#include "minicad/DynamicLinker.h"
#include "minicad/ResultBuffers.h"
#include "fw/Result.h"

class AcApDocument;

namespace minicad {

using fw::Result;
using fw::Status;

class AutoLisp;
class CommandProcessor;
class Console;
class DocManager;
class Editor;
class LineSource;
class SystemRegistry;
class SystemVariables;

struct HostOptions {
  // Folders searched for modules loaded by bare name, after the program's folder, and by the
  // support-file search (acedFindFile) after the current drawing's folder.
  std::vector<std::wstring> supportFolders;
  // The host program's folder. Empty: the folder of the host library, which the build places
  // beside the host program.
  std::wstring programFolder;
  // Receives all command-line text as it is written (see Console::Sink).
  std::function<void(std::wstring_view text)> consoleSink;
  // Keeps a copy of all command-line text for ConsoleText().
  bool captureConsole = true;
  // The session starts with a new drawing ("Drawing1.dwg"), as the host does when it is not
  // asked to open drawings.
  bool startWithNewDrawing = true;
  // The release the host reports in ACADVER; empty: its own ("23.1s"). A session stands in for
  // an older release of the host with it, as a user of that release would see the module.
  std::wstring productVersion;
  // Typed input comes from a terminal that already shows what the user types, so the reader
  // shows prompts before it waits and does not echo what was typed at them.
  bool interactive = false;
  // The model-space background (0x00BBGGRR): what acedGetCurrentColors reports and what the
  // previews of saved drawings are drawn on.
  std::uint32_t modelBackground = 0x000000;
};

class Host {
 public:
  // Throws std::logic_error when another Host exists in the process: the host interface's
  // free functions can serve only one.
  explicit Host(HostOptions options = {});
  // Ends the session (the quit sequence, unless it ran already), then unloads the modules.
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The Host of the process, or nullptr. Any thread.
  static Host* Current();

  // --- The session ---------------------------------------------------------------------------

  // Loads a module by path (a relative path from the current folder) and sends it the
  // initialisation message and a drawing-load message for each open drawing. On failure the
  // text names the file and the reason; nothing is printed.
  Status LoadModule(std::wstring_view path);
  // Starts module code linked into the program as the module `fileName`, with the messages
  // LoadModule sends (for tests of a module's code without mapping a shared object).
  Status AttachModule(std::wstring_view fileName, AcRxEntryPointFunction entryPoint);

  // Runs script text on the command line: every token echoed after its prompt, until the text
  // and the strings queued on the active document are used up or QUIT ends the session (then
  // the quit sequence runs). False when nothing could run: the session has ended already, or
  // the call came from inside a run.
  bool RunScriptText(std::wstring_view text);
  // One line of script.
  bool RunLine(std::wstring_view line);
  // Runs lines read from a UTF-8 stream as they are needed, until its end; typed input when
  // the options say `interactive`, otherwise like a script.
  bool RunInteractive(std::istream& in);
  // Runs the lines of any source as they are needed (a host window's input line), until it
  // has no more or QUIT ends the session. False when nothing could run, as RunScriptText.
  bool RunLines(LineSource& source);

  // The quit sequence: the quit message to every module, each drawing closed (with its
  // drawing-unload message), then the unload-application message to every module. A second
  // call does nothing.
  void Quit();
  bool HasQuit() const { return quit_; }

  // Sends a message to every loaded module, in load order (so a test can send a second quit).
  void SendAppMessage(AcRx::AppMsgCode message);

  // --- Documents -----------------------------------------------------------------------------

  // A new drawing, "Drawing<n>.dwg" numbered for the session; it becomes the active one.
  // nullptr when a module closed it again while told of it.
  AcApDocument* NewDocument();
  // Opens a drawing that must exist (a name without extension also finds "name.dwg", the
  // extension matched without regard to case); it becomes the active one. The failure text is
  // the host's error line.
  Result<AcApDocument*> OpenDocument(std::wstring_view path);
  // The open drawings in opening order.
  std::vector<AcApDocument*> Documents() const;
  AcApDocument* ActiveDocument() const;
  // The lock count a document was given by lockDocument; -1 for a document not open.
  int LockCount(const AcApDocument* document) const;
  // How many pushAcadResourceHandle calls are not yet matched by popResourceHandle.
  int ResourceHandleDepth() const;

  // --- AutoLISP ------------------------------------------------------------------------------

  // Runs `function` as the AutoLISP call of a module's function, with a copy of `arguments`
  // (which stay the caller's) as what acedGetArgs returns meanwhile. Returns the call's
  // result, owned by the caller: a copy of what `function` last gave acedRetList, null for nil.
  ResbufChain CallLispFunction(const std::function<void()>& function,
                               const resbuf* arguments = nullptr);

  // --- Inspection ----------------------------------------------------------------------------

  std::wstring ConsoleText() const;
  std::wstring TakeConsoleText();
  std::vector<CommandGroupInfo> CommandGroups() const;
  std::size_t EditorReactorCount() const;
  std::vector<LoadRequest> LoadRequests() const;
  std::vector<ModuleInfo> LoadedModules() const;
  // Makes isModuleLoaded answer true for this file name, as if the process held that module.
  void MarkModuleLoaded(std::wstring_view fileName);
  const std::wstring& ProgramFolder() const { return options_.programFolder; }
  std::uint32_t ModelBackground() const { return options_.modelBackground; }
  const std::vector<std::wstring>& SupportFolders() const { return options_.supportFolders; }

  // --- Services, for the host's own parts ----------------------------------------------------

  Console& GetConsole() { return *console_; }
  SystemRegistry& Registry() { return *registry_; }
  CommandStack& Commands() { return *commandStack_; }
  Editor& GetEditor() { return *editor_; }
  DynamicLinker& Linker() { return *linker_; }
  DocManager& Docs() { return *docManager_; }
  CommandProcessor& Processor() { return *processor_; }
  SystemVariables& Variables() { return *variables_; }
  AutoLisp& Lisp() { return *lisp_; }
  // The ribbon and toolbar buttons outside components add; any thread (see CommandButtons).
  CommandButtons& Buttons() { return buttons_; }

 private:
  HostOptions options_;
  bool quit_ = false;
  // Declared in the order they are built; destroyed in reverse, so the console outlives all.
  std::unique_ptr<Console> console_;
  std::unique_ptr<SystemRegistry> registry_;
  std::unique_ptr<CommandStack> commandStack_;
  std::unique_ptr<Editor> editor_;
  std::unique_ptr<DocManager> docManager_;
  std::unique_ptr<CommandProcessor> processor_;
  std::unique_ptr<DynamicLinker> linker_;
  std::unique_ptr<SystemVariables> variables_;
  std::unique_ptr<AutoLisp> lisp_;
  CommandButtons buttons_;
};

}  // namespace minicad
