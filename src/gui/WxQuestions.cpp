// LOCAL COMPILE SHIM, never committed.
#include "gui/WxQuestions.h"
#include <wx/html/helpctrl.h>
#include <wx/msgdlg.h>
namespace gui {
WxQuestions::WxQuestions(std::function<wxWindow*()> parent) : parent_(std::move(parent)) {}
WxQuestions::~WxQuestions() = default;
int WxQuestions::MessageBox(const std::wstring&, const std::wstring&, unsigned) { return 1; }
void WxQuestions::BeginWaitCursor() {}
void WxQuestions::EndWaitCursor() {}
std::optional<int> WxQuestions::ChooseColor(int) { return std::nullopt; }
int WxQuestions::TrackPopupMenu(const fw::Menu&, const fw::PopupRequest&) { return 0; }
std::optional<std::wstring> WxQuestions::BrowseForFolder(const fw::FolderRequest&) { return std::nullopt; }
std::optional<std::wstring> WxQuestions::ChooseFile(const fw::FileRequest&) { return std::nullopt; }
std::unique_ptr<fw::PrinterDC> WxQuestions::ChoosePrinter(const fw::PrintRequest&) { return nullptr; }
bool WxQuestions::ShowHelp(const std::wstring&, fw::HelpCommand) { return false; }
}
