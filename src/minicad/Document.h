// One open drawing of the session: its name, its locks and the strings queued on its command
// line, and the system variables it keeps. Later the drawing database hangs here too. Host
// main thread.
#pragma once

#include <string>

#include "arx/acdocman.h"
#include "minicad/InputText.h"
#include "minicad/VariableValue.h"

namespace minicad {

class Document : public AcApDocument {
 public:
  // `fileName` is the full path of a drawing opened from a file, or the default name of a new
  // one ("Drawing1.dwg"); the title is its name without folder and extension.
  Document(std::wstring fileName, bool isNewDrawing);

  const ACHAR* fileName() const override { return fileName_.c_str(); }
  const ACHAR* docTitle() const override { return title_.c_str(); }

  // True for a drawing made by NEW that was never saved.
  bool IsNewDrawing() const { return isNewDrawing_; }

  int LockCount() const { return lockCount_; }
  void Lock() { ++lockCount_; }
  // False when the document was not locked.
  bool Unlock();

  InputQueue& Input() { return input_; }

  // The values of the system variables saved in this drawing that were set in it.
  VariableValues& DrawingVariables() { return drawingVariables_; }
  const VariableValues& DrawingVariables() const { return drawingVariables_; }

  // Set while the document is being closed, so a second close request changes nothing.
  bool IsClosing() const { return closing_; }
  void MarkClosing() { closing_ = true; }

 private:
  std::wstring fileName_;
  std::wstring title_;
  bool isNewDrawing_;
  int lockCount_ = 0;
  bool closing_ = false;
  InputQueue input_;
  VariableValues drawingVariables_;
};

}  // namespace minicad
