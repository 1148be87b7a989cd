// The host editor: keeps the editor reactors and tells them about commands. Host main thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "arx/aced.h"

namespace minicad {

class Console;

// How a command finished, as its reactors hear it.
enum class CommandOutcome { kEnded, kCancelled, kFailed };

class Editor : public AcEditor {
 public:
  // Reactors report exceptions that escape them on `console`.
  explicit Editor(Console& console);

  // Adding a reactor twice or a null one changes nothing; removing one that is not there
  // neither.
  void addReactor(AcEditorReactor* reactor) override;
  void removeReactor(AcEditorReactor* reactor) override;

  // Tell every reactor, in the order they were added. A reactor removed by an earlier one
  // during the same notification is not called; one added during it hears the next one.
  void NotifyCommandWillStart(const std::wstring& globalName);
  void NotifyCommandOutcome(CommandOutcome outcome, const std::wstring& globalName);

  std::size_t ReactorCount() const { return reactors_.size(); }
  // Forgets every reactor, before the modules that own them are unloaded.
  void Clear() { reactors_.clear(); }

 private:
  template <typename Notification>
  void NotifyAll(const wchar_t* what, Notification notification);

  Console& console_;
  std::vector<AcEditorReactor*> reactors_;
};

}  // namespace minicad
