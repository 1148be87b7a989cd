// The host's document manager: the open drawings, which one is current, and the two contexts
// code runs in (a document's command, or the application's own context).
#pragma once

#include "arx/adesk.h"

namespace AcAp {
enum DocLockMode {
  kNone = 0x00,
  kAutoWrite = 0x01,
  kNotLocked = 0x02,
  kWrite = 0x04,
  kProtectedAutoWrite = 0x14,
  kRead = 0x20,
  kXWrite = 0x40,
};
}  // namespace AcAp

class AcApDocument {
 public:
  virtual ~AcApDocument() = default;
  // The drawing's full path; for a drawing never saved, its default name ("Drawing1.dwg").
  virtual const ACHAR* fileName() const = 0;
  // The name shown in the window title.
  virtual const ACHAR* docTitle() const = 0;
};

class AcApDocumentIterator {
 public:
  virtual ~AcApDocumentIterator() = default;
  virtual bool done() const = 0;
  virtual void step() = 0;
  virtual AcApDocument* document() = 0;
};

class AcApDocManager {
 public:
  virtual ~AcApDocManager() = default;

  // The document whose command is running, or the active one outside of commands.
  virtual AcApDocument* curDocument() const = 0;
  virtual AcApDocument* mdiActiveDocument() const = 0;
  // Walks the open documents in the order they were opened. The caller deletes the iterator.
  virtual AcApDocumentIterator* newAcApDocumentIterator() = 0;
  virtual int documentCount() const = 0;

  // Makes a document the active one. `bPassScript` hands a running script on to it.
  virtual Acad::ErrorStatus activateDocument(AcApDocument* document, bool bPassScript = false) = 0;
  // Opens a drawing; only allowed in the application context (eInvalidContext otherwise).
  virtual Acad::ErrorStatus appContextOpenDocument(const ACHAR* drawingName) = 0;
  // Queues a command string on a document's command line; it runs after the current command.
  virtual Acad::ErrorStatus sendStringToExecute(AcApDocument* document, const ACHAR* execute,
                                                bool bActivate = true,
                                                bool bWrapUpInactiveDoc = false,
                                                bool bEchoString = true) = 0;
  virtual Acad::ErrorStatus lockDocument(AcApDocument* document,
                                         AcAp::DocLockMode mode = AcAp::kWrite,
                                         const ACHAR* globalCmdName = nullptr,
                                         const ACHAR* localCmdName = nullptr,
                                         bool prompt = true) = 0;
  virtual Acad::ErrorStatus unlockDocument(AcApDocument* document) = 0;

  // True while the host runs a session command or a routine handed to the application context.
  virtual bool isApplicationContext() const = 0;
  // Runs `procedure(data)` in the application context: at once when already there, otherwise
  // when the current command has given control back to the host.
  virtual void executeInApplicationContext(void (*procedure)(void*), void* data) const = 0;

  // Make the host's own resources current around host calls that show the host's windows.
  virtual void pushAcadResourceHandle() = 0;
  virtual void popResourceHandle() = 0;
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()
