// The host's value types: reals, points, names of entities and selection sets, and the result
// buffer through which values pass in and out of the host's value calls.
#pragma once

#include <cstdint>

#include "arx/adesk.h"

using ads_real = double;
using ads_point = ads_real[3];
// An entity or selection-set name: two host words, meaningful only to the host.
using ads_name = std::int64_t[2];

enum { X = 0, Y = 1, Z = 2 };

// A block of bytes (DXF groups 310-319 and 1004): `clen` bytes at `buf`.
struct ads_binary {
  short clen;
  char* buf;
};

union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  ACHAR* rstring;  // allocated with the host's allocator; released with the buffer
  std::int64_t rlname[2];
  std::int64_t mnLongPtr;
  std::int64_t mnInt64;
  std::int32_t rlong;
  ads_binary rbinary;  // `buf` allocated with the host's allocator; released with the buffer
  unsigned char ihandle[8];
};

// One element of a result-buffer chain. `restype` is an RT... code of adscodes.h or a DXF
// group code, and says which member of `resval` holds the value.
//
// Ownership: a chain made with acutNewRb belongs to whoever made it and is released, strings
// and binary blocks included, with one acutRelRb on its first element. Each host call says
// whose a chain is before and after it.
struct resbuf {
  resbuf* rbnext;
  short restype;
  ads_u_val resval;
};
