// The editor reactor that finishes an insertion after the host's command has ended: explodes the
// new reference, inserts the same block again, brings the browser back, sets the previous
// current layer again, or removes a block definition its cancelled insertion made.
#pragma once

#include <string_view>

#include "arx/aced.h"

namespace insert {

struct InsertionState;

// One instance for the life of the module, attached to the host editor at set-up and removed at
// quit. Its notifications run on the host's main thread, between commands; it only queues
// command text, never runs a command itself, and acts only while `state.reactorArmed`.
class CmdLineReactor : public AcEditorReactor {
 public:
  explicit CmdLineReactor(InsertionState& state) : state_(state) {}

  void commandEnded(const ACHAR* cmdStr) override;
  void commandCancelled(const ACHAR* cmdStr) override;
  void commandFailed(const ACHAR* cmdStr) override;

  // The explode text for the host program: "aclt.exe" (no AutoLISP) picks the last object with
  // the Last option, any other host with (entlast).
  static const wchar_t* ExplodeCommand(std::wstring_view hostProgram);

 private:
  // What cancel and failure share; a cancel also removes a definition new to the drawing.
  void EndedEarly(std::wstring_view name, bool removeNewDefinition);
  void RemoveInsertedDefinition();

  InsertionState& state_;
};

}  // namespace insert
