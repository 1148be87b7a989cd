// A document's name and locks.
#include "minicad/Document.h"

#include <utility>

#include "fw/FileName.h"

namespace minicad {

Document::Document(std::wstring fileName, bool isNewDrawing)
    : fileName_(std::move(fileName)),
      title_(fw::CFileName(fileName_).Title()),
      isNewDrawing_(isNewDrawing) {}

bool Document::Unlock() {
  if (lockCount_ == 0) return false;
  --lockCount_;
  return true;
}

}  // namespace minicad
