// The main dialog's template id, control ids and private command ids.
#pragma once

namespace ui {

// The dialog template among the module's resources.
inline constexpr int kBlockDlgTemplateId = 129;

enum BlockDlgId : int {
  kIdClose = 2,
  kIdZuZizazad = 202,
  kIdEditDescription = 223,
  kIdAdd = 225,
  kIdDelete = 228,
  kIdDirectories = 232,
  kIdExplode = 236,
  kIdHelp = 241,
  kIdInsert = 245,
  kIdBlocks = 253,
  kIdProperties = 254,
  kIdPlaceholder = 255,
  kIdLocalize = 256,
  kIdMoveDown = 258,
  kIdMoveUp = 259,
  kIdMultipleInsert = 260,
  kIdOpen = 263,
  kIdPreferences = 266,
  kIdPrint = 267,
  kIdQuickFind = 270,
  kIdRepeat = 275,
  kIdRotation = 276,
  kIdScale = 278,
  kIdSchemes = 279,
  kIdScheme = 280,
  kIdViewButton = 296,
  kIdXref = 297,
};

// Posted commands: 248 ends the modal loop (the closing work posts it); the loader's note that
// a directory's block list is filled comes as kIdListFilled.
inline constexpr int kCommandEndModal = 248;
inline constexpr int kIdListFilled = 40001;

// The directory context menu's commands.
inline constexpr int kMenuProperties = 40101;
inline constexpr int kMenuReloadDirectory = 40102;

// The views in the view button's menu and the block context menu: kMenuViewFirst + view index.
inline constexpr int kMenuViewFirst = 40200;
// The block context menu's Sort submenu: kMenuSortFirst + the forward sort style (1 to 6).
inline constexpr int kMenuSortFirst = 40300;
// The block context menu's actions.
inline constexpr int kMenuInsert = 40401;
inline constexpr int kMenuXref = 40402;
inline constexpr int kMenuOpen = 40403;
inline constexpr int kMenuEditDescription = 40404;
inline constexpr int kMenuRefreshDirectory = 40405;

// The loader's note that it probed the selected block, whose properties may have changed.
inline constexpr int kIdSelectedBlockProbed = 40003;

// The QuickPic window's picture, and the note that the window has gone.
inline constexpr int kIdQuickPicPicture = 1000;
inline constexpr int kCommandQuickPicClosed = 40002;

}  // namespace ui
