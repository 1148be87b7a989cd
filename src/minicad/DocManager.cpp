// The document manager: opening, creating, activating and closing drawings, and the calls
// modules make about them.
#include "minicad/DocManager.h"

#include <algorithm>
#include <utility>

#include "fw/Strings.h"
#include "minicad/CommandProcessor.h"
#include "minicad/Console.h"
#include "minicad/Document.h"
#include "minicad/DrawingFiles.h"
#include "minicad/DynamicLinker.h"
#include "minicad/FileSearch.h"
#include "minicad/Host.h"

namespace minicad {
namespace {

// Walks a copy of the document list taken when it was made.
class DocumentIterator : public AcApDocumentIterator {
 public:
  explicit DocumentIterator(std::vector<Document*> documents) : documents_(std::move(documents)) {}
  bool done() const override { return next_ >= documents_.size(); }
  void step() override {
    if (!done()) ++next_;
  }
  AcApDocument* document() override { return done() ? nullptr : documents_[next_]; }

 private:
  std::vector<Document*> documents_;
  std::size_t next_ = 0;
};

}  // namespace

DocManager::DocManager(Host& host) : host_(host) {}

DocManager::~DocManager() = default;

AcApDocument* DocManager::curDocument() const {
  if (messageFocus_ != nullptr) return messageFocus_;
  if (Document* commandDocument = host_.Processor().CommandDocument()) return commandDocument;
  return active_;
}

AcApDocument* DocManager::mdiActiveDocument() const { return active_; }

AcApDocumentIterator* DocManager::newAcApDocumentIterator() {
  return new DocumentIterator(Documents());
}

int DocManager::documentCount() const { return static_cast<int>(documents_.size()); }

Acad::ErrorStatus DocManager::activateDocument(AcApDocument* document, bool) {
  Document* target = Find(document);
  if (target == nullptr) return Acad::eInvalidInput;
  Activate(target);
  return Acad::eOk;
}

void DocManager::Activate(Document* document) {
  if (isApplicationContext()) {
    active_ = document;
  } else {
    pendingActivation_ = document;
  }
}

void DocManager::ApplyPendingActivation() {
  if (Document* pending = std::exchange(pendingActivation_, nullptr)) {
    if (Find(pending) != nullptr) active_ = pending;
  }
}

Acad::ErrorStatus DocManager::appContextOpenDocument(const ACHAR* drawingName) {
  if (!isApplicationContext()) return Acad::eInvalidContext;
  if (drawingName == nullptr) return Acad::eInvalidInput;
  Result<Document*> opened = OpenDocument(drawingName);
  if (!opened) {
    host_.GetConsole().Write(opened.Message() + L"\n");
    return Acad::eFileNotFound;
  }
  return Acad::eOk;
}

Acad::ErrorStatus DocManager::sendStringToExecute(AcApDocument* document, const ACHAR* execute,
                                                  bool bActivate, bool, bool bEchoString) {
  Document* target = Find(document);
  if (target == nullptr || execute == nullptr) return Acad::eInvalidInput;
  target->Input().Queue(InputText{execute, 0, bEchoString, false},
                        host_.Processor().IsCommandRunning());
  if (bActivate) Activate(target);
  return Acad::eOk;
}

Acad::ErrorStatus DocManager::lockDocument(AcApDocument* document, AcAp::DocLockMode,
                                           const ACHAR*, const ACHAR*, bool) {
  Document* target = Find(document);
  if (target == nullptr) return Acad::eInvalidInput;
  target->Lock();
  return Acad::eOk;
}

Acad::ErrorStatus DocManager::unlockDocument(AcApDocument* document) {
  Document* target = Find(document);
  if (target == nullptr) return Acad::eInvalidInput;
  return target->Unlock() ? Acad::eOk : Acad::eNotApplicable;
}

bool DocManager::isApplicationContext() const { return host_.Processor().IsApplicationContext(); }

void DocManager::executeInApplicationContext(void (*procedure)(void*), void* data) const {
  host_.Processor().ExecuteInApplicationContext(procedure, data);
}

void DocManager::pushAcadResourceHandle() { ++resourceHandleDepth_; }

void DocManager::popResourceHandle() {
  if (resourceHandleDepth_ > 0) --resourceHandleDepth_;
}

Document* DocManager::NewDocument() {
  std::wstring name = fw::Format(L"Drawing%d.dwg", nextDrawingNumber_++);
  return AddDocument(
      std::make_unique<Document>(std::move(name), true, std::make_unique<AcDbDatabase>()));
}

Result<Document*> DocManager::OpenDocument(std::wstring_view path) {
  std::optional<std::wstring> file = FindDrawingFile(path);
  if (!file) {
    return Result<Document*>::Failure(
        fw::Format(L"Cannot find the drawing file \"%s\".", std::wstring(path).c_str()));
  }
  DrawingRead read = ReadDrawingFile(*file);
  std::unique_ptr<AcDbDatabase> database = std::move(read.database);
  if (read.status == Acad::eInvalidDwgVersion) {
    // Another program's drawing: it opens under its name, with nothing minicad can show.
    database = std::make_unique<AcDbDatabase>();
  } else if (read.status != Acad::eOk) {
    return Result<Document*>::Failure(fw::Format(L"The drawing file \"%s\" cannot be read: %s",
                                                 file->c_str(), read.error.c_str()));
  }
  return Result<Document*>::Success(
      AddDocument(std::make_unique<Document>(*file, false, std::move(database))));
}

Document* DocManager::AddDocument(std::unique_ptr<Document> document) {
  Document* added = document.get();
  documents_.push_back(std::move(document));
  {
    MessageFocus focus(*this, added);
    host_.Linker().Broadcast(AcRx::kLoadDwgMsg);
  }
  // A module may have closed it while it was told.
  if (Find(added) == nullptr) return nullptr;
  active_ = added;
  return added;
}

void DocManager::CloseDocument(Document* document) {
  if (Find(document) == nullptr || document->IsClosing()) return;
  document->MarkClosing();
  {
    MessageFocus focus(*this, document);
    host_.Linker().Broadcast(AcRx::kUnloadDwgMsg);
  }
  host_.Processor().ForgetDocument(document);
  document->WaitForOtherLocks();
  if (pendingActivation_ == document) pendingActivation_ = nullptr;
  auto found = std::find_if(documents_.begin(), documents_.end(),
                            [&](const auto& open) { return open.get() == document; });
  std::unique_ptr<Document> closed = std::move(*found);
  documents_.erase(found);
  if (messageFocus_ == document) messageFocus_ = nullptr;
  if (active_ == document) active_ = documents_.empty() ? nullptr : documents_.back().get();
}

void DocManager::CloseAll() {
  for (Document* document : Documents()) CloseDocument(document);
}

Document* DocManager::Find(const AcApDocument* document) const {
  if (document == nullptr) return nullptr;
  for (const auto& open : documents_) {
    if (open.get() == document) return open.get();
  }
  return nullptr;
}

std::vector<Document*> DocManager::Documents() const {
  std::vector<Document*> documents;
  for (const auto& open : documents_) documents.push_back(open.get());
  return documents;
}

void DocManager::ReleaseHeldInput() {
  for (const auto& open : documents_) open->Input().ReleaseHeld();
}

DocManager::MessageFocus::MessageFocus(DocManager& manager, Document* document)
    : manager_(manager), previous_(manager.messageFocus_) {
  manager_.messageFocus_ = document;
}

DocManager::MessageFocus::~MessageFocus() {
  // The document focused before may have been closed meanwhile.
  manager_.messageFocus_ = manager_.Find(previous_);
}

}  // namespace minicad
