// The editor's calls that run commands and dialogs for a module (acedCmdS, acedInvoke), the
// host's window colours, and the writing of distances (acdbRToS).
#include <cwchar>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "arx/acdbads.h"
#include "arx/aced.h"
#include "arx/acedCmdNF.h"
#include "arx/acedads.h"
#include "arx/acutads.h"
#include "fw/Bitmap.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"
#include "minicad/CommandProcessor.h"
#include "minicad/Host.h"
#include "minicad/RealToString.h"
#include "minicad/ResultBuffers.h"
#include "minicad/SystemVariables.h"

namespace {

// The token a value of a command's token list stands for; nothing for a type no prompt takes.
std::optional<minicad::ScriptedToken> TokenOf(const resbuf& item) {
  switch (item.restype) {
    case RTSTR: {
      std::wstring text = item.resval.rstring == nullptr ? L"" : item.resval.rstring;
      if (text == L"\\") return minicad::ScriptedToken{{}, true};
      return minicad::ScriptedToken{std::move(text), false};
    }
    case RTREAL:
    case RTANG:
    case RTORINT:
      return minicad::ScriptedToken{fw::Format(L"%.17g", item.resval.rreal), false};
    case RTSHORT:
      return minicad::ScriptedToken{std::to_wstring(item.resval.rint), false};
    case RTLONG:
      return minicad::ScriptedToken{std::to_wstring(item.resval.rlong), false};
    case RTPOINT:
      return minicad::ScriptedToken{
          fw::Format(L"%.17g,%.17g", item.resval.rpoint[0], item.resval.rpoint[1]), false};
    case RT3DPOINT:
      return minicad::ScriptedToken{fw::Format(L"%.17g,%.17g,%.17g", item.resval.rpoint[0],
                                               item.resval.rpoint[1], item.resval.rpoint[2]),
                                    false};
    case RTNONE:
      return minicad::ScriptedToken{};
    default:
      return std::nullopt;
  }
}

template <class T>
T VariableOr(minicad::Host* host, const wchar_t* name, T fallback) {
  if (host == nullptr) return fallback;
  std::optional<minicad::VariableValue> value = host->Variables().Value(name);
  const T* held = value ? std::get_if<T>(&*value) : nullptr;
  return held == nullptr ? fallback : *held;
}

}  // namespace

int acedCmdS(const resbuf* rb, bool, AcApDocument*) {
  minicad::Host* host = minicad::Host::Current();
  if (host == nullptr || rb == nullptr || minicad::ChainLength(rb) > minicad::kMaxChainLength) {
    return RTERROR;
  }
  std::vector<minicad::ScriptedToken> tokens;
  for (const resbuf* item = rb; item != nullptr; item = item->rbnext) {
    std::optional<minicad::ScriptedToken> token = TokenOf(*item);
    if (!token) return RTERROR;
    tokens.push_back(std::move(*token));
  }
  return host->Processor().RunCommandTokens(std::move(tokens));
}

int acedInvoke(const resbuf* args, resbuf** result) {
  if (result != nullptr) *result = nullptr;
  if (args == nullptr || result == nullptr || args->restype != RTSTR ||
      args->resval.rstring == nullptr ||
      !fw::EqualsNoCase(args->resval.rstring, L"acad_colordlg")) {
    return RTERROR;
  }
  const resbuf* colour = args->rbnext;
  int initial = 7;
  if (colour != nullptr && colour->restype == RTSHORT) initial = colour->resval.rint;
  if (colour != nullptr && colour->restype == RTLONG) initial = colour->resval.rlong;
  if (initial < 1 || initial > 255) initial = 7;
  const std::optional<int> chosen = fw::GetUiDriver().ChooseColor(initial);
  resbuf* answer = acutNewRb(chosen ? RTSHORT : RTNIL);
  if (answer == nullptr) return RTERROR;
  if (chosen) answer->resval.rint = static_cast<short>(*chosen);
  *result = answer;
  return RTNORM;
}

bool acedGetCurrentColors(AcColorSettings* pColorSettings) {
  if (pColorSettings == nullptr) return false;
  const minicad::Host* host = minicad::Host::Current();
  const fw::COLORREF model = host == nullptr ? fw::RGB(0, 0, 0) : host->ModelBackground();
  *pColorSettings = AcColorSettings{};
  pColorSettings->dwGfxModelBkColor = model;
  pColorSettings->dwGfxLayoutBkColor = fw::RGB(255, 255, 255);
  pColorSettings->dwBEditBkColor = model;
  pColorSettings->dwCmdLineBkColor = fw::RGB(255, 255, 255);
  pColorSettings->dwCmdLineForeColor = fw::RGB(0, 0, 0);
  pColorSettings->dwModelCrossHairColor = fw::RGB(255, 255, 255);
  pColorSettings->dwLayoutCrossHairColor = fw::RGB(0, 0, 0);
  return true;
}

int acdbRToS(ads_real val, int unit, int prec, ACHAR* str, std::size_t nBufLen) {
  if (str == nullptr || nBufLen == 0) return RTERROR;
  str[0] = L'\0';
  minicad::Host* host = minicad::Host::Current();
  if (unit == -1) unit = VariableOr<std::int16_t>(host, L"LUNITS", 2);
  if (prec == -1) prec = VariableOr<std::int16_t>(host, L"LUPREC", 4);
  std::optional<std::wstring> text = minicad::RealToString(val, unit, prec);
  if (!text || text->size() >= nBufLen) return RTERROR;
  std::wmemcpy(str, text->c_str(), text->size() + 1);
  return RTNORM;
}
