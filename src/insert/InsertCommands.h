// The three actions of the browser, run once its window is gone and while QUORVA still runs:
// insert a block (the host's -INSERT, queued), attach or overlay a drawing as an external
// reference (-XREF, run at once through acedCmdS) and open a drawing (TRVXQVOPEN, queued). Each
// fills the insertion state the command reactor finishes the insertion with. A drawing whose
// name cannot be passed to the host safely (see CommandText.h) is refused with a message naming
// it, before anything is changed or sent. Host main thread.
#pragma once

#include <string>
#include <vector>

#include "insert/ExistingBlock.h"

namespace library {
class Block;
class Directory;
}  // namespace library

namespace insert {

struct InsertionState;

// The drawing file of a library block: the directory's path and the block's name with ".dwg",
// the file's own spelling when only the case of its name differs.
std::wstring DrawingFile(const library::Directory& directory, const library::Block& block);

// Inserts `block` of `directory` with the directory's options. A library block is looked up in
// the current drawing first; an existing definition is updated (from the file, with the
// directory's scheme applied) as `mode` and the user decide, a new one is defined with the
// scheme applied; a BlockName->Layer scheme makes its layer current. A block of the internal
// directory is inserted by name. `askedNames` is the drawing's memory of names already asked
// about; `fromDialog` lets the directory's Repeat option bring the browser back.
void InsertBlock(const library::Directory& directory, const library::Block& block,
                 ExistingBlockMode mode, bool fromDialog, InsertionState& state,
                 std::vector<std::wstring>& askedNames);

// Attaches (or with `overlay`, overlays) the block's drawing as an external reference; the user
// picks the insertion point. Shows "This file cannot be xrefed" when the host's command fails.
// Nothing for a block of the internal directory, which has no file.
void AttachBlock(const library::Directory& directory, const library::Block& block, bool overlay,
                 InsertionState& state);

// Opens the block's drawing, or activates it when it is open: the path goes to
// `pendingOpenPath`, which TRVXQVOPEN reads, so it never passes the command line. Nothing for a
// block of the internal directory.
void OpenBlock(const library::Directory& directory, const library::Block& block,
               std::wstring& pendingOpenPath);

}  // namespace insert
