// The host's document manager: the open drawings in opening order, the active one, the one a
// command or a message is about, and the session's drawing numbering. Host main thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "arx/acdocman.h"
#include "fw/Result.h"

namespace minicad {

using fw::Result;
using fw::Status;

class Document;
class Host;

class DocManager : public AcApDocManager {
 public:
  explicit DocManager(Host& host);
  ~DocManager() override;
  DocManager(const DocManager&) = delete;
  DocManager& operator=(const DocManager&) = delete;

  // The drawing a module message is about while it is sent; else the document of the running
  // document command; else the active document (nullptr when none is open).
  AcApDocument* curDocument() const override;
  AcApDocument* mdiActiveDocument() const override;
  AcApDocumentIterator* newAcApDocumentIterator() override;
  int documentCount() const override;
  // eInvalidInput for a pointer that is no open document. Asked while a document command runs,
  // the activation takes effect when that command has ended.
  Acad::ErrorStatus activateDocument(AcApDocument* document, bool bPassScript = false) override;
  // eInvalidContext outside the application context; eFileNotFound, with the host's error line
  // printed, when the drawing does not exist.
  Acad::ErrorStatus appContextOpenDocument(const ACHAR* drawingName) override;
  // Queues the text on the document's command line; text queued while a command runs waits
  // until it has ended, and so does the activation. eInvalidInput for an unknown document or
  // null text.
  Acad::ErrorStatus sendStringToExecute(AcApDocument* document, const ACHAR* execute,
                                        bool bActivate = true, bool bWrapUpInactiveDoc = false,
                                        bool bEchoString = true) override;
  Acad::ErrorStatus lockDocument(AcApDocument* document, AcAp::DocLockMode mode = AcAp::kWrite,
                                 const ACHAR* globalCmdName = nullptr,
                                 const ACHAR* localCmdName = nullptr,
                                 bool prompt = true) override;
  // eNotApplicable for a document that is not locked.
  Acad::ErrorStatus unlockDocument(AcApDocument* document) override;
  bool isApplicationContext() const override;
  void executeInApplicationContext(void (*procedure)(void*), void* data) const override;
  void pushAcadResourceHandle() override;
  // Does nothing when no push is outstanding.
  void popResourceHandle() override;

  // A new drawing, numbered for the session; the modules get the drawing-load message with it
  // current, then it becomes the active one.
  Document* NewDocument();
  // Opens an existing drawing file (see FindDrawingFile); as NewDocument otherwise. A drawing of
  // another program opens under its name with an empty drawing; a minicad drawing that cannot
  // be read does not open. The failure text is the host's error line, not printed here.
  Result<Document*> OpenDocument(std::wstring_view path);
  // Sends the drawing-unload message with the document current, waits until no other thread
  // holds a lock on it, then closes it; another document (the last opened) becomes active.
  // Closing a document twice changes nothing.
  void CloseDocument(Document* document);
  void CloseAll();

  // The open document behind an interface pointer, or nullptr for any other pointer.
  Document* Find(const AcApDocument* document) const;
  Document* Active() const { return active_; }
  std::vector<Document*> Documents() const;
  int ResourceHandleDepth() const { return resourceHandleDepth_; }
  // Makes the text held back during a command readable on every document.
  void ReleaseHeldInput();
  // Carries out an activation asked for while a document command ran.
  void ApplyPendingActivation();

  // Makes `document` the current one while module messages about it are sent.
  class MessageFocus {
   public:
    MessageFocus(DocManager& manager, Document* document);
    ~MessageFocus();
    MessageFocus(const MessageFocus&) = delete;
    MessageFocus& operator=(const MessageFocus&) = delete;

   private:
    DocManager& manager_;
    Document* previous_;
  };

 private:
  Document* AddDocument(std::unique_ptr<Document> document);
  void Activate(Document* document);

  Host& host_;
  std::vector<std::unique_ptr<Document>> documents_;
  Document* active_ = nullptr;
  Document* messageFocus_ = nullptr;
  Document* pendingActivation_ = nullptr;
  int nextDrawingNumber_ = 1;
  int resourceHandleDepth_ = 0;
};

}  // namespace minicad
