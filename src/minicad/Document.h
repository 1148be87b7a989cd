// One open drawing of the session: its name, its database, its locks, the strings queued on its
// command line, and the system variables it keeps. Host main thread, except the lock calls,
// which any thread may make (the library's loader locks the current document to read it).
#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "arx/acdocman.h"
#include "arx/dbmain.h"
#include "minicad/InputText.h"
#include "minicad/VariableValue.h"

namespace minicad {

class Document : public AcApDocument {
 public:
  // `fileName` is the full path of a drawing opened from a file, or the default name of a new
  // one ("Drawing1.dwg"); the title is its name without folder and extension. The document
  // owns `database` and allows writes to it while it is locked.
  Document(std::wstring fileName, bool isNewDrawing, std::unique_ptr<AcDbDatabase> database);
  ~Document() override;

  const ACHAR* fileName() const override { return fileName_.c_str(); }
  const ACHAR* docTitle() const override { return title_.c_str(); }

  // True for a drawing made by NEW that was never saved.
  bool IsNewDrawing() const { return isNewDrawing_; }
  // The drawing was saved under another name.
  void Rename(std::wstring fileName);

  AcDbDatabase& Database() { return *database_; }

  // Locks count per document and per thread: a thread unlocks only what it locked.
  int LockCount() const;
  bool IsLocked() const;
  void Lock();
  // False when the calling thread holds no lock on the document.
  bool Unlock();
  // Waits until no thread but the calling one holds a lock (before the document goes).
  void WaitForOtherLocks() const;

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
  std::unique_ptr<AcDbDatabase> database_;
  mutable std::mutex lockMutex_;
  mutable std::condition_variable lockReleased_;
  std::map<std::thread::id, int> locks_;
  bool closing_ = false;
  InputQueue input_;
  VariableValues drawingVariables_;
};

}  // namespace minicad
