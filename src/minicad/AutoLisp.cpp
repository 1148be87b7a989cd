// AutoLISP symbols and calls: copies in, copies out, so a module never shares a chain with
// the host.
#include "minicad/AutoLisp.h"

#include <cwctype>

#include "arx/acutads.h"
#include "fw/Strings.h"

namespace minicad {
namespace {

// An optional sign, then digits with at most one decimal point: what the reader takes as a
// number rather than a symbol.
bool LooksLikeNumber(std::wstring_view text) {
  std::size_t at = !text.empty() && (text[0] == L'+' || text[0] == L'-') ? 1 : 0;
  bool digit = false;
  bool point = false;
  for (; at < text.size(); ++at) {
    if (text[at] >= L'0' && text[at] <= L'9') {
      digit = true;
    } else if (text[at] == L'.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

bool EndsToken(wchar_t c) {
  return std::iswspace(static_cast<wint_t>(c)) || std::iswcntrl(static_cast<wint_t>(c)) ||
         std::wstring_view(L"()'\";").find(c) != std::wstring_view::npos;
}

}  // namespace

int AutoLisp::GetSymbol(std::wstring_view name, resbuf** value) const {
  if (value == nullptr || !IsSymbolName(name)) return RTERROR;
  auto found = symbols_.find(fw::ToUpper(name));
  ResbufChain copy =
      found == symbols_.end() ? ResbufChain(acutNewRb(RTNIL)) : CopyChain(found->second.get());
  if (copy == nullptr) return RTERROR;
  *value = copy.release();
  return RTNORM;
}

int AutoLisp::PutSymbol(std::wstring_view name, const resbuf* value) {
  if (!IsSymbolName(name) || !IsOneValue(value)) return RTERROR;
  std::wstring key = fw::ToUpper(name);
  if (IsNil(value)) {
    symbols_.erase(key);
    return RTNORM;
  }
  ResbufChain copy = CopyChain(value);
  if (copy == nullptr) return RTERROR;
  symbols_[key] = std::move(copy);
  return RTNORM;
}

resbuf* AutoLisp::CurrentArguments() const {
  return calls_.empty() ? nullptr : calls_.back().arguments.get();
}

int AutoLisp::ReturnList(const resbuf* list) {
  if (calls_.empty()) return RTERROR;
  ResbufChain copy = CopyChain(list);
  if (list != nullptr && copy == nullptr) return RTERROR;
  calls_.back().result = std::move(copy);
  return RTNORM;
}

ResbufChain AutoLisp::Call(const std::function<void()>& function, const resbuf* arguments) {
  calls_.push_back(CallFrame{CopyChain(arguments), nullptr});
  // The frame goes when the call returns, also when the function throws.
  struct FramePop {
    std::vector<CallFrame>& calls;
    ~FramePop() { calls.pop_back(); }
  } pop{calls_};
  if (function) function();
  return std::move(calls_.back().result);
}

// What the reader would take as one symbol: not empty, no character that ends a token, not a
// number and not the lone dot of a dotted pair.
bool AutoLisp::IsSymbolName(std::wstring_view name) {
  if (name.empty() || name.size() > kMaxSymbolLength || name == L".") return false;
  for (wchar_t c : name) {
    if (EndsToken(c)) return false;
  }
  return !LooksLikeNumber(name);
}

// One atom, or one list whose RTLB and RTLE balance and which ends with its last element.
bool AutoLisp::IsOneValue(const resbuf* chain) {
  if (chain == nullptr || ChainLength(chain) > kMaxChainLength) return false;
  if (chain->restype != RTLB) {
    return chain->rbnext == nullptr && chain->restype != RTLE && chain->restype != RTDOTE;
  }
  int depth = 0;
  for (const resbuf* element = chain; element != nullptr; element = element->rbnext) {
    if (element->restype == RTLB) ++depth;
    if (element->restype == RTLE && --depth < 0) return false;
    if (depth == 0 && element->rbnext != nullptr) return false;
  }
  return depth == 0;
}

bool AutoLisp::IsNil(const resbuf* chain) {
  if (chain->restype == RTNIL) return true;
  return chain->restype == RTLB && chain->rbnext != nullptr && chain->rbnext->restype == RTLE;
}

}  // namespace minicad
