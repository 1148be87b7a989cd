// The module's wrapper around one of the host's result-buffer chains: it owns the chain,
// reaches its elements by position, appends typed elements, reads typed values, and makes the
// host calls that read or write a chain (system variables, AutoLISP variables, the arguments
// and result of an AutoLISP call, the argument chain of a command).
//
// Host main thread only: the host's result-buffer calls are not thread-safe.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "arx/adscodes.h"
#include "arx/adsdef.h"
#include "arx/dbid.h"

namespace layermap {

class ResBuf {
 public:
  // Reads of a value that is not there: +infinity and 0x7FFFFFFF.
  static constexpr double kMissingReal = std::numeric_limits<double>::infinity();
  static constexpr int kMissingInteger = 0x7FFFFFFF;
  static constexpr const wchar_t* kIndexOutOfRangeMessage = L"ResBuf: Index out of range.";

  // The value class a type code is read as: 5007 as an entity name, angles and orientations as
  // reals, DXF group codes as the class of their value; codes of no class keep their value.
  static int FoldType(int typeCode);

  // How the host keeps an element's value, which decides what releasing it frees and so how a
  // copy must be made: a string the element owns (`resval.rstring`), a block of bytes it owns
  // (`resval.rbinary`), or a plain value. This is not the read class of FoldType: group 100 is
  // read as an entity name but kept as a string, and -3 is read as a string but holds none.
  enum class ValueStorage { kString, kBinary, kPlain };
  static ValueStorage StorageOf(int typeCode);

  // No chain, owned.
  ResBuf() = default;
  // Copies the other chain element by element, each under its own type code and by how the host
  // keeps its value (StorageOf): a string is copied, a plain value taken as it is, and a block
  // of bytes is left out (the element is copied without it), since only the host knows how to
  // allocate one.
  ResBuf(const ResBuf& other);
  // Clears, then copies.
  ResBuf& operator=(const ResBuf& other);
  ~ResBuf();

  // Releases the chain when the wrapper owns it and forgets it; the wrapper then owns the
  // (empty) chain again. Does nothing while filling.
  void Clear();

  int Count() const { return count_; }
  bool IsEmpty() const { return count_ == 0; }
  bool IsFilling() const { return filling_; }
  bool IsOwned() const { return owned_; }
  const resbuf* Head() const { return head_; }

  // --- Host calls ---------------------------------------------------------------------------
  // Each returns true when the host answered RTNORM.

  // Replaces the chain by the value of a system variable: one buffer the wrapper owns, into
  // which acedGetVar writes (a string value then belongs to the wrapper's chain). On failure
  // the wrapper is empty.
  bool GetVar(const wchar_t* name);
  // acedSetVar with the first element; the chain stays the wrapper's.
  bool SetVar(const wchar_t* name) const;
  // acedGetSym gives a new chain; on success the wrapper releases its own and takes that one
  // over. On failure the wrapper is unchanged.
  bool GetSym(const wchar_t* name);
  // acedPutSym copies the chain into the host; the wrapper then clears (releasing its chain),
  // whatever the host answered.
  bool PutSym(const wchar_t* name);
  // Wraps the arguments of the AutoLISP call in progress. The host keeps owning that chain:
  // the wrapper does not release it, must not outlive the call, and refuses to remove from
  // it. False, with the wrapper unchanged, outside a call or for a call without arguments.
  bool GetArgs();
  // acedRetList with the chain, which the host copies; returns the host's code.
  int RetList() const;

  // --- Handing the chain to a host call that fills it --------------------------------------
  // Both set `filling`; Reindex ends the fill.

  // Makes the chain one new buffer of type RTNONE, releasing any chain held first (a call that
  // writes in place would otherwise overwrite, and leak, an old value), and returns it for a
  // call such as acedGetVar. nullptr, and not filling, when memory runs out.
  resbuf* BeginFillInPlace();
  // Clears the wrapper and returns where the host stores the head of a chain it makes, for a
  // call such as acedGetSym; the wrapper owns what the host stores there.
  resbuf** BeginFillByHost();
  // Ends a fill: rebuilds the index and the count from the chain.
  void Reindex();
  // Returns the chain and forgets it without releasing it, for a call that takes the chain
  // (acedCmdS). The caller owns it from then on; the wrapper is empty and owned. Null, with the
  // wrapper unchanged, while filling and for a chain the host owns (GetArgs): the caller could
  // not release that one.
  resbuf* Detach();

  // --- Appending ----------------------------------------------------------------------------
  // Each makes one buffer with acutNewRb under the type code, links it after the last element
  // and indexes it; each returns false, appending nothing, while filling, on a chain the host
  // owns (GetArgs: nothing may be linked into the host's chain), for a type code whose value the
  // host keeps otherwise (a string under a code that holds none would leak, a number under one
  // that holds a string would be freed as one), or when memory runs out.

  bool AppendShort(short value, int typeCode = RTSHORT);
  bool AppendLong(std::int32_t value, int typeCode = RTLONG);
  bool AppendReal(double value, int typeCode = RTREAL);
  // The string is copied with acutNewString; a null string appends nothing. The type code
  // must be one under which the host keeps a string (RTSTR, a DXF text group, 100).
  bool AppendString(const wchar_t* value, int typeCode = RTSTR);
  // A 2D point (RTPOINT) keeps the point's x and y and a zero z.
  bool AppendPoint(const ads_point value, int typeCode = RT3DPOINT);
  // An entity name (RTENAME) or a selection-set name (RTPICKS): the host's pair of words.
  bool AppendName(const ads_name value, int typeCode = RTENAME);
  // An object's entity name made with acdbGetAdsName; false when the host cannot name it.
  bool AppendObjectId(AcDbObjectId id, int typeCode = RTENAME);
  bool AppendNone() { return AppendCode(RTNONE); }
  bool AppendListBegin() { return AppendCode(RTLB); }
  bool AppendListEnd() { return AppendCode(RTLE); }
  bool AppendDottedPair() { return AppendCode(RTDOTE); }
  // RTT for true, RTNIL for false.
  bool AppendBool(bool value) { return AppendCode(value ? RTT : RTNIL); }
  // Links a whole chain after the last element. On true the wrapper has taken the chain over;
  // on false (while filling, or on a chain the host owns) it stays the caller's.
  [[nodiscard]] bool AppendChain(resbuf* chain);

  // --- Reading by position (0 is the first element) -----------------------------------------
  // The typed readers fold the element's type code (FoldType) and return false, leaving the
  // output alone, when `i` is not a position of the chain, the class differs, or the wrapper
  // is filling. They never show a message.

  // The element's type code as stored; RTNONE past the end.
  int TypeAt(int i) const;
  bool IsString(int i) const;
  bool IsReal(int i) const;
  // A 16-bit (RTSHORT) or 32-bit (RTLONG) integer.
  bool IsInteger(int i) const;
  // A 2D (RTPOINT) or 3D (RT3DPOINT) point.
  bool IsPoint(int i) const;

  bool GetString(int i, std::wstring& value) const;
  bool GetReal(int i, double& value) const;
  // A 16-bit integer, or a 32-bit one for RTLONG.
  bool GetInteger(int i, int& value) const;
  // A 2D point reads with a zero z.
  bool GetPoint(int i, ads_point value) const;
  bool GetName(int i, ads_name value) const;
  // RTT reads as true, RTNIL as false.
  bool GetBool(int i, bool& value) const;
  // kMissingReal / kMissingInteger when there is no such value.
  double RealAt(int i) const;
  int IntegerAt(int i) const;

  // The element at `i`. Out of range (negative, or not below Count()): shows the message box
  // "ResBuf: Index out of range." and returns nullptr. While filling, nullptr without message.
  resbuf* Element(int i);
  const resbuf* Element(int i) const;

  // Unlinks the element at `i` and releases it; removing the only element clears the wrapper.
  // False for a position out of range, while filling, and on a chain the host owns (GetArgs).
  bool Remove(int i);
  // Copies the list that begins (RTLB) at `i` up to its matching RTLE, both included and
  // nested lists with them, into `sublist` (cleared first). False, with `sublist` unchanged,
  // when `i` holds no list begin or the list never ends.
  bool ExtractSublist(int i, ResBuf& sublist) const;

 private:
  bool AppendCode(int typeCode);
  // A new buffer of that code linked at the end; nullptr while filling, on the host's chain or
  // out of memory.
  resbuf* AppendBuffer(int typeCode);
  // The same, only for a code whose value is plain (no string or bytes for the host to free).
  resbuf* AppendPlainBuffer(int typeCode);
  void AppendCopyOf(const resbuf& element);
  // The element at `i` when it exists and its folded type is `folded`, else nullptr.
  const resbuf* ElementOfClass(int i, int folded) const;
  const resbuf* At(int i) const;

  int count_ = 0;
  // index_[i] is element i of the chain.
  std::vector<resbuf*> index_;
  // A host call is filling the chain: the index is stale and every append, remove and read is
  // refused.
  bool filling_ = false;
  // The chain is released with acutRelRb when the wrapper is cleared or destroyed.
  bool owned_ = true;
  resbuf* head_ = nullptr;
};

}  // namespace layermap
