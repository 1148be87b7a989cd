// The editor's value calls: system variables, AutoLISP symbols, the arguments and result of an
// AutoLISP call, and the support-file search. Host main thread only; none of them is
// thread-safe. Each returns RTNORM on success, otherwise an error code of adscodes.h.
#pragma once

#include "arx/adscodes.h"
#include "arx/adsdef.h"

// Reads the system variable `sym` (any case) into `result`, which the caller supplies and keeps
// owning: only restype and resval are written, rbnext is left alone. A string value is
// allocated with the host's allocator and belongs to the caller from then on; it goes with the
// caller's chain (acutRelRb) or alone with acutDelString. RTERROR when the variable does not
// exist or an argument is null; `result` is then unchanged.
int acedGetVar(const ACHAR* sym, resbuf* result);

// Sets the system variable `sym` from the first element of `value`. The chain stays the
// caller's; the host copies what it keeps. RTERROR, with the variable unchanged, when it does
// not exist, is read-only, or the value has the wrong type or lies outside the variable's range.
int acedSetVar(const ACHAR* sym, const resbuf* value);

// Reads the AutoLISP symbol `sname` (any case). On RTNORM, *value is a new chain that the
// caller owns and releases with acutRelRb; a symbol without a value gives one RTNIL buffer.
// A list comes as RTLB ... RTLE. RTERROR for a name that cannot be a symbol or a null
// argument; *value is then unchanged.
int acedGetSym(const ACHAR* sname, resbuf** value);

// Sets the AutoLISP symbol `sname` to a copy of `value`: the host keeps its own copy and the
// chain stays the caller's. A chain of one RTNIL buffer unsets the symbol. RTERROR, changing
// nothing, for a name that cannot be a symbol, a null chain, or a chain that is neither one
// value nor one balanced list.
int acedPutSym(const ACHAR* sname, resbuf* value);

// The arguments of the AutoLISP call in progress: the host owns the chain and releases it when
// the call returns, so the caller must neither release nor keep it. nullptr outside a call and
// for a call without arguments.
resbuf* acedGetArgs();

// Makes a copy of `rbuf` the result of the AutoLISP call in progress; the chain stays the
// caller's. A null chain returns nil. RTERROR outside a call.
int acedRetList(const resbuf* rbuf);

// Searches for the file `fname`: in the current drawing's folder, then in the support folders,
// then in the program's folder; a name holding an absolute path is only looked for there.
// Names match whatever the case of their letters. On RTNORM `result` holds the full path.
// RTERROR when the file is not found or the path and its terminating null do not fit in `size`
// characters; `result` is then unchanged.
int acedFindFile(const ACHAR* fname, ACHAR* result, int size);

// Calls a function of the host's AutoLISP by its list of arguments: the function name (RTSTR)
// first, then its arguments. The host's own "acad_colordlg" takes a colour index (RTSHORT, 1-256;
// others read as 7) and a flag (RTT or RTNIL, whether ByLayer and ByBlock may be chosen), shows
// the colour dialog and gives the chosen index (RTSHORT), or nil (RTNIL) when it was cancelled.
// On RTNORM *result is a new chain the caller releases with acutRelRb. RTERROR for an unknown
// function or arguments it cannot take; *result is then null.
int acedInvoke(const resbuf* args, resbuf** result);
