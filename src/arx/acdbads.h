// Conversion between the database's object identifiers and the names the value calls use for
// entities.
#pragma once

#include "arx/adesk.h"
#include "arx/adsdef.h"
#include "arx/dbid.h"

// The entity name of an object. eInvalidInput for a null id; `objName` is then unchanged.
Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId);

// The object behind an entity name made by acdbGetAdsName. eInvalidInput for a null name;
// `objId` is then unchanged.
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName);
