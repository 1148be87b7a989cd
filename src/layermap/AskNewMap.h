// The question a scheme in mode Ask puts to the user for a name no map covers: the New Map
// dialog in its asked form (the scheme's kind, the From locked to the name). Tests may install
// another question in its place. Host main thread.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "layermap/MapScheme.h"

namespace layermap {

// What the user entered: the target, and whether it names an AutoLISP variable.
struct NewMapAnswer {
  std::wstring to;
  bool isVariable = false;
};

// Gets the scheme's kind and the upper-cased name; returns the answer, or nothing when the
// user cancelled.
using AskNewMapFunction =
    std::function<std::optional<NewMapAnswer>(SchemeKind kind, const std::wstring& upperName)>;

// Installs the question; an empty function restores the default, the New Map dialog.
void SetAskNewMapFunction(AskNewMapFunction function);

// Puts the question through the installed function. An answer with an empty target counts as
// cancelled: no layer can have that name.
std::optional<NewMapAnswer> AskNewMap(SchemeKind kind, const std::wstring& upperName);

}  // namespace layermap
