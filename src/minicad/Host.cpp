// The session: building the host's services, running input, and the quit sequence.
#include "minicad/Host.h"

#include <atomic>
#include <stdexcept>

#include "arx/accmd.h"
#include "arx/aced.h"
#include "arx/rxdlinkr.h"
#include "fw/FileName.h"
#include "fw/Module.h"
#include "minicad/AutoLisp.h"
#include "minicad/BuiltinCommands.h"
#include "minicad/CommandProcessor.h"
#include "minicad/Console.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"
#include "minicad/Editor.h"
#include "minicad/LineSource.h"
#include "minicad/SystemRegistry.h"
#include "minicad/SystemVariables.h"

namespace minicad {
namespace {

std::atomic<Host*> currentHost{nullptr};

// Any object of this library; its module's folder is where the build puts the host program.
const int kLibraryAnchor = 0;

std::wstring LibraryFolder() {
  return fw::FolderOf(fw::GetModuleFileName(fw::ModuleFromAddress(&kLibraryAnchor)));
}

}  // namespace

Host::Host(HostOptions options) : options_(std::move(options)) {
  Host* expected = nullptr;
  if (!currentHost.compare_exchange_strong(expected, this)) {
    throw std::logic_error("a minicad::Host exists already in this process");
  }
  try {
    if (options_.programFolder.empty()) options_.programFolder = LibraryFolder();

    console_ = std::make_unique<Console>(options_.consoleSink, options_.captureConsole);
    registry_ = std::make_unique<SystemRegistry>();
    commandStack_ = std::make_unique<CommandStack>();
    editor_ = std::make_unique<Editor>(*console_);
    docManager_ = std::make_unique<DocManager>(*this);
    processor_ = std::make_unique<CommandProcessor>(*this);
    linker_ = std::make_unique<DynamicLinker>(*this);
    variables_ = std::make_unique<SystemVariables>(*docManager_, options_.productVersion);
    lisp_ = std::make_unique<AutoLisp>();

    registry_->Add(ACRX_COMMAND_DOCK, commandStack_.get());
    registry_->Add(ACRX_DYNAMIC_LINKER, linker_.get());
    registry_->Add(ACED_EDITOR_OBJ, editor_.get());
    AddBuiltinCommands(*this);
    if (options_.startWithNewDrawing) docManager_->NewDocument();
  } catch (...) {
    currentHost.store(nullptr);
    throw;
  }
}

Host::~Host() {
  Quit();
  // The modules' commands and reactors point into code about to be unmapped. The services stay
  // up meanwhile, for the modules' own clean-up as they are unmapped.
  commandStack_->Clear();
  editor_->Clear();
  linker_->UnloadAll();
  currentHost.store(nullptr);
}

Host* Host::Current() { return currentHost.load(); }

Status Host::LoadModule(std::wstring_view path) { return linker_->Load(path); }

Status Host::AttachModule(std::wstring_view fileName, AcRxEntryPointFunction entryPoint) {
  return linker_->Attach(fileName, entryPoint);
}

bool Host::RunLines(LineSource& source) {
  if (quit_) return false;
  return processor_->Run(source);
}

bool Host::RunScriptText(std::wstring_view text) {
  ScriptLines lines(text);
  return RunLines(lines);
}

bool Host::RunLine(std::wstring_view line) { return RunScriptText(line); }

bool Host::RunInteractive(std::istream& in) {
  StreamLines lines(in, options_.interactive);
  return RunLines(lines);
}


void Host::Quit() {
  if (quit_) return;
  quit_ = true;
  linker_->Broadcast(AcRx::kQuitMsg);
  docManager_->CloseAll();
  linker_->Broadcast(AcRx::kUnloadAppMsg);
}

void Host::SendAppMessage(AcRx::AppMsgCode message) { linker_->Broadcast(message); }

AcApDocument* Host::NewDocument() { return docManager_->NewDocument(); }

Result<AcApDocument*> Host::OpenDocument(std::wstring_view path) {
  Result<Document*> opened = docManager_->OpenDocument(path);
  if (!opened) return Result<AcApDocument*>::Failure(opened.Message());
  return Result<AcApDocument*>::Success(opened.Value());
}

std::vector<AcApDocument*> Host::Documents() const {
  std::vector<AcApDocument*> documents;
  for (Document* document : docManager_->Documents()) documents.push_back(document);
  return documents;
}

AcApDocument* Host::ActiveDocument() const { return docManager_->Active(); }

int Host::LockCount(const AcApDocument* document) const {
  Document* open = docManager_->Find(document);
  return open == nullptr ? -1 : open->LockCount();
}

int Host::ResourceHandleDepth() const { return docManager_->ResourceHandleDepth(); }

ResbufChain Host::CallLispFunction(const std::function<void()>& function,
                                   const resbuf* arguments) {
  return lisp_->Call(function, arguments);
}

std::wstring Host::ConsoleText() const { return console_->Text(); }

std::wstring Host::TakeConsoleText() { return console_->TakeText(); }

std::vector<CommandGroupInfo> Host::CommandGroups() const { return commandStack_->Groups(); }

std::size_t Host::EditorReactorCount() const { return editor_->ReactorCount(); }

std::vector<LoadRequest> Host::LoadRequests() const { return linker_->Requests(); }

std::vector<ModuleInfo> Host::LoadedModules() const { return linker_->Modules(); }

void Host::MarkModuleLoaded(std::wstring_view fileName) { linker_->MarkLoaded(fileName); }

}  // namespace minicad
