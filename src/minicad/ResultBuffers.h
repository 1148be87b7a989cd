// The host's own view of result-buffer chains: which type codes hold a string or a block of
// bytes, deep copies, and an owner that releases a chain with acutRelRb.
#pragma once

#include <cstddef>
#include <memory>

#include "arx/adsdef.h"

namespace minicad {

// Chains the host walks are taken to be cyclic (a caller's bug) beyond this many elements;
// far more than any value a variable, a symbol or an object description holds.
inline constexpr std::size_t kMaxChainLength = 1 << 20;

// The type codes whose value is `resval.rstring`, and those whose value is `resval.rbinary`.
// acutRelRb releases exactly these.
bool HoldsString(int restype);
bool HoldsBinary(int restype);

// Releases a chain with acutRelRb.
struct ChainRelease {
  void operator()(resbuf* chain) const;
};
using ResbufChain = std::unique_ptr<resbuf, ChainRelease>;

// The number of elements of a chain, or kMaxChainLength + 1 for a longer (or cyclic) one.
std::size_t ChainLength(const resbuf* chain);

// A deep copy of a chain (strings and binary blocks copied), owned by the caller. Null for a
// null chain, and when memory runs out or the chain is longer than kMaxChainLength.
ResbufChain CopyChain(const resbuf* chain);

}  // namespace minicad
