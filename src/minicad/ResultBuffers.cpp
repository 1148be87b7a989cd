// Result-buffer chains as the host sees them: value classes, copies and release.
#include "minicad/ResultBuffers.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "arx/acutads.h"

namespace minicad {
namespace {

struct CodeRange {
  int first;
  int last;
};

// DXF groups whose value is text, plus the two AutoLISP codes that carry text.
constexpr CodeRange kStringCodes[] = {
    {RTSTR, RTSTR}, {RTDXF0, RTDXF0}, {-4, -4},   {0, 9},     {100, 102}, {105, 105},  {300, 309},
    {320, 329},     {390, 399},       {410, 419}, {430, 439}, {470, 479}, {999, 1003}, {1005, 1005},
};
constexpr CodeRange kBinaryCodes[] = {{310, 319}, {1004, 1004}};

template <std::size_t N>
bool InRanges(const CodeRange (&ranges)[N], int code) {
  return std::any_of(std::begin(ranges), std::end(ranges), [code](const CodeRange& range) {
    return code >= range.first && code <= range.last;
  });
}

// Copies the value of `from` into `to`, whose value is still zeroed. False when memory runs
// out; `to` then holds no allocated value.
bool CopyValue(const resbuf& from, resbuf& to) {
  if (HoldsString(from.restype)) {
    return acutNewString(from.resval.rstring, to.resval.rstring) == Acad::eOk;
  }
  if (HoldsBinary(from.restype)) {
    const ads_binary& source = from.resval.rbinary;
    if (source.buf == nullptr || source.clen <= 0) return true;
    char* bytes = new (std::nothrow) char[static_cast<std::size_t>(source.clen)];
    if (bytes == nullptr) return false;
    std::memcpy(bytes, source.buf, static_cast<std::size_t>(source.clen));
    to.resval.rbinary = ads_binary{source.clen, bytes};
    return true;
  }
  to.resval = from.resval;
  return true;
}

}  // namespace

bool HoldsString(int restype) { return InRanges(kStringCodes, restype); }

bool HoldsBinary(int restype) { return InRanges(kBinaryCodes, restype); }

void ChainRelease::operator()(resbuf* chain) const { acutRelRb(chain); }

std::size_t ChainLength(const resbuf* chain) {
  std::size_t length = 0;
  for (; chain != nullptr && length <= kMaxChainLength; chain = chain->rbnext) ++length;
  return length;
}

ResbufChain CopyChain(const resbuf* chain) {
  if (ChainLength(chain) > kMaxChainLength) return nullptr;
  ResbufChain copy;
  resbuf* last = nullptr;
  for (; chain != nullptr; chain = chain->rbnext) {
    resbuf* element = acutNewRb(chain->restype);
    if (element == nullptr) return nullptr;
    if (last == nullptr) {
      copy.reset(element);
    } else {
      last->rbnext = element;
    }
    last = element;
    if (!CopyValue(*chain, *element)) return nullptr;
  }
  return copy;
}

}  // namespace minicad
