// The result-buffer wrapper: the type-folding table, the chain and its index, and the host
// calls made with it.
#include "layermap/ResBuf.h"

#include <algorithm>
#include <iterator>

#include "arx/acdbads.h"
#include "arx/acedads.h"
#include "arx/acutads.h"
#include "fw/UiDriver.h"

namespace layermap {
namespace {

struct FoldRow {
  int first;
  int last;
  int folded;
};

// Type codes and the value class each is read as; the first row that covers a code wins.
constexpr FoldRow kFoldTable[] = {
    {RTPICKS, RTPICKS, RTENAME}, {RTANG, RTANG, RTREAL},
    {RTORINT, RTORINT, RTREAL},  {1, 9, RTSTR},
    {10, 17, RT3DPOINT},         {38, 59, RTREAL},
    {60, 79, RTSHORT},           {90, 99, RTLONG},
    {100, 100, RTENAME},         {102, 102, RTSTR},
    {140, 149, RTREAL},          {170, 179, RTSHORT},
    {210, 219, RT3DPOINT},       {270, 279, RTSHORT},
    {280, 289, RTSHORT},         {300, 309, RTSTR},
    {320, 329, RTSTR},           {330, 369, RTENAME},
    {1000, 1003, RTSTR},         {1005, 1005, RTSTR},
    {1010, 1013, RT3DPOINT},     {1040, 1042, RTREAL},
    {1070, 1070, RTSHORT},       {1071, 1071, RTLONG},
    {-1, -1, RTENAME},           {-4, -3, RTSTR},
};

struct CodeRange {
  int first;
  int last;
};

// The codes whose value the host keeps as a string it owns, and those whose value is a block of
// bytes it owns, by the drawing exchange format's groups; acutRelRb frees exactly these.
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

}  // namespace

int ResBuf::FoldType(int typeCode) {
  for (const FoldRow& row : kFoldTable) {
    if (typeCode >= row.first && typeCode <= row.last) return row.folded;
  }
  return typeCode;
}

ResBuf::ValueStorage ResBuf::StorageOf(int typeCode) {
  if (InRanges(kStringCodes, typeCode)) return ValueStorage::kString;
  if (InRanges(kBinaryCodes, typeCode)) return ValueStorage::kBinary;
  return ValueStorage::kPlain;
}

ResBuf::ResBuf(const ResBuf& other) {
  for (int i = 0; i < other.count_; ++i) AppendCopyOf(*other.index_[i]);
}

ResBuf& ResBuf::operator=(const ResBuf& other) {
  if (this == &other) return *this;
  Clear();
  for (int i = 0; i < other.count_; ++i) AppendCopyOf(*other.index_[i]);
  return *this;
}

ResBuf::~ResBuf() {
  // A fill never finished still leaves a chain behind that is the wrapper's.
  filling_ = false;
  Clear();
}

void ResBuf::Clear() {
  if (filling_) return;
  if (owned_ && head_ != nullptr) acutRelRb(head_);
  head_ = nullptr;
  count_ = 0;
  owned_ = true;
  index_.clear();
}

// --- Host calls ------------------------------------------------------------------------------

bool ResBuf::GetVar(const wchar_t* name) {
  resbuf* value = BeginFillInPlace();
  if (value == nullptr) return false;
  int result = acedGetVar(name, value);
  Reindex();
  if (result == RTNORM) return true;
  Clear();
  return false;
}

bool ResBuf::SetVar(const wchar_t* name) const {
  return !filling_ && acedSetVar(name, head_) == RTNORM;
}

bool ResBuf::GetSym(const wchar_t* name) {
  if (filling_) return false;
  resbuf* value = nullptr;
  if (acedGetSym(name, &value) != RTNORM) return false;
  Clear();
  head_ = value;
  Reindex();
  return true;
}

bool ResBuf::PutSym(const wchar_t* name) {
  if (filling_) return false;
  bool stored = acedPutSym(name, head_) == RTNORM;
  Clear();
  return stored;
}

bool ResBuf::GetArgs() {
  if (filling_) return false;
  resbuf* arguments = acedGetArgs();
  if (arguments == nullptr) return false;
  Clear();
  head_ = arguments;
  owned_ = false;
  Reindex();
  return true;
}

int ResBuf::RetList() const { return filling_ ? RTERROR : acedRetList(head_); }

// --- Filling ---------------------------------------------------------------------------------

resbuf* ResBuf::BeginFillInPlace() {
  if (filling_) return nullptr;
  Clear();
  head_ = acutNewRb(RTNONE);
  if (head_ == nullptr) return nullptr;
  filling_ = true;
  return head_;
}

resbuf** ResBuf::BeginFillByHost() {
  if (filling_) return nullptr;
  Clear();
  filling_ = true;
  return &head_;
}

void ResBuf::Reindex() {
  filling_ = false;
  index_.clear();
  for (resbuf* element = head_; element != nullptr; element = element->rbnext) {
    index_.push_back(element);
  }
  count_ = static_cast<int>(index_.size());
}

resbuf* ResBuf::Detach() {
  if (filling_ || !owned_) return nullptr;
  resbuf* chain = head_;
  head_ = nullptr;
  Clear();
  return chain;
}

// --- Appending -------------------------------------------------------------------------------

resbuf* ResBuf::AppendBuffer(int typeCode) {
  if (filling_ || !owned_) return nullptr;
  resbuf* element = acutNewRb(typeCode);
  if (element == nullptr) return nullptr;
  if (head_ == nullptr) {
    head_ = element;
  } else {
    index_.back()->rbnext = element;
  }
  index_.push_back(element);
  ++count_;
  return element;
}

bool ResBuf::AppendCode(int typeCode) { return AppendBuffer(typeCode) != nullptr; }

resbuf* ResBuf::AppendPlainBuffer(int typeCode) {
  return StorageOf(typeCode) == ValueStorage::kPlain ? AppendBuffer(typeCode) : nullptr;
}

bool ResBuf::AppendShort(short value, int typeCode) {
  resbuf* element = AppendPlainBuffer(typeCode);
  if (element != nullptr) element->resval.rint = value;
  return element != nullptr;
}

bool ResBuf::AppendLong(std::int32_t value, int typeCode) {
  resbuf* element = AppendPlainBuffer(typeCode);
  if (element != nullptr) element->resval.rlong = value;
  return element != nullptr;
}

bool ResBuf::AppendReal(double value, int typeCode) {
  resbuf* element = AppendPlainBuffer(typeCode);
  if (element != nullptr) element->resval.rreal = value;
  return element != nullptr;
}

bool ResBuf::AppendString(const wchar_t* value, int typeCode) {
  if (value == nullptr || filling_ || !owned_ || StorageOf(typeCode) != ValueStorage::kString) {
    return false;
  }
  ACHAR* copy = nullptr;
  if (acutNewString(value, copy) != Acad::eOk) return false;
  resbuf* element = AppendBuffer(typeCode);
  if (element == nullptr) {
    acutDelString(copy);
    return false;
  }
  element->resval.rstring = copy;
  return true;
}

bool ResBuf::AppendPoint(const ads_point value, int typeCode) {
  resbuf* element = AppendPlainBuffer(typeCode);
  if (element == nullptr) return false;
  element->resval.rpoint[X] = value[X];
  element->resval.rpoint[Y] = value[Y];
  element->resval.rpoint[Z] = typeCode == RTPOINT ? 0.0 : value[Z];
  return true;
}

bool ResBuf::AppendName(const ads_name value, int typeCode) {
  resbuf* element = AppendPlainBuffer(typeCode);
  if (element == nullptr) return false;
  element->resval.rlname[0] = value[0];
  element->resval.rlname[1] = value[1];
  return true;
}

bool ResBuf::AppendObjectId(AcDbObjectId id, int typeCode) {
  ads_name name = {0, 0};
  if (filling_ || acdbGetAdsName(name, id) != Acad::eOk) return false;
  return AppendName(name, typeCode);
}

bool ResBuf::AppendChain(resbuf* chain) {
  if (filling_ || !owned_) return false;
  if (chain == nullptr) return true;
  if (head_ == nullptr) {
    head_ = chain;
  } else {
    index_.back()->rbnext = chain;
  }
  for (resbuf* element = chain; element != nullptr; element = element->rbnext) {
    index_.push_back(element);
  }
  count_ = static_cast<int>(index_.size());
  return true;
}

// Re-appends one element of another chain under its own type code, by how the host keeps its
// value: a string is copied (a null one stays null), a plain value is taken whole, and a block
// of bytes is left out.
void ResBuf::AppendCopyOf(const resbuf& element) {
  const int typeCode = element.restype;
  switch (StorageOf(typeCode)) {
    case ValueStorage::kString:
      if (element.resval.rstring == nullptr || !AppendString(element.resval.rstring, typeCode)) {
        AppendCode(typeCode);
      }
      return;
    case ValueStorage::kBinary:
      AppendCode(typeCode);
      return;
    case ValueStorage::kPlain:
      if (resbuf* copy = AppendBuffer(typeCode)) copy->resval = element.resval;
      return;
  }
}

// --- Reading ---------------------------------------------------------------------------------

const resbuf* ResBuf::At(int i) const {
  if (filling_ || i < 0 || i >= count_) return nullptr;
  return index_[static_cast<std::size_t>(i)];
}

const resbuf* ResBuf::ElementOfClass(int i, int folded) const {
  const resbuf* element = At(i);
  return element != nullptr && FoldType(element->restype) == folded ? element : nullptr;
}

int ResBuf::TypeAt(int i) const {
  const resbuf* element = At(i);
  return element == nullptr ? RTNONE : element->restype;
}

bool ResBuf::IsString(int i) const { return ElementOfClass(i, RTSTR) != nullptr; }

bool ResBuf::IsReal(int i) const { return ElementOfClass(i, RTREAL) != nullptr; }

bool ResBuf::IsInteger(int i) const {
  return ElementOfClass(i, RTSHORT) != nullptr || ElementOfClass(i, RTLONG) != nullptr;
}

bool ResBuf::IsPoint(int i) const {
  return ElementOfClass(i, RTPOINT) != nullptr || ElementOfClass(i, RT3DPOINT) != nullptr;
}

bool ResBuf::GetString(int i, std::wstring& value) const {
  const resbuf* element = ElementOfClass(i, RTSTR);
  if (element == nullptr) return false;
  value = element->resval.rstring == nullptr ? std::wstring() : element->resval.rstring;
  return true;
}

bool ResBuf::GetReal(int i, double& value) const {
  const resbuf* element = ElementOfClass(i, RTREAL);
  if (element == nullptr) return false;
  value = element->resval.rreal;
  return true;
}

bool ResBuf::GetInteger(int i, int& value) const {
  if (const resbuf* element = ElementOfClass(i, RTSHORT)) {
    value = element->resval.rint;
    return true;
  }
  if (const resbuf* element = ElementOfClass(i, RTLONG)) {
    value = element->resval.rlong;
    return true;
  }
  return false;
}

bool ResBuf::GetPoint(int i, ads_point value) const {
  const resbuf* element = ElementOfClass(i, RT3DPOINT);
  if (element == nullptr) element = ElementOfClass(i, RTPOINT);
  if (element == nullptr) return false;
  value[X] = element->resval.rpoint[X];
  value[Y] = element->resval.rpoint[Y];
  value[Z] = element->restype == RTPOINT ? 0.0 : element->resval.rpoint[Z];
  return true;
}

bool ResBuf::GetName(int i, ads_name value) const {
  const resbuf* element = ElementOfClass(i, RTENAME);
  if (element == nullptr) return false;
  value[0] = element->resval.rlname[0];
  value[1] = element->resval.rlname[1];
  return true;
}

bool ResBuf::GetBool(int i, bool& value) const {
  const resbuf* element = At(i);
  if (element == nullptr || (element->restype != RTT && element->restype != RTNIL)) return false;
  value = element->restype == RTT;
  return true;
}

double ResBuf::RealAt(int i) const {
  double value = kMissingReal;
  return GetReal(i, value) ? value : kMissingReal;
}

int ResBuf::IntegerAt(int i) const {
  int value = kMissingInteger;
  return GetInteger(i, value) ? value : kMissingInteger;
}

const resbuf* ResBuf::Element(int i) const {
  if (filling_) return nullptr;
  if (i < 0 || i >= count_) {
    fw::AfxMessageBox(kIndexOutOfRangeMessage);
    return nullptr;
  }
  return index_[static_cast<std::size_t>(i)];
}

resbuf* ResBuf::Element(int i) {
  return const_cast<resbuf*>(static_cast<const ResBuf&>(*this).Element(i));
}

// --- Removing and sublists -------------------------------------------------------------------

bool ResBuf::Remove(int i) {
  if (!owned_ || At(i) == nullptr) return false;
  if (count_ == 1) {
    Clear();
    return true;
  }
  auto position = index_.begin() + i;
  resbuf* element = *position;
  if (i == 0) {
    head_ = element->rbnext;
  } else {
    (*std::prev(position))->rbnext = element->rbnext;
  }
  element->rbnext = nullptr;
  acutRelRb(element);
  index_.erase(position);
  --count_;
  return true;
}

bool ResBuf::ExtractSublist(int i, ResBuf& sublist) const {
  if (sublist.filling_ || TypeAt(i) != RTLB || At(i) == nullptr) return false;
  int depth = 0;
  int end = i;
  for (; end < count_; ++end) {
    int typeCode = index_[static_cast<std::size_t>(end)]->restype;
    if (typeCode == RTLB) ++depth;
    if (typeCode == RTLE && --depth == 0) break;
  }
  if (end == count_) return false;
  ResBuf copy;
  for (int element = i; element <= end; ++element) {
    copy.AppendCopyOf(*index_[static_cast<std::size_t>(element)]);
  }
  sublist = copy;
  return true;
}

}  // namespace layermap
