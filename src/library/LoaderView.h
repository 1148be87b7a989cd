// What the directory loader and the directory delete worker show in the main dialog: the Count
// and Status columns of the directory list, and the block list of the current directory. The
// dialog implements it; the loader only ever sees this interface.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace library {

class Block;
class Directory;

// Threads: every member is called on the loader thread, except RemoveDirectory (the delete
// worker, with the library lock held) and ForgetBlocks (any thread that is about to delete a
// directory's blocks). The dialog installs its view before the loader starts and removes it only
// after the loader has been joined, so no call arrives once the dialog's controls are gone. The
// implementation changes only thread-safe control state; what must run on the dialog's thread
// (EndFill) it posts there.
class LoaderView {
 public:
  virtual ~LoaderView() = default;

  // --- Directory list: the row whose item data is `d` -----------------------------------------
  // Column 1: the block count ("%ld").
  virtual void ShowCount(const Directory& d) = 0;
  // Column 2: "D", "L", "V", "S", or empty when done.
  virtual void ShowStatus(const Directory& d, std::wstring_view status) = 0;

  // --- Block list --------------------------------------------------------------------------------
  // Deletes every item and gives the list d's image lists; from now on the list shows d.
  virtual void ClearBlocks(Directory& d) = 0;
  // Gives the list d's image lists again (they were made anew).
  virtual void ShowImages(Directory& d) = 0;
  virtual bool HasNoBlocks() const = 0;
  // Deletes every item when the list shows d's blocks, which are about to go.
  virtual void ForgetBlocks(const Directory& d) = 0;
  // Hides the block list behind the placeholder list and switches it to icon view.
  virtual void BeginFill(const Directory& d) = 0;
  // Inserts `count` placeholder items and arranges them; the item indexes in order.
  virtual std::vector<int> InsertPlaceholders(std::size_t count) = 0;
  // Sets the item's text, image, data and report columns from the block.
  virtual void ShowBlock(int item, const Block& b) = 0;
  // The list of d is filled (`complete`) or its filling was interrupted. Posts to the dialog's
  // thread, which, while d is still current and shown, applies d's view, sort style and selection
  // (when complete) and shows the block list in place of the placeholder.
  virtual void EndFill(const Directory& d, bool complete) = 0;
  // Columns 1, 3, 4 and 5 of the block's item, found by its data, before it is probed.
  virtual void ShowBlockFacts(const Block& b) = 0;

  // --- Delete worker -----------------------------------------------------------------------------
  // Deletes d's row of the directory list (renumbering `listIndex` of the rows after it) and the
  // items of the block list. Called with the library lock held, once the loader is off d.
  virtual void RemoveDirectory(const Directory& d) = 0;
};

}  // namespace library
