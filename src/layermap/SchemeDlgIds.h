// The scheme dialogs' template ids and control ids.
#pragma once

namespace layermap {

inline constexpr int kNewMapTemplateId = 105;
inline constexpr int kSchemePrefsTemplateId = 109;
inline constexpr int kSchemeTypeTemplateId = 110;

// The Layer Mapping Schemes dialog.
enum SchemePrefsId : int {
  kIdAddScheme = 200,
  kIdCopyScheme = 217,
  kIdUnknownValue = 218,
  kIdDefaultToByLayer = 219,
  kIdDeleteMap = 220,
  kIdDeleteScheme = 221,
  kIdUnknownIsVariable = 247,
  kIdMaps = 257,
  kIdNewMap = 261,
  kIdSchemes = 279,
  kIdAskForMap = 291,
  kIdIgnore = 292,
  kIdDefaultTo = 293,
};

// The Scheme Type dialog; the four radio buttons in SchemeKind order.
enum SchemeTypeId : int {
  kIdBlockKind = 206,
  kIdColorKind = 216,
  kIdLayerKind = 249,
  kIdLinetypeKind = 252,
  kIdSchemeName = 262,
};

// The New Map dialog.
enum NewMapId : int {
  kIdDimension = 224,
  kIdFrom = 239,
  kIdColor = 240,
  kIdText = 287,
  kIdIsVariable = 288,
  kIdTo = 290,
};

}  // namespace layermap
