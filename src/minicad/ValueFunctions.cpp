// The host interface's value calls: result buffers and their strings, system variables,
// AutoLISP symbols and calls, entity names, the support-file search and the wildcard matcher.
// Those that need the session find the process's Host; without one they fail with RTERROR.
#include <cwchar>
#include <new>
#include <optional>
#include <string>

#include "arx/acdbads.h"
#include "arx/acedads.h"
#include "arx/acutads.h"
#include "fw/FileName.h"
#include "minicad/AutoLisp.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"
#include "minicad/FileSearch.h"
#include "minicad/Host.h"
#include "minicad/ResultBuffers.h"
#include "minicad/SystemVariables.h"
#include "minicad/WildcardPattern.h"

namespace {

// The folders acedFindFile searches, in order: the current drawing's (a drawing never saved
// has none), the support folders, the program's.
std::vector<std::wstring> SearchFolders(minicad::Host& host) {
  std::vector<std::wstring> folders;
  minicad::DocManager& documents = host.Docs();
  minicad::Document* current = documents.Find(documents.curDocument());
  if (current != nullptr && !current->IsNewDrawing()) {
    folders.push_back(fw::FolderOf(current->fileName()));
  }
  folders.insert(folders.end(), host.SupportFolders().begin(), host.SupportFolders().end());
  folders.push_back(host.ProgramFolder());
  return folders;
}

}  // namespace

resbuf* acutNewRb(int v) {
  resbuf* buffer = new (std::nothrow) resbuf{};
  if (buffer != nullptr) buffer->restype = static_cast<short>(v);
  return buffer;
}

int acutRelRb(resbuf* rb) {
  while (rb != nullptr) {
    resbuf* next = rb->rbnext;
    if (minicad::HoldsString(rb->restype)) delete[] rb->resval.rstring;
    if (minicad::HoldsBinary(rb->restype)) delete[] rb->resval.rbinary.buf;
    delete rb;
    rb = next;
  }
  return RTNORM;
}

Acad::ErrorStatus acutNewString(const ACHAR* pInput, ACHAR*& pOutput) {
  pOutput = nullptr;
  if (pInput == nullptr) return Acad::eOk;
  std::size_t length = std::wcslen(pInput);
  pOutput = new (std::nothrow) ACHAR[length + 1];
  if (pOutput == nullptr) return Acad::eInvalidInput;
  std::wmemcpy(pOutput, pInput, length + 1);
  return Acad::eOk;
}

Acad::ErrorStatus acutDelString(ACHAR*& pString) {
  delete[] pString;
  pString = nullptr;
  return Acad::eOk;
}

int acutWcMatch(const ACHAR* string, const ACHAR* pattern) {
  if (string == nullptr || pattern == nullptr) return RTERROR;
  // Callers test one pattern against many strings (a search over a library, a scheme over a
  // drawing's names): each thread keeps the last pattern it parsed.
  struct LastPattern {
    std::wstring text;
    std::optional<minicad::WildcardPattern> parsed;
  };
  thread_local LastPattern last;
  if (!last.parsed || last.text != pattern) {
    last.parsed.emplace(pattern);
    last.text = pattern;
  }
  return last.parsed->Matches(string) ? RTNORM : RTERROR;
}

int acedGetVar(const ACHAR* sym, resbuf* result) {
  minicad::Host* host = minicad::Host::Current();
  if (host == nullptr || sym == nullptr || result == nullptr) return RTERROR;
  return host->Variables().Get(sym, *result);
}

int acedSetVar(const ACHAR* sym, const resbuf* value) {
  minicad::Host* host = minicad::Host::Current();
  if (host == nullptr || sym == nullptr || value == nullptr) return RTERROR;
  return host->Variables().Set(sym, *value);
}

int acedGetSym(const ACHAR* sname, resbuf** value) {
  minicad::Host* host = minicad::Host::Current();
  if (host == nullptr || sname == nullptr) return RTERROR;
  return host->Lisp().GetSymbol(sname, value);
}

int acedPutSym(const ACHAR* sname, resbuf* value) {
  minicad::Host* host = minicad::Host::Current();
  if (host == nullptr || sname == nullptr) return RTERROR;
  return host->Lisp().PutSymbol(sname, value);
}

resbuf* acedGetArgs() {
  minicad::Host* host = minicad::Host::Current();
  return host == nullptr ? nullptr : host->Lisp().CurrentArguments();
}

int acedRetList(const resbuf* rbuf) {
  minicad::Host* host = minicad::Host::Current();
  return host == nullptr ? RTERROR : host->Lisp().ReturnList(rbuf);
}

int acedFindFile(const ACHAR* fname, ACHAR* result, int size) {
  minicad::Host* host = minicad::Host::Current();
  if (host == nullptr || fname == nullptr || result == nullptr) return RTERROR;
  std::optional<std::wstring> found = minicad::FindFileInFolders(fname, SearchFolders(*host));
  if (!found || size <= 0 || found->size() >= static_cast<std::size_t>(size)) return RTERROR;
  std::wmemcpy(result, found->c_str(), found->size() + 1);
  return RTNORM;
}

// An entity name carries the object's id in its first word; the second is unused.
Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId) {
  if (objId.isNull()) return Acad::eInvalidInput;
  objName[0] = objId.asOldId();
  objName[1] = 0;
  return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName) {
  if (objName == nullptr || objName[0] == 0) return Acad::eInvalidInput;
  objId.setFromOldId(objName[0]);
  return Acad::eOk;
}
