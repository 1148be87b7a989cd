// -LAYER (New, Make, Set, Color, Ltype), -LINETYPE (Load, Set) and COLOR.
#include <algorithm>
#include <cmath>
#include <string>
#include <variant>
#include <vector>

#include "arx/adscodes.h"
#include "fw/Strings.h"
#include "minicad/BuiltinCommands.h"
#include "minicad/ColourNames.h"
#include "minicad/CommandContext.h"
#include "minicad/Host.h"
#include "minicad/LinetypeLibrary.h"
#include "minicad/OpenedObject.h"
#include "minicad/RecordMaking.h"
#include "minicad/SymbolNames.h"
#include "minicad/SystemVariables.h"
#include "minicad/WildcardPattern.h"

namespace minicad {
namespace {

std::vector<std::wstring> SplitList(std::wstring_view list) {
  std::vector<std::wstring> names;
  for (std::size_t start = 0;;) {
    const std::size_t comma = list.find(L',', start);
    std::wstring_view name = list.substr(start, comma - start);
    if (!name.empty()) names.emplace_back(name);
    if (comma == std::wstring_view::npos) return names;
    start = comma + 1;
  }
}

// The records of a table whose names match any pattern of a comma-separated list (the host's
// wildcards, without regard to case). The first pattern that matches nothing is named in
// `unmatched`.
std::vector<AcDbObjectId> MatchRecords(AcDbObjectId table, std::wstring_view list,
                                       std::wstring& unmatched) {
  std::vector<AcDbObjectId> matched;
  const auto* symbols = AcDbImpDatabase::PeekAs<AcDbSymbolTable>(table);
  for (const std::wstring& pattern : SplitList(list)) {
    const WildcardPattern wildcard(fw::ToUpper(pattern));
    bool any = false;
    for (AcDbObjectId id : AcDbImpDatabase::Records(*symbols)) {
      if (AcDbImpDatabase::IsErased(id)) continue;
      const auto* record = AcDbImpDatabase::PeekAs<AcDbSymbolTableRecord>(id);
      if (!wildcard.Matches(fw::ToUpper(AcDbImpDatabase::Name(*record)))) continue;
      any = true;
      if (std::find(matched.begin(), matched.end(), id) == matched.end()) matched.push_back(id);
    }
    if (!any && unmatched.empty()) unmatched = pattern;
  }
  return matched;
}

std::wstring NameOf(AcDbObjectId id) {
  const auto* record = AcDbImpDatabase::PeekAs<AcDbSymbolTableRecord>(id);
  return record == nullptr ? std::wstring() : AcDbImpDatabase::Name(*record);
}

// A new layer of colour 7 and linetype Continuous.
bool CreateLayer(CommandContext& context, const std::wstring& name, AcDbObjectId& id) {
  if (!IsValidSymbolName(name)) {
    context.Input().Fail(fw::Format(L"Invalid layer name \"%s\".", name.c_str()));
    return false;
  }
  const Acad::ErrorStatus status =
      AddRecord(context.Inside().Standard().layerTable, new AcDbLayerTableRecord, name, id);
  if (status != Acad::eOk) context.Refused(status, L"Creating the layer");
  return status == Acad::eOk;
}

AcDbObjectId FindLayer(CommandContext& context, std::wstring_view name) {
  AcDbImpDatabase& inside = context.Inside();
  return inside.FindRecord(inside.Standard().layerTable, name);
}

bool MakeCurrent(CommandContext& context, AcDbObjectId layer) {
  Acad::ErrorStatus status = context.Database().setClayer(layer);
  if (status != Acad::eOk) context.Refused(status, L"Setting the current layer");
  return status == Acad::eOk;
}

bool LayerNew(CommandContext& context) {
  std::optional<std::wstring> list = context.Input().Name(L"Enter name list for new layer(s): ");
  if (!list) return false;
  for (const std::wstring& name : SplitList(*list)) {
    AcDbObjectId id;
    if (!FindLayer(context, name).isNull()) {
      context.Input().Print(fw::Format(L"Layer \"%s\" already exists.\n", name.c_str()));
    } else if (!CreateLayer(context, name, id)) {
      return false;
    }
  }
  return true;
}

bool LayerMake(CommandContext& context) {
  const std::wstring current = NameOf(context.Database().clayer());
  std::optional<std::wstring> name = context.Input().Name(
      fw::Format(L"Enter name for new layer (becomes the current layer) <%s>: ", current.c_str()));
  if (!name) return false;
  const std::wstring wanted = name->empty() ? current : *name;
  AcDbObjectId layer = FindLayer(context, wanted);
  if (layer.isNull() && !CreateLayer(context, wanted, layer)) return false;
  return MakeCurrent(context, layer);
}

bool LayerSet(CommandContext& context) {
  std::optional<std::wstring> name = context.Input().Name(L"Enter layer name to make current: ");
  if (!name) return false;
  if (name->empty()) return true;
  const AcDbObjectId layer = FindLayer(context, *name);
  if (layer.isNull()) {
    context.Input().Fail(fw::Format(L"Cannot find layer \"%s\".", name->c_str()));
    return false;
  }
  return MakeCurrent(context, layer);
}

// The layers a name list names; Enter is the current layer. Fails on a name that matches none.
std::optional<std::vector<AcDbObjectId>> LayerList(CommandContext& context,
                                                   const std::wstring& prompt) {
  const std::wstring current = NameOf(context.Database().clayer());
  std::optional<std::wstring> list = context.Input().Name(prompt + L" <" + current + L">: ");
  if (!list) return std::nullopt;
  std::wstring unmatched;
  std::vector<AcDbObjectId> layers = MatchRecords(context.Inside().Standard().layerTable,
                                                  list->empty() ? current : *list, unmatched);
  if (!unmatched.empty()) {
    context.Input().Fail(fw::Format(L"Cannot find layer \"%s\".", unmatched.c_str()));
    return std::nullopt;
  }
  return layers;
}

template <class Change>
bool ChangeLayers(CommandContext& context, const std::vector<AcDbObjectId>& layers, Change change) {
  for (AcDbObjectId id : layers) {
    Opened<AcDbLayerTableRecord> layer;
    Acad::ErrorStatus status = layer.Open(id, AcDb::kForWrite);
    if (status == Acad::eOk) status = change(*layer.Get());
    if (status != Acad::eOk) {
      context.Refused(status, L"Changing the layer");
      return false;
    }
  }
  return true;
}

bool LayerColour(CommandContext& context) {
  std::optional<std::wstring> answer =
      context.Input().Word(L"Enter color name or number (1-255): ");
  if (!answer) return false;
  const std::optional<int> colour = ParseColour(*answer, false);
  if (!colour) {
    context.Input().Fail(L"Invalid color name or number.");
    return false;
  }
  auto layers =
      LayerList(context, fw::Format(L"Enter name list of layer(s) for color %d", *colour));
  if (!layers) return false;
  AcCmColor color;
  (void)color.setColorIndex(static_cast<Adesk::UInt16>(*colour));
  return ChangeLayers(context, *layers,
                      [&](AcDbLayerTableRecord& layer) { return layer.setColor(color); });
}

bool LayerLinetype(CommandContext& context) {
  std::optional<std::wstring> name =
      context.Input().Name(L"Enter a loaded linetype name <Continuous>: ");
  if (!name) return false;
  AcDbImpDatabase& inside = context.Inside();
  const AcDbObjectId linetype =
      inside.FindRecord(inside.Standard().linetypeTable, name->empty() ? L"Continuous" : *name);
  if (linetype.isNull() || linetype == inside.Standard().byLayer ||
      linetype == inside.Standard().byBlock) {
    context.Input().Fail(
        fw::Format(L"Linetype %s not found.  Use LINETYPE command to load it.", name->c_str()));
    return false;
  }
  auto layers = LayerList(context, fw::Format(L"Enter name list of layer(s) for linetype \"%s\"",
                                              NameOf(linetype).c_str()));
  if (!layers) return false;
  return ChangeLayers(context, *layers, [&](AcDbLayerTableRecord& layer) {
    return layer.setLinetypeObjectId(linetype);
  });
}

void LayerCommand(Host& host) {
  CommandContext context(host);
  context.Input().Print(
      fw::Format(L"Current layer:  \"%s\"\n", NameOf(context.Database().clayer()).c_str()));
  static constexpr const wchar_t* kOptions[] = {L"Make", L"Set", L"New", L"Color", L"Ltype"};
  for (;;) {
    std::optional<std::wstring> answer =
        context.Input().Word(L"Enter an option [Make/Set/New/Color/Ltype]: ");
    if (!answer || answer->empty()) return;
    bool done = false;
    switch (CommandInput::MatchKeyword(*answer, kOptions)) {
      case 0:
        done = LayerMake(context);
        break;
      case 1:
        done = LayerSet(context);
        break;
      case 2:
        done = LayerNew(context);
        break;
      case 3:
        done = LayerColour(context);
        break;
      case 4:
        done = LayerLinetype(context);
        break;
      default:
        return context.Input().Fail(L"Invalid option keyword.");
    }
    if (!done) return;
  }
}

std::wstring TextVariable(Host& host, std::wstring_view name) {
  std::optional<VariableValue> value = host.Variables().Value(name);
  const auto* text = value ? std::get_if<std::wstring>(&*value) : nullptr;
  return text == nullptr ? std::wstring() : *text;
}

bool SetTextVariable(Host& host, const wchar_t* name, const std::wstring& text) {
  resbuf value{};
  value.restype = RTSTR;
  value.resval.rstring = const_cast<ACHAR*>(text.c_str());
  return host.Variables().Set(name, value) == RTNORM;
}

bool LoadLinetype(CommandContext& context, const LinetypeDefinition& definition) {
  AcDbImpDatabase& inside = context.Inside();
  if (!inside.FindRecord(inside.Standard().linetypeTable, definition.name).isNull()) {
    context.Input().Print(fw::Format(L"Linetype \"%s\" is already loaded.\n", definition.name));
    return true;
  }
  auto* linetype = new AcDbLinetypeTableRecord;
  (void)linetype->setAsciiDescription(definition.description);
  (void)linetype->setNumDashes(static_cast<int>(definition.dashes.size()));
  double pattern = 0;
  for (std::size_t i = 0; i < definition.dashes.size(); ++i) {
    (void)linetype->setDashLengthAt(static_cast<int>(i), definition.dashes[i]);
    pattern += std::abs(definition.dashes[i]);
  }
  (void)linetype->setPatternLength(pattern);
  AcDbObjectId id;
  const Acad::ErrorStatus status =
      AddRecord(inside.Standard().linetypeTable, linetype, definition.name, id);
  if (status != Acad::eOk) {
    context.Refused(status, L"Loading the linetype");
    return false;
  }
  context.Input().Print(fw::Format(L"Linetype %s loaded.\n", definition.name));
  return true;
}

bool LinetypeLoad(CommandContext& context) {
  std::optional<std::wstring> list = context.Input().Name(L"Enter linetype(s) to load: ");
  if (!list) return false;
  for (const std::wstring& pattern : SplitList(*list)) {
    const WildcardPattern wildcard(fw::ToUpper(pattern));
    bool any = false;
    for (const LinetypeDefinition& definition : StandardLinetypes()) {
      if (!wildcard.Matches(definition.name)) continue;
      any = true;
      if (!LoadLinetype(context, definition)) return false;
    }
    if (!any) context.Input().Print(fw::Format(L"Linetype \"%s\" not found.\n", pattern.c_str()));
  }
  return true;
}

bool LinetypeSet(CommandContext& context) {
  Host& host = context.GetHost();
  const std::wstring current = TextVariable(host, L"CELTYPE");
  std::optional<std::wstring> name =
      context.Input().Name(fw::Format(L"Specify linetype name <%s>: ", current.c_str()));
  if (!name) return false;
  if (name->empty()) return true;
  AcDbImpDatabase& inside = context.Inside();
  const AcDbObjectId linetype = inside.FindRecord(inside.Standard().linetypeTable, *name);
  if (linetype.isNull()) {
    context.Input().Fail(
        fw::Format(L"Linetype %s not found.  Use the Load option to load it.", name->c_str()));
    return false;
  }
  const std::wstring value = linetype == inside.Standard().byLayer   ? L"BYLAYER"
                             : linetype == inside.Standard().byBlock ? L"BYBLOCK"
                                                                     : NameOf(linetype);
  return SetTextVariable(host, L"CELTYPE", value);
}

void LinetypeCommand(Host& host) {
  CommandContext context(host);
  context.Input().Print(
      fw::Format(L"Current line type:  \"%s\"\n", TextVariable(host, L"CELTYPE").c_str()));
  static constexpr const wchar_t* kOptions[] = {L"Load", L"Set"};
  for (;;) {
    std::optional<std::wstring> answer = context.Input().Word(L"Enter an option [Load/Set]: ");
    if (!answer || answer->empty()) return;
    bool done = false;
    switch (CommandInput::MatchKeyword(*answer, kOptions)) {
      case 0:
        done = LinetypeLoad(context);
        break;
      case 1:
        done = LinetypeSet(context);
        break;
      default:
        return context.Input().Fail(L"Invalid option keyword.");
    }
    if (!done) return;
  }
}

void ColorCommand(Host& host) {
  CommandContext context(host);
  const std::wstring current = TextVariable(host, L"CECOLOR");
  std::optional<std::wstring> answer =
      context.Input().Word(fw::Format(L"Enter default object color <%s>: ", current.c_str()));
  if (!answer || answer->empty()) return;
  const std::optional<int> colour = ParseColour(*answer, true);
  if (!colour) return context.Input().Fail(L"Invalid color name or number.");
  (void)SetTextVariable(host, L"CECOLOR", ColourText(*colour));
}

}  // namespace

void AddLayerCommands(Host& host) {
  AddHostCommand(host, L"-LAYER", ACRX_CMD_MODAL, LayerCommand);
  AddHostCommand(host, L"-LINETYPE", ACRX_CMD_MODAL, LinetypeCommand);
  AddHostCommand(host, L"COLOR", ACRX_CMD_MODAL, ColorCommand);
}

}  // namespace minicad
