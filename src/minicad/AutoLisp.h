// The host's AutoLISP side as modules reach it: global symbols and their values, and the calls
// in progress with their arguments and results. Behind acedGetSym, acedPutSym, acedGetArgs and
// acedRetList. Host main thread.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "arx/adsdef.h"
#include "minicad/ResultBuffers.h"

namespace minicad {

class AutoLisp {
 public:
  // Longest symbol name taken; a bound on input, far past any name a person types.
  static constexpr std::size_t kMaxSymbolLength = 1024;

  // Symbols are named without regard to case. Values are kept as chains the host owns; a value
  // is one element (an atom) or a list RTLB ... RTLE.

  // acedGetSym: on RTNORM *value is a new chain the caller owns (one RTNIL for a symbol
  // without a value). RTERROR for a name that cannot be a symbol, and when memory runs out.
  int GetSymbol(std::wstring_view name, resbuf** value) const;
  // acedPutSym: keeps a copy; `value` stays the caller's. nil (RTNIL, or an empty list)
  // removes the value. RTERROR, changing nothing, for a bad name or a chain that is neither
  // one atom nor one balanced list.
  int PutSymbol(std::wstring_view name, const resbuf* value);

  // acedGetArgs: the arguments of the innermost call in progress, owned by the host until that
  // call returns; nullptr outside calls.
  resbuf* CurrentArguments() const;
  // acedRetList: makes a copy of `list` the innermost call's result (null: nil). RTERROR
  // outside calls.
  int ReturnList(const resbuf* list);

  // Runs `function` as an AutoLISP call with a copy of `arguments` (which stay the caller's)
  // and returns its result, owned by the caller: what it last gave acedRetList, null for nil.
  // Calls nest.
  ResbufChain Call(const std::function<void()>& function, const resbuf* arguments);

 private:
  struct CallFrame {
    ResbufChain arguments;
    ResbufChain result;
  };

  static bool IsSymbolName(std::wstring_view name);
  static bool IsOneValue(const resbuf* chain);
  static bool IsNil(const resbuf* chain);

  std::map<std::wstring, ResbufChain> symbols_;
  std::vector<CallFrame> calls_;
};

}  // namespace minicad
