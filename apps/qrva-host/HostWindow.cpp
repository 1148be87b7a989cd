// The host window: ribbon strip, toolbar and command line.
#include "HostWindow.h"

#include <utility>

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/thread.h>

#include "gui/WxText.h"

namespace host {

namespace {

constexpr int kRibbonImageSize = 32;
constexpr int kToolImageSize = 24;
constexpr int kFirstToolId = wxID_HIGHEST + 1;

// The button's picture, or an empty bitmap when its bytes are not a picture wx can read.
wxBitmap ButtonBitmap(const std::vector<std::uint8_t>& png, int size) {
  if (png.empty()) return {};
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxMemoryInputStream stream(png.data(), png.size());
  wxImage image;
  {
    wxLogNull quiet;  // a damaged picture only loses the picture
    if (!image.LoadFile(stream, wxBITMAP_TYPE_PNG)) return {};
  }
  if (image.GetWidth() != size || image.GetHeight() != size) {
    image.Rescale(size, size, wxIMAGE_QUALITY_HIGH);
  }
  return wxBitmap(image);
}

}  // namespace

HostWindow::HostWindow() : wxFrame(nullptr, wxID_ANY, "qrva-host", wxDefaultPosition,
                                   wxSize(960, 640)) {
  toolbar_ = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT);
  toolbar_->SetToolBitmapSize(wxSize(kToolImageSize, kToolImageSize));
  toolbar_->Realize();
  toolbar_->Hide();
  toolbar_->Bind(wxEVT_TOOL, [this](wxCommandEvent& event) {
    const std::size_t place = static_cast<std::size_t>(event.GetId() - kFirstToolId);
    if (place < toolCommands_.size()) Send(toolCommands_[place]);
  });

  auto* column = new wxBoxSizer(wxVERTICAL);
  ribbon_ = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                        kRibbonName);
  ribbon_->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  ribbon_->SetSizer(new wxBoxSizer(wxHORIZONTAL));
  ribbon_->SetMinSize(wxSize(-1, kRibbonImageSize + 40));
  column->Add(ribbon_, 0, wxEXPAND);
  SetSizer(column);
  BuildCommandLine();
  Bind(wxEVT_CLOSE_WINDOW, &HostWindow::OnClose, this);
}

void HostWindow::BuildCommandLine() {
  const wxFont fixed(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
  history_ = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                            wxTE_MULTILINE | wxTE_READONLY | wxTE_RICH2 | wxHSCROLL,
                            wxDefaultValidator, kHistoryName);
  history_->SetFont(fixed);
  input_ = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                          wxTE_PROCESS_ENTER, wxDefaultValidator, kInputName);
  input_->SetFont(fixed);
  input_->Bind(wxEVT_TEXT_ENTER, &HostWindow::OnEnter, this);
  input_->Bind(wxEVT_KEY_DOWN, &HostWindow::OnInputKey, this);
  GetSizer()->Add(history_, 1, wxEXPAND);
  GetSizer()->Add(input_, 0, wxEXPAND);
  input_->SetFocus();
}

void HostWindow::ShowText(std::wstring_view text) {
  {
    std::lock_guard<std::mutex> lock(textLock_);
    pendingText_.append(text);
    if (textPosted_) return;
    textPosted_ = true;
  }
  if (wxThread::IsMain()) {
    ShowPendingText();
  } else {
    CallAfter(&HostWindow::ShowPendingText);
  }
}

void HostWindow::ShowPendingText() {
  std::wstring text;
  {
    std::lock_guard<std::mutex> lock(textLock_);
    text.swap(pendingText_);
    textPosted_ = false;
  }
  if (!text.empty()) history_->AppendText(gui::ToWx(text, gui::TextUse::kMultiline));
}

void HostWindow::WatchButtons(minicad::CommandButtons& buttons) {
  // The listener runs on whichever thread changed the list; the window takes a copy of the
  // list with it, so the host may be gone by the time the window shows it.
  buttons.SetChangeListener([this, &buttons] {
    CallAfter([this, list = buttons.List()] { ShowButtons(list); });
  });
  ShowButtons(buttons.List());
}

void HostWindow::StopWatching(minicad::CommandButtons& buttons) {
  buttons.SetChangeListener(nullptr);
}

void HostWindow::ShowButtons(const std::vector<minicad::CommandButton>& buttons) {
  ribbon_->DestroyChildren();
  toolbar_->ClearTools();
  toolCommands_.clear();
  for (const minicad::CommandButton& button : buttons) {
    switch (button.bar) {
      case minicad::ButtonBar::kRibbon:
        ShowRibbonButton(button);
        break;
      case minicad::ButtonBar::kToolbar:
        ShowToolbarButton(button);
        break;
    }
  }
  toolbar_->Realize();
  // An empty toolbar would only be a blank band above the ribbon.
  toolbar_->Show(!toolCommands_.empty());
  ribbon_->Layout();
  SendSizeEvent();  // the frame places its toolbar and the rest anew
}

void HostWindow::ShowRibbonButton(const minicad::CommandButton& button) {
  auto* item = new wxButton(ribbon_, wxID_ANY, gui::ToWx(button.title), wxDefaultPosition,
                            wxDefaultSize, wxBU_EXACTFIT);
  if (wxBitmap picture = ButtonBitmap(button.png, kRibbonImageSize); picture.IsOk()) {
    item->SetBitmap(picture);
    item->SetBitmapPosition(wxTOP);
  }
  item->SetToolTip(gui::ToWx(button.title));
  item->Bind(wxEVT_BUTTON, [this, command = button.commandText](wxCommandEvent&) { Send(command); });
  ribbon_->GetSizer()->Add(item, 0, wxALL, 4);
}

void HostWindow::ShowToolbarButton(const minicad::CommandButton& button) {
  wxBitmap picture = ButtonBitmap(button.png, kToolImageSize);
  if (!picture.IsOk()) {
    picture = wxArtProvider::GetBitmap(wxART_EXECUTABLE_FILE, wxART_TOOLBAR,
                                       wxSize(kToolImageSize, kToolImageSize));
  }
  const int id = kFirstToolId + static_cast<int>(toolCommands_.size());
  toolbar_->AddTool(id, gui::ToWx(button.title), picture, gui::ToWx(button.title));
  toolCommands_.push_back(button.commandText);
}

void HostWindow::Send(std::wstring_view text) {
  // A button's command text ends in a line end, as if Enter were pressed after it; text
  // without one still counts as a line.
  while (!text.empty()) {
    const std::size_t end = text.find(L'\n');
    std::wstring line(text.substr(0, end));
    text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);
    ShowText(line + L"\n");
    lines_.push_back(std::move(line));
  }
  StopWaiting();
}

void HostWindow::OnEnter(wxCommandEvent&) {
  std::wstring line = gui::FromWx(input_->GetValue());
  input_->Clear();
  if (!line.empty() && (typed_.empty() || typed_.back() != line)) typed_.push_back(line);
  historyPlace_ = typed_.size();
  ShowText(line + L"\n");
  lines_.push_back(std::move(line));
  StopWaiting();
}

void HostWindow::OnInputKey(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_ESCAPE) {
    input_->Clear();
    return;
  }
  if (key != WXK_UP && key != WXK_DOWN) {
    event.Skip();
    return;
  }
  if (typed_.empty()) return;
  if (key == WXK_UP && historyPlace_ > 0) --historyPlace_;
  if (key == WXK_DOWN && historyPlace_ < typed_.size()) ++historyPlace_;
  input_->ChangeValue(historyPlace_ < typed_.size() ? gui::ToWx(typed_[historyPlace_])
                                                    : wxString());
  input_->SetInsertionPointEnd();
}

std::optional<std::wstring> HostWindow::WaitForLine() {
  while (lines_.empty() && !closed_) {
    wxGUIEventLoop loop;
    waiting_ = &loop;
    loop.Run();
    waiting_ = nullptr;
  }
  if (lines_.empty()) return std::nullopt;
  std::wstring line = std::move(lines_.front());
  lines_.pop_front();
  return line;
}

void HostWindow::OnClose(wxCloseEvent& event) {
  // The session ends when the command line stops reading; the window goes after the quit
  // sequence, which may still show messages.
  if (event.CanVeto()) event.Veto();
  closed_ = true;
  StopWaiting();
}

void HostWindow::StopWaiting() {
  if (waiting_ != nullptr) waiting_->ScheduleExit();
}

}  // namespace host
