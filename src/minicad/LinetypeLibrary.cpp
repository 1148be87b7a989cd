// The standard linetypes and their dash patterns, in drawing units.
#include "minicad/LinetypeLibrary.h"

namespace minicad {

std::span<const LinetypeDefinition> StandardLinetypes() {
  static const std::vector<LinetypeDefinition> kLinetypes = {
      {L"CONTINUOUS", L"Solid line", {}},
      {L"HIDDEN", L"Hidden __ __ __ __ __ __ __ __ __ __ __ __ __ __", {0.25, -0.125}},
      {L"CENTER", L"Center ____ _ ____ _ ____ _ ____ _ ____ _ ____", {1.25, -0.25, 0.25, -0.25}},
      {L"DASHED", L"Dashed __ __ __ __ __ __ __ __ __ __ __ __ __ _", {0.5, -0.25}},
      {L"PHANTOM",
       L"Phantom ______  __  __  ______  __  __  ______",
       {1.25, -0.25, 0.25, -0.25, 0.25, -0.25}},
      {L"DOT", L"Dot . . . . . . . . . . . . . . . . . . . . . . . .", {0.0, -0.25}},
  };
  return kLinetypes;
}

}  // namespace minicad
