// The framework's questions as wxWidgets dialogs. GUI thread only. Texts and paths reach wx
// through the conversions of WxText.h, so a name on disk that is not UTF-8 shows readably and
// keeps its bytes.
#include "gui/WxQuestions.h"

#include <wx/app.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/dialog.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filepicker.h>
#include <wx/filesys.h>
#include <wx/fs_zip.h>
#include <wx/html/helpctrl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include <algorithm>

#include "fw/AciColours.h"
#include "fw/FileName.h"
#include "fw/PdfPrinterDC.h"
#include "fw/UiDriver.h"
#include "fw/WindowStyles.h"
#include "gui/WxText.h"

namespace gui {
namespace {

constexpr unsigned kButtonsMask = 0x0F;
constexpr unsigned kIconMask = 0xF0;

// --- The colour dialog ------------------------------------------------------------------------

constexpr int kSwatchSide = 16;
constexpr int kSwatchGap = 3;
constexpr int kSwatchColumns = 24;
constexpr int kSwatchRows = 14;
// The swatches are shown on the dialog's light background.
const fw::COLORREF kSwatchBackground = fw::RGB(255, 255, 255);

wxRect SwatchRect(int index) {
  const SwatchCell cell = SwatchCellOf(index);
  return wxRect(kSwatchGap + cell.column * (kSwatchSide + kSwatchGap),
                kSwatchGap + cell.row * (kSwatchSide + kSwatchGap), kSwatchSide, kSwatchSide);
}

// The 255 swatches; a click chooses one, a double click chooses it and closes the dialog.
class SwatchPanel : public wxPanel {
 public:
  SwatchPanel(wxWindow* parent, int chosen, wxStaticText* label)
      : wxPanel(parent, wxID_ANY, wxDefaultPosition,
                wxSize(kSwatchGap + kSwatchColumns * (kSwatchSide + kSwatchGap),
                       kSwatchGap + kSwatchRows * (kSwatchSide + kSwatchGap))),
        chosen_(chosen),
        label_(label) {
    Bind(wxEVT_PAINT, &SwatchPanel::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &SwatchPanel::OnClick, this);
    Bind(wxEVT_LEFT_DCLICK, &SwatchPanel::OnDoubleClick, this);
    ShowChosen();
  }
  int Chosen() const { return chosen_; }

 private:
  void OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    for (int index = 1; index <= 255; ++index) {
      const fw::COLORREF colour = fw::AciColour(index, kSwatchBackground);
      dc.SetBrush(wxBrush(wxColour(fw::GetRValue(colour), fw::GetGValue(colour),
                                   fw::GetBValue(colour))));
      dc.SetPen(index == chosen_ ? wxPen(*wxBLACK, 3) : wxPen(wxColour(128, 128, 128)));
      dc.DrawRectangle(SwatchRect(index));
    }
  }
  int IndexAt(wxPoint point) const {
    for (int index = 1; index <= 255; ++index) {
      if (SwatchRect(index).Contains(point)) return index;
    }
    return 0;
  }
  void OnClick(wxMouseEvent& event) {
    if (int index = IndexAt(event.GetPosition()); index != 0) {
      chosen_ = index;
      ShowChosen();
      Refresh();
    }
  }
  void OnDoubleClick(wxMouseEvent& event) {
    OnClick(event);
    if (IndexAt(event.GetPosition()) != 0) {
      if (auto* dialog = wxDynamicCast(GetParent(), wxDialog)) dialog->EndModal(wxID_OK);
    }
  }
  void ShowChosen() {
    label_->SetLabel(chosen_ >= 1 && chosen_ <= 255 ? wxString::Format("Index color: %d", chosen_)
                                                    : wxString("Index color:"));
  }

  int chosen_;
  wxStaticText* label_;
};

// --- The print dialog --------------------------------------------------------------------------

struct PrintChoice {
  std::wstring path;
  fw::PdfPrinterSetup setup;
};

// The printer prints into a PDF file: the user names the file, the paper and the resolution.
std::optional<PrintChoice> AskPrintChoice(wxWindow* parent) {
  wxDialog dialog(parent, wxID_ANY, "Print");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  auto* grid = new wxFlexGridSizer(2, wxSize(8, 8));
  grid->AddGrowableCol(1);
  auto* file = new wxFilePickerCtrl(&dialog, wxID_ANY, "", "Print to file", "PDF files|*.pdf",
                                    wxDefaultPosition, wxSize(360, -1),
                                    wxFLP_SAVE | wxFLP_OVERWRITE_PROMPT | wxFLP_USE_TEXTCTRL);
  auto* paper = new wxChoice(&dialog, wxID_ANY);
  paper->Append("A4");
  paper->Append("Letter");
  paper->SetSelection(0);
  auto* dots = new wxSpinCtrl(&dialog, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                              wxSP_ARROW_KEYS, 1, fw::kMaxPdfDotsPerInch,
                              fw::kDefaultPdfDotsPerInch);
  grid->Add(new wxStaticText(&dialog, wxID_ANY, "Printer:"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(new wxStaticText(&dialog, wxID_ANY, "PDF file"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(new wxStaticText(&dialog, wxID_ANY, "File:"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(file, 1, wxEXPAND);
  grid->Add(new wxStaticText(&dialog, wxID_ANY, "Paper:"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(paper, 0);
  grid->Add(new wxStaticText(&dialog, wxID_ANY, "Dots per inch:"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(dots, 0);
  sizer->Add(grid, 1, wxEXPAND | wxALL, 12);
  sizer->Add(dialog.CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 12);
  dialog.SetSizerAndFit(sizer);
  while (dialog.ShowModal() == wxID_OK) {
    if (file->GetPath().empty()) {
      wxMessageBox("Choose the file to print into.", "Print", wxOK | wxICON_EXCLAMATION, &dialog);
      continue;
    }
    PrintChoice choice;
    choice.path = PathFromWx(file->GetPath());
    choice.setup.paper = paper->GetSelection() == 1 ? fw::Paper::kLetter : fw::Paper::kA4;
    choice.setup.dotsPerInch = dots->GetValue();
    return choice;
  }
  return std::nullopt;
}

// The help viewer reads its books from zip archives through wx's file system.
void AddZipHandlerOnce() {
  static bool added = false;
  if (added) return;
  wxFileSystem::AddHandler(new wxZipFSHandler);
  added = true;
}

}  // namespace

long MessageBoxStyle(unsigned type) {
  long style = 0;
  switch (type & kButtonsMask) {
    case fw::MB_OKCANCEL:
    case fw::MB_RETRYCANCEL:  // OK labelled "Retry"
      style = wxOK | wxCANCEL;
      break;
    case fw::MB_ABORTRETRYIGNORE:  // Yes, No and Cancel labelled "Abort", "Retry", "Ignore"
    case fw::MB_YESNOCANCEL:
      style = wxYES_NO | wxCANCEL;
      break;
    case fw::MB_YESNO:
      style = wxYES_NO;
      break;
    default:
      style = wxOK;
      break;
  }
  switch (type & kIconMask) {
    case fw::MB_ICONERROR:
      return style | wxICON_ERROR;
    case fw::MB_ICONQUESTION:
      return style | wxICON_QUESTION;
    case fw::MB_ICONEXCLAMATION:
      return style | wxICON_WARNING;
    case fw::MB_ICONINFORMATION:
      return style | wxICON_INFORMATION;
    default:
      return style | wxICON_NONE;
  }
}

int MessageBoxAnswer(unsigned type, int wxAnswer) {
  switch (type & kButtonsMask) {
    case fw::MB_ABORTRETRYIGNORE:
      return wxAnswer == wxID_YES ? fw::IDABORT : wxAnswer == wxID_NO ? fw::IDRETRY : fw::IDIGNORE;
    case fw::MB_RETRYCANCEL:
      return wxAnswer == wxID_OK ? fw::IDRETRY : fw::IDCANCEL;
    case fw::MB_YESNO:
      // Closing the box without an answer is No, as the box has no Cancel.
      return wxAnswer == wxID_YES ? fw::IDYES : fw::IDNO;
    case fw::MB_YESNOCANCEL:
      return wxAnswer == wxID_YES ? fw::IDYES : wxAnswer == wxID_NO ? fw::IDNO : fw::IDCANCEL;
    case fw::MB_OKCANCEL:
      return wxAnswer == wxID_OK ? fw::IDOK : fw::IDCANCEL;
    default:
      return fw::IDOK;
  }
}

std::vector<WxMenuEntry> ConvertMenu(const fw::Menu& menu) {
  struct Converter {
    static std::vector<WxMenuEntry> Items(const std::vector<fw::MenuItem>& items) {
      std::vector<WxMenuEntry> entries;
      for (const fw::MenuItem& item : items) {
        WxMenuEntry entry;
        entry.id = item.id;
        entry.label = item.text;
        entry.enabled = !item.IsGreyed();
        if (item.IsSeparator()) {
          entry.kind = WxMenuEntry::Kind::kSeparator;
        } else if (item.IsSubmenu()) {
          entry.kind = WxMenuEntry::Kind::kSubmenu;
          entry.children = Items(item.submenu);
        } else if (item.IsChecked()) {
          entry.kind = WxMenuEntry::Kind::kCheck;
          entry.checked = true;
        }
        entries.push_back(std::move(entry));
      }
      return entries;
    }
  };
  return Converter::Items(menu.Items());
}

std::unique_ptr<wxMenu> BuildWxMenu(const std::vector<WxMenuEntry>& entries) {
  auto menu = std::make_unique<wxMenu>();
  for (const WxMenuEntry& entry : entries) {
    wxMenuItem* item = nullptr;
    switch (entry.kind) {
      case WxMenuEntry::Kind::kSeparator:
        menu->AppendSeparator();
        break;
      case WxMenuEntry::Kind::kSubmenu:
        item = menu->AppendSubMenu(BuildWxMenu(entry.children).release(), ToWx(entry.label));
        break;
      case WxMenuEntry::Kind::kCheck:
        item = menu->AppendCheckItem(entry.id, ToWx(entry.label));
        item->Check(entry.checked);
        break;
      case WxMenuEntry::Kind::kItem:
        item = menu->Append(entry.id, ToWx(entry.label));
        break;
    }
    if (item != nullptr) item->Enable(entry.enabled);
  }
  return menu;
}

std::wstring WxWildcard(const std::wstring& filter) {
  std::wstring wildcard = filter;
  while (!wildcard.empty() && wildcard.back() == L'|') wildcard.pop_back();
  return wildcard;
}

SwatchCell SwatchCellOf(int index) {
  if (index >= 1 && index <= 9) return SwatchCell{index - 1, 0};
  if (index >= 10 && index <= 249) return SwatchCell{index / 10 - 1, 2 + index % 10};
  if (index >= 250 && index <= 255) return SwatchCell{index - 250, 13};
  return SwatchCell{-1, -1};
}

WxQuestions::WxQuestions(std::function<wxWindow*()> parent) : parent_(std::move(parent)) {}

WxQuestions::~WxQuestions() {
  while (waitDepth_ > 0) EndWaitCursor();
}

int WxQuestions::MessageBox(const std::wstring& text, const std::wstring& caption,
                            unsigned type) {
  wxMessageDialog dialog(parent_ ? parent_() : nullptr, ToWx(text, TextUse::kMultiline),
                         ToWx(caption), MessageBoxStyle(type));
  switch (type & kButtonsMask) {
    case fw::MB_ABORTRETRYIGNORE:
      dialog.SetYesNoCancelLabels("&Abort", "&Retry", "&Ignore");
      break;
    case fw::MB_RETRYCANCEL:
      dialog.SetOKCancelLabels("&Retry", wxID_CANCEL);
      break;
    default:
      break;
  }
  return MessageBoxAnswer(type, dialog.ShowModal());
}

void WxQuestions::BeginWaitCursor() {
  if (waitDepth_++ == 0) wxBeginBusyCursor();
}

void WxQuestions::EndWaitCursor() {
  if (waitDepth_ == 0) return;  // an End without its Begin changes nothing
  if (--waitDepth_ == 0) wxEndBusyCursor();
}

std::optional<int> WxQuestions::ChooseColor(int initialColor) {
  wxDialog dialog(parent_ ? parent_() : nullptr, wxID_ANY, "Select Color");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  auto* label = new wxStaticText(&dialog, wxID_ANY, "");
  auto* swatches = new SwatchPanel(&dialog, initialColor, label);
  sizer->Add(swatches, 0, wxALL, 10);
  sizer->Add(label, 0, wxLEFT | wxRIGHT, 10);
  sizer->Add(dialog.CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
  dialog.SetSizerAndFit(sizer);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  const int chosen = swatches->Chosen();
  if (chosen < 1 || chosen > 255) return std::nullopt;
  return chosen;
}

int WxQuestions::TrackPopupMenu(const fw::Menu& menu, const fw::PopupRequest& request) {
  wxWindow* window = parent_ ? parent_() : nullptr;
  if (window == nullptr) window = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
  if (window == nullptr) return 0;  // nothing to open it over
  std::unique_ptr<wxMenu> shown = BuildWxMenu(ConvertMenu(menu));
  // The menu opens with its top-left corner at the point; GTK keeps it on the screen.
  const wxPoint at = window->ScreenToClient(wxPoint(request.point.x, request.point.y));
  const int chosen = window->GetPopupMenuSelectionFromUser(*shown, at);
  return chosen == wxID_NONE ? 0 : chosen;
}

std::optional<std::wstring> WxQuestions::BrowseForFolder(const fw::FolderRequest& request) {
  wxDirDialog dialog(parent_ ? parent_() : nullptr, ToWx(request.title), PathToWx(request.startFolder),
                     wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return PathFromWx(dialog.GetPath());
}

std::optional<std::wstring> WxQuestions::ChooseFile(const fw::FileRequest& request) {
  long style = request.open ? wxFD_OPEN : wxFD_SAVE;
  if (request.open && (request.flags & fw::OFN_FILEMUSTEXIST) != 0) style |= wxFD_FILE_MUST_EXIST;
  if (!request.open && (request.flags & fw::OFN_OVERWRITEPROMPT) != 0) {
    style |= wxFD_OVERWRITE_PROMPT;
  }
  if ((request.flags & fw::OFN_NOCHANGEDIR) == 0) style |= wxFD_CHANGE_DIR;
  wxFileDialog dialog(parent_ ? parent_() : nullptr, request.open ? "Open" : "Save As",
                      PathToWx(request.initialFolder), PathToWx(request.fileName),
                      ToWx(WxWildcard(request.filter)), style);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  std::wstring path = PathFromWx(dialog.GetPath());
  // A name typed without an extension gets the default one, as the platform's dialog gives it.
  if (!request.defaultExtension.empty() && fw::CFileName(path).Extension().empty()) {
    path += L"." + request.defaultExtension;
  }
  return path;
}

std::unique_ptr<fw::PrinterDC> WxQuestions::ChoosePrinter(const fw::PrintRequest&) {
  std::optional<PrintChoice> choice = AskPrintChoice(parent_ ? parent_() : nullptr);
  if (!choice) return nullptr;
  return std::make_unique<fw::PdfPrinterDC>(choice->path, choice->setup);
}

bool WxQuestions::ShowHelp(const std::wstring& file, fw::HelpCommand command) {
  switch (command) {
    case fw::HelpCommand::kDisplayTopic:
      break;
  }
  AddZipHandlerOnce();
  if (!help_ || helpFile_ != file) {
    auto controller = std::make_unique<wxHtmlHelpController>(wxHF_DEFAULT_STYLE,
                                                             parent_ ? parent_() : nullptr);
    if (!controller->AddBook(wxFileName(PathToWx(file)), false)) return false;
    help_ = std::move(controller);
    helpFile_ = file;
  }
  return help_->DisplayContents();
}

}  // namespace gui
