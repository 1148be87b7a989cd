// The questions the framework asks the user, as real wxWidgets windows: message boxes, the wait
// cursor, the indexed colour dialog, popup menus, the folder and file pickers, the print dialog
// (which ends in the PDF printer) and the help viewer. The dialog presenter forwards these to
// one WxQuestions. Every member runs on the GUI thread.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fw/Menu.h"
#include "fw/PrinterDC.h"
#include "fw/UiRequests.h"

class wxHtmlHelpController;
class wxMenu;
class wxWindow;

namespace gui {

// The wx message-box style (wxOK, wxYES_NO, wxICON_..., ...) for MB_ buttons and icons, and the
// answer (IDOK, IDYES, ...) for what wxMessageDialog::ShowModal returned. Pure, for tests.
long MessageBoxStyle(unsigned type);
int MessageBoxAnswer(unsigned type, int wxAnswer);

// A menu item as wx shows it: its kind, label, state and the items below it.
struct WxMenuEntry {
  enum class Kind { kItem, kCheck, kSeparator, kSubmenu };
  Kind kind = Kind::kItem;
  int id = 0;
  std::wstring label;
  bool checked = false;
  bool enabled = true;
  std::vector<WxMenuEntry> children;
};
// The fw menu converted item by item (pure, for tests); BuildWxMenu makes the real one.
std::vector<WxMenuEntry> ConvertMenu(const fw::Menu& menu);
std::unique_ptr<wxMenu> BuildWxMenu(const std::vector<WxMenuEntry>& entries);

// The platform's file filter ("Text|*.txt|All|*.*||") as a wx wildcard ("Text|*.txt|All|*.*").
std::wstring WxWildcard(const std::wstring& filter);

// Where the colour dialog shows an index 1-255: its column and row in the swatch grid (the nine
// named colours on the first row, the 24 hues in columns of ten shades, then the six greys).
struct SwatchCell {
  int column = 0;
  int row = 0;
};
SwatchCell SwatchCellOf(int index);

class WxQuestions {
 public:
  // `parent` gives the window the questions open over (the active dialog or the host window);
  // it may return nullptr.
  explicit WxQuestions(std::function<wxWindow*()> parent);
  ~WxQuestions();
  WxQuestions(const WxQuestions&) = delete;
  WxQuestions& operator=(const WxQuestions&) = delete;

  int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned type);
  // Nest: the busy cursor shows until each Begin has its End.
  void BeginWaitCursor();
  void EndWaitCursor();
  // The 255 indexed colours; the index chosen, or nothing when cancelled.
  std::optional<int> ChooseColor(int initialColor);
  // The command chosen, 0 for none.
  int TrackPopupMenu(const fw::Menu& menu, const fw::PopupRequest& request);
  std::optional<std::wstring> BrowseForFolder(const fw::FolderRequest& request);
  std::optional<std::wstring> ChooseFile(const fw::FileRequest& request);
  // A PDF printer on the file, paper and resolution the user chose; nullptr when cancelled.
  std::unique_ptr<fw::PrinterDC> ChoosePrinter(const fw::PrintRequest& request);
  bool ShowHelp(const std::wstring& file, fw::HelpCommand command);

 private:
  std::function<wxWindow*()> parent_;
  int waitDepth_ = 0;
  std::unique_ptr<wxHtmlHelpController> help_;
  std::wstring helpFile_;
};

}  // namespace gui
