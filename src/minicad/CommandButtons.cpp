// The host's command buttons: a locked list and a listener told of each change.
#include "minicad/CommandButtons.h"

#include <algorithm>
#include <utility>

namespace minicad {

void CommandButtons::Add(CommandButton button) {
  {
    std::lock_guard lock(mutex_);
    buttons_.push_back(std::move(button));
  }
  Changed();
}

bool CommandButtons::Remove(ButtonBar bar, std::wstring_view commandText) {
  std::size_t removed = 0;
  {
    std::lock_guard lock(mutex_);
    removed = std::erase_if(buttons_, [&](const CommandButton& button) {
      return button.bar == bar && button.commandText == commandText;
    });
  }
  if (removed == 0) return false;
  Changed();
  return true;
}

std::vector<CommandButton> CommandButtons::List() const {
  std::lock_guard lock(mutex_);
  return buttons_;
}

void CommandButtons::SetChangeListener(std::function<void()> listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

void CommandButtons::Changed() const {
  std::function<void()> listener;
  {
    std::lock_guard lock(mutex_);
    listener = listener_;
  }
  if (listener) listener();
}

}  // namespace minicad
