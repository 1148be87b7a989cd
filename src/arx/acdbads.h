// Conversion between the database's object identifiers and the names the value calls use for
// entities, and the host's writing of distances.
#pragma once

#include <cstddef>

#include "arx/adesk.h"
#include "arx/adsdef.h"
#include "arx/dbid.h"

// The entity name of an object. eInvalidInput for a null id; `objName` is then unchanged.
Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId);

// The object behind an entity name made by acdbGetAdsName. eInvalidInput for a null name;
// `objId` is then unchanged.
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName);

// Writes `val` as the host writes distances: `unit` 1 scientific, 2 decimal, 3 engineering
// (feet and decimal inches), 4 architectural (feet and fractional inches), 5 fractional; `prec`
// the number of decimals (the denominator 2^prec for fractions). -1 takes the drawing's LUNITS
// and LUPREC. RTNORM, or RTERROR for a unit or precision out of range or text that does not fit
// `nBufLen` characters with its terminating null (`str` then holds an empty string).
int acdbRToS(ads_real val, int unit, int prec, ACHAR* str, std::size_t nBufLen);
template <std::size_t N>
int acdbRToS(ads_real val, int unit, int prec, ACHAR (&str)[N]) {
  return acdbRToS(val, unit, prec, str, N);
}
