// The linetypes -LINETYPE loads: the host's standard set, kept in the program.
#pragma once

#include <span>
#include <vector>

namespace minicad {

struct LinetypeDefinition {
  const wchar_t* name;
  const wchar_t* description;
  std::vector<double> dashes;  // positive draws, negative leaves a gap, zero is a dot
};

// CONTINUOUS, HIDDEN, CENTER, DASHED, PHANTOM and DOT.
std::span<const LinetypeDefinition> StandardLinetypes();

}  // namespace minicad
