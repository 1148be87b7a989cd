// The host's command buttons: what outside components put on the ribbon strip and on the toolbar.
// The host window shows them and, when one is pressed, types its command text on the command line
// (Host::RunScriptText); the components add and remove them from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace minicad {

enum class ButtonBar { kRibbon, kToolbar };

struct CommandButton {
  ButtonBar bar = ButtonBar::kRibbon;
  std::wstring commandText;       // typed on the command line when the button is pressed
  std::wstring title;             // the button's caption and tooltip
  std::vector<std::uint8_t> png;  // the button's picture as PNG bytes; may be empty
};

// One per Host (Host::Buttons()). Every member may be called from any thread.
class CommandButtons {
 public:
  // Appends a button; one added twice shows twice, as on the host's own bars.
  void Add(CommandButton button);
  // Removes every button of `bar` with this command text. False when there was none.
  bool Remove(ButtonBar bar, std::wstring_view commandText);
  // A copy of the buttons in the order they were added.
  std::vector<CommandButton> List() const;
  // Called after each change, on the thread that made it, without the lock held (so the listener
  // may call List). The host window uses it to post a refresh to its own thread.
  void SetChangeListener(std::function<void()> listener);

 private:
  void Changed() const;

  mutable std::mutex mutex_;
  std::vector<CommandButton> buttons_;
  std::function<void()> listener_;
};

}  // namespace minicad
