// The platform's style bits, states and flags for dialogs, controls, menus and the common
// dialogs, with the platform's values, so dialog templates read as they do on the platform.
#pragma once

namespace fw {

// The id of a label that no code addresses.
inline constexpr int IDC_STATIC = -1;

// Window styles (any control or dialog).
inline constexpr unsigned WS_POPUP = 0x80000000;
inline constexpr unsigned WS_CHILD = 0x40000000;
inline constexpr unsigned WS_VISIBLE = 0x10000000;
inline constexpr unsigned WS_DISABLED = 0x08000000;
inline constexpr unsigned WS_CAPTION = 0x00C00000;
inline constexpr unsigned WS_BORDER = 0x00800000;
inline constexpr unsigned WS_VSCROLL = 0x00200000;
inline constexpr unsigned WS_HSCROLL = 0x00100000;
inline constexpr unsigned WS_SYSMENU = 0x00080000;
inline constexpr unsigned WS_GROUP = 0x00020000;
inline constexpr unsigned WS_TABSTOP = 0x00010000;

// Extended window styles.
inline constexpr unsigned WS_EX_TOPMOST = 0x00000008;
inline constexpr unsigned WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr unsigned WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr unsigned WS_EX_STATICEDGE = 0x00020000;

// Dialog styles.
inline constexpr unsigned DS_3DLOOK = 0x0004;
inline constexpr unsigned DS_SETFONT = 0x0040;
inline constexpr unsigned DS_MODALFRAME = 0x0080;
inline constexpr unsigned DS_CENTER = 0x0800;

// Button styles; the low four bits are the button's type.
inline constexpr unsigned BS_PUSHBUTTON = 0x0;
inline constexpr unsigned BS_DEFPUSHBUTTON = 0x1;
inline constexpr unsigned BS_CHECKBOX = 0x2;
inline constexpr unsigned BS_AUTOCHECKBOX = 0x3;
inline constexpr unsigned BS_RADIOBUTTON = 0x4;
inline constexpr unsigned BS_GROUPBOX = 0x7;
inline constexpr unsigned BS_AUTORADIOBUTTON = 0x9;
inline constexpr unsigned BS_OWNERDRAW = 0xB;
inline constexpr unsigned BS_TYPEMASK = 0xF;

// Edit styles.
inline constexpr unsigned ES_LEFT = 0x0000;
inline constexpr unsigned ES_MULTILINE = 0x0004;
inline constexpr unsigned ES_UPPERCASE = 0x0008;
inline constexpr unsigned ES_AUTOHSCROLL = 0x0080;
inline constexpr unsigned ES_READONLY = 0x0800;
inline constexpr unsigned ES_WANTRETURN = 0x1000;

// Static styles.
inline constexpr unsigned SS_LEFT = 0x0000;
inline constexpr unsigned SS_CENTER = 0x0001;
inline constexpr unsigned SS_RIGHT = 0x0002;
inline constexpr unsigned SS_BITMAP = 0x000E;
inline constexpr unsigned SS_NOPREFIX = 0x0080;
inline constexpr unsigned SS_NOTIFY = 0x0100;
inline constexpr unsigned SS_SUNKEN = 0x1000;

// Combo box styles; the low two bits are the kind.
inline constexpr unsigned CBS_SIMPLE = 0x0001;
inline constexpr unsigned CBS_DROPDOWN = 0x0002;
inline constexpr unsigned CBS_DROPDOWNLIST = 0x0003;
inline constexpr unsigned CBS_AUTOHSCROLL = 0x0040;
inline constexpr unsigned CBS_SORT = 0x0100;
inline constexpr unsigned CBS_HASSTRINGS = 0x0200;

// List box styles.
inline constexpr unsigned LBS_NOTIFY = 0x0001;
inline constexpr unsigned LBS_SORT = 0x0002;
inline constexpr unsigned LBS_USETABSTOPS = 0x0080;
inline constexpr unsigned LBS_NOINTEGRALHEIGHT = 0x0100;

// List control styles; the low two bits are the view.
inline constexpr unsigned LVS_ICON = 0x0000;
inline constexpr unsigned LVS_REPORT = 0x0001;
inline constexpr unsigned LVS_SMALLICON = 0x0002;
inline constexpr unsigned LVS_LIST = 0x0003;
inline constexpr unsigned LVS_TYPEMASK = 0x0003;
inline constexpr unsigned LVS_SINGLESEL = 0x0004;
inline constexpr unsigned LVS_SHOWSELALWAYS = 0x0008;
inline constexpr unsigned LVS_SHAREIMAGELISTS = 0x0040;
inline constexpr unsigned LVS_AUTOARRANGE = 0x0100;
inline constexpr unsigned LVS_EDITLABELS = 0x0200;
inline constexpr unsigned LVS_NOCOLUMNHEADER = 0x4000;
// Extended list control styles.
inline constexpr unsigned LVS_EX_FULLROWSELECT = 0x0020;
inline constexpr unsigned LVS_EX_INFOTIP = 0x0400;

// List item states, the flags of GetNextItem, image list slots, column formats, arrangements.
inline constexpr unsigned LVIS_FOCUSED = 0x0001;
inline constexpr unsigned LVIS_SELECTED = 0x0002;
inline constexpr unsigned LVIS_CUT = 0x0004;
inline constexpr unsigned LVIS_DROPHILITED = 0x0008;
inline constexpr unsigned LVNI_ALL = 0x0000;
inline constexpr unsigned LVNI_FOCUSED = 0x0001;
inline constexpr unsigned LVNI_SELECTED = 0x0002;
inline constexpr int LVSIL_NORMAL = 0;
inline constexpr int LVSIL_SMALL = 1;
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;
inline constexpr int LVA_DEFAULT = 0;

// ShowWindow.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;

// Menu item flags and TrackPopupMenu flags.
inline constexpr unsigned MF_STRING = 0x0000;
inline constexpr unsigned MF_ENABLED = 0x0000;
inline constexpr unsigned MF_UNCHECKED = 0x0000;
inline constexpr unsigned MF_BYCOMMAND = 0x0000;
inline constexpr unsigned MF_GRAYED = 0x0001;
inline constexpr unsigned MF_DISABLED = 0x0002;
inline constexpr unsigned MF_CHECKED = 0x0008;
inline constexpr unsigned MF_POPUP = 0x0010;
inline constexpr unsigned MF_BYPOSITION = 0x0400;
inline constexpr unsigned MF_SEPARATOR = 0x0800;
inline constexpr unsigned TPM_LEFTALIGN = 0x0000;
inline constexpr unsigned TPM_LEFTBUTTON = 0x0000;
inline constexpr unsigned TPM_RIGHTBUTTON = 0x0002;
inline constexpr unsigned TPM_RIGHTALIGN = 0x0008;
inline constexpr unsigned TPM_RETURNCMD = 0x0100;

// File dialog flags.
inline constexpr unsigned OFN_READONLY = 0x0001;
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x0002;
inline constexpr unsigned OFN_HIDEREADONLY = 0x0004;
inline constexpr unsigned OFN_NOCHANGEDIR = 0x0008;
inline constexpr unsigned OFN_PATHMUSTEXIST = 0x0800;
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;
inline constexpr unsigned OFN_CREATEPROMPT = 0x2000;

// Print dialog flags.
inline constexpr unsigned PD_ALLPAGES = 0x0000;
inline constexpr unsigned PD_SELECTION = 0x0001;
inline constexpr unsigned PD_PAGENUMS = 0x0002;
inline constexpr unsigned PD_NOSELECTION = 0x0004;
inline constexpr unsigned PD_NOPAGENUMS = 0x0008;
inline constexpr unsigned PD_RETURNDC = 0x0100;
inline constexpr unsigned PD_USEDEVMODECOPIESANDCOLLATE = 0x00040000;

// Folder browser flags.
inline constexpr unsigned BIF_RETURNONLYFSDIRS = 0x0001;

// System metrics the dialogs measure with.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_CXSIZE = 30;
inline constexpr int SM_CYSMCAPTION = 51;

}  // namespace fw
