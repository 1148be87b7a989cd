// The editor's reactor list and its command notifications.
#include "minicad/Editor.h"

#include <algorithm>

#include "minicad/ModuleCall.h"

namespace minicad {

Editor::Editor(Console& console) : console_(console) {}

void Editor::addReactor(AcEditorReactor* reactor) {
  if (reactor == nullptr) return;
  if (std::find(reactors_.begin(), reactors_.end(), reactor) != reactors_.end()) return;
  reactors_.push_back(reactor);
}

void Editor::removeReactor(AcEditorReactor* reactor) {
  reactors_.erase(std::remove(reactors_.begin(), reactors_.end(), reactor), reactors_.end());
}

template <typename Notification>
void Editor::NotifyAll(const wchar_t* what, Notification notification) {
  // A reactor may add or remove reactors while it is told, so the walk goes over a copy and
  // checks each reactor is still registered before calling it.
  const std::vector<AcEditorReactor*> snapshot = reactors_;
  for (AcEditorReactor* reactor : snapshot) {
    if (std::find(reactors_.begin(), reactors_.end(), reactor) == reactors_.end()) continue;
    CallModuleCode(console_, what, [&] { notification(*reactor); });
  }
}

void Editor::NotifyCommandWillStart(const std::wstring& globalName) {
  NotifyAll(L"Editor reactor (commandWillStart)",
            [&](AcEditorReactor& reactor) { reactor.commandWillStart(globalName.c_str()); });
}

void Editor::NotifyCommandOutcome(CommandOutcome outcome, const std::wstring& globalName) {
  switch (outcome) {
    case CommandOutcome::kEnded:
      NotifyAll(L"Editor reactor (commandEnded)",
                [&](AcEditorReactor& reactor) { reactor.commandEnded(globalName.c_str()); });
      return;
    case CommandOutcome::kCancelled:
      NotifyAll(L"Editor reactor (commandCancelled)",
                [&](AcEditorReactor& reactor) { reactor.commandCancelled(globalName.c_str()); });
      return;
    case CommandOutcome::kFailed:
      NotifyAll(L"Editor reactor (commandFailed)",
                [&](AcEditorReactor& reactor) { reactor.commandFailed(globalName.c_str()); });
      return;
  }
}

}  // namespace minicad
