// The dump lines of controls and dialogs.
#include "fw/DialogDump.h"

#include "fw/Button.h"
#include "fw/Dialog.h"
#include "fw/ListBox.h"
#include "fw/ListCtrl.h"
#include "fw/ProgressCtrl.h"
#include "fw/StringListControl.h"
#include "fw/Transcript.h"

namespace fw {
namespace {

const char* ViewName(unsigned view) {
  switch (view & LVS_TYPEMASK) {
    case LVS_ICON:
      return "icon";
    case LVS_SMALLICON:
      return "smallicon";
    case LVS_LIST:
      return "list";
    default:
      return "report";
  }
}

// Dumped in pages, so a list of a hundred thousand items is not copied at once.
void DumpList(const ListCtrl& list, const std::string& prefix, std::vector<std::string>& lines) {
  constexpr int kPage = 1024;
  int count = list.GetItemCount();
  int columns = std::max(1, list.GetColumnCount());
  lines.push_back(prefix + "list view=" + ViewName(list.GetView()) +
                  " count=" + std::to_string(count));
  for (int first = 0; first < count; first += kPage) {
    std::vector<ListItem> items = list.GetItems(first, kPage);
    for (std::size_t at = 0; at < items.size(); ++at) {
      const ListItem& item = items[at];
      std::string line = prefix + "#" + std::to_string(first + static_cast<int>(at)) +
                         ((item.state & LVIS_SELECTED) != 0 ? "* " : " ");
      std::size_t shown = std::min<std::size_t>(item.texts.size(), static_cast<std::size_t>(columns));
      while (shown > 1 && item.texts[shown - 1].empty()) --shown;
      for (std::size_t column = 0; column < shown; ++column) {
        if (column > 0) line += " | ";
        line += TranscriptPlain(item.texts[column]);
      }
      lines.push_back(std::move(line));
    }
  }
}

}  // namespace

std::vector<std::string> DumpControl(const Control& control) {
  std::vector<std::string> lines;
  std::string prefix = "ui: " + std::to_string(control.GetDlgCtrlID()) + " ";
  if (const auto* list = dynamic_cast<const ListCtrl*>(&control)) {
    DumpList(*list, prefix, lines);
    return lines;
  }
  const auto* listBox = dynamic_cast<const ListBox*>(&control);
  std::wstring text = listBox != nullptr ? listBox->GetText(listBox->GetCurSel())
                                         : control.GetWindowText();
  std::string line = prefix + TranscriptQuoted(text) +
                     (control.IsWindowEnabled() ? " enabled" : " disabled") +
                     (control.IsWindowVisible() ? " visible" : " hidden");
  if (const auto* button = dynamic_cast<const Button*>(&control);
      button != nullptr && button->GetCheck() == BST_CHECKED) {
    line += " checked";
  }
  if (const auto* progress = dynamic_cast<const ProgressCtrl*>(&control)) {
    int lower = 0;
    int upper = 0;
    progress->GetRange(lower, upper);
    line += " position=" + std::to_string(progress->GetPos()) + " range=" +
            std::to_string(lower) + ".." + std::to_string(upper);
  }
  lines.push_back(std::move(line));
  if (const auto* strings = dynamic_cast<const StringListControl*>(&control)) {
    for (int at = 0; at < strings->GetCount(); ++at) {
      lines.push_back(prefix + "#" + std::to_string(at) + " " + TranscriptPlain(strings->ItemText(at)));
    }
  }
  return lines;
}

std::vector<std::string> DumpDialog(const Dialog& dialog) {
  std::vector<std::string> lines{"ui: dialog " + TranscriptQuoted(dialog.GetWindowText())};
  for (const auto& control : dialog.Controls()) {
    std::vector<std::string> more = DumpControl(*control);
    lines.insert(lines.end(), more.begin(), more.end());
  }
  return lines;
}

}  // namespace fw
