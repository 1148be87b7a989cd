// What a drawing command of the host works with: its document and database, its prompts, and
// adding objects to model space with the current layer, colour and linetype. Host main thread,
// inside the command (which holds its document's lock).
#pragma once

#include <memory>

#include "arx/dbents.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/CommandInput.h"

namespace minicad {

class Document;
class Host;

class CommandContext {
 public:
  explicit CommandContext(Host& host);

  Host& GetHost() { return host_; }
  CommandInput& Input() { return input_; }
  // The running command's document; every drawing command has one.
  Document& GetDocument() { return *document_; }
  AcDbDatabase& Database();
  AcDbImpDatabase& Inside() { return AcDbImpDatabase::Of(Database()); }

  // Adds `entity` to model space on the current layer with the current colour (CECOLOR) and
  // linetype (CELTYPE). False, with the host's line printed and the command failed, when the
  // drawing refuses it.
  bool AddToModelSpace(std::unique_ptr<AcDbEntity> entity, AcDbObjectId* id = nullptr);
  // Adds an entity whose properties are set already.
  bool Append(AcDbObjectId block, std::unique_ptr<AcDbEntity> entity, AcDbObjectId* id = nullptr);

  // A status the command cannot go on with: the host's line naming it, and the command failed.
  void Refused(Acad::ErrorStatus status, std::wstring_view what);

 private:
  Host& host_;
  CommandInput input_;
  Document* document_;
};

}  // namespace minicad
