// The Scheme Type dialog: its padded caption and the checks of the name and kind on OK.
#include "layermap/SchemeType.h"

#include "fw/DataExchange.h"
#include "fw/Strings.h"
#include "layermap/SchemeDlgIds.h"
#include "layermap/SchemeDlgRules.h"

namespace layermap {
namespace {

constexpr const wchar_t* kTitle = L"Quorvane - Scheme Type";
constexpr const wchar_t* kMaker = L"Tarvesh, Inc.";
constexpr const wchar_t* kValidationCaption = L"New Scheme";

constexpr int kKindButtons[] = {kIdLayerKind, kIdLinetypeKind, kIdColorKind, kIdBlockKind};

}  // namespace

SchemeType::SchemeType() : Dialog(kSchemeTypeTemplateId) {}

std::wstring SchemeType::PaddedCaption(int windowWidth) {
  CaptionMeasures measures;
  measures.windowWidth = windowWidth;
  measures.titleWidth = fw::GetCaptionTextWidth(kTitle);
  measures.makerWidth = fw::GetCaptionTextWidth(kMaker);
  measures.blankWidth = fw::GetCaptionTextWidth(L" ");
  measures.frameWidth = fw::GetSystemMetrics(fw::SM_CXDLGFRAME);
  measures.buttonWidth = fw::GetSystemMetrics(fw::SM_CXSIZE);
  return kTitle + std::wstring(static_cast<std::size_t>(CaptionBlankCount(measures)), L' ') +
         kMaker;
}

void SchemeType::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Radio(kIdLayerKind, kind);
  exchange.Text(kIdSchemeName, name);
}

bool SchemeType::OnInitDialog() {
  Dialog::OnInitDialog();
  int windowWidth = GetClientRect().Width() + 2 * fw::GetSystemMetrics(fw::SM_CXDLGFRAME);
  SetWindowText(PaddedCaption(windowWidth));
  if (copy) {
    for (int id : kKindButtons) GetDlgItem(id)->EnableWindow(false);
  }
  return true;
}

void SchemeType::OnOK() {
  if (!UpdateData(true)) return;
  name = fw::Trim(name);
  if (std::optional<std::wstring> error = SchemeTypeError(name, kind, existingNames)) {
    MessageBox(*error, kValidationCaption);
    return;
  }
  EndDialog(fw::IDOK);
}

}  // namespace layermap
