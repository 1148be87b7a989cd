// The option controls of the main dialog and the current directory's insertion options: stored
// from the controls into the directory, loaded from it into the controls, with the enabling of
// the buttons that depend on the directory.
#pragma once

#include <string>

namespace library {
class Directory;
}

namespace ui {

class BlockDlg;

// Dialog's thread.
class OptionControls {
 public:
  explicit OptionControls(BlockDlg& dialog) : dialog_(dialog) {}

  // Dialog → current directory: scheme, check boxes, scale (a user scale goes to USERR4 of the
  // current drawing), rotation, the block list's view state while it shows the directory filled,
  // and its image cache written now when dirty. Nothing without a current directory, while the
  // dialog is not shown, or before the controls were first loaded from a directory.
  void Store();
  // Current directory → dialog, and the enabling of Open, Xref, Edit Descrip. and the scheme box.
  void Load();

  // USERR4 of the current drawing as a decimal number at the drawing's precision (LUPREC), at
  // most 50 characters.
  static std::wstring UserScaleText();

 private:
  void StoreScale(library::Directory& d);
  void StoreRotation(library::Directory& d);
  void LoadScale(const library::Directory& d);
  void LoadScheme(library::Directory& d);
  void EnableForDirectory(const library::Directory& d);

  BlockDlg& dialog_;
  // The controls hold a directory's options: until they do, there is nothing to store.
  bool loaded_ = false;
};

}  // namespace ui
