// The Directory Properties dialog: edits the current directory's description, folder and view
// options, lists how many drawings of each format it holds (following a loader still filling
// it, once a second), reloads it and writes side-file descriptions into its drawings. It always
// works on the library's current directory, which a reload replaces by a fresh copy. Dialog's
// thread, modal.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "fw/Dialog.h"

namespace library {
class Directory;
}

namespace ui {

// What the main dialog does for Directory Properties.
struct DirPropsActions {
  // Replaces the current directory by a fresh copy with all its settings and loads it again.
  std::function<void()> refresh;
  // The block list leaves the large-icon view for the report view (large images turned off).
  std::function<void()> leaveLargeIcons;
  // The directory list shows the current directory's description.
  std::function<void()> showDescription;
};

class DirProps : public fw::Dialog {
 public:
  explicit DirProps(DirPropsActions actions);

  // The lines of the format list for the blocks' version indexes: "NAME\tCOUNT" for each
  // version present, in version order, a dashed line and "Total\tN".
  static std::vector<std::wstring> CountLines(std::span<const int> versions);

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void Follow();
  void FillCounts(const library::Directory& d);
  void OnBrowse();
  void OnUseLargeImages();
  bool Apply();
  void OnReload();
  void OnSaveLsas();

  DirPropsActions actions_;
};

}  // namespace ui
