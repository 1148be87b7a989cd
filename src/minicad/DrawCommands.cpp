// LINE, CIRCLE, ARC, TEXT, ATTDEF and DIMLINEAR: objects drawn into model space on the current
// layer with the current colour and linetype.
#include <cmath>
#include <memory>
#include <numbers>
#include <variant>
#include <vector>

#include "arx/adscodes.h"
#include "arx/dbdim.h"
#include "fw/Strings.h"
#include "minicad/BuiltinCommands.h"
#include "minicad/CommandContext.h"
#include "minicad/Host.h"
#include "minicad/OpenedObject.h"
#include "minicad/RecordMaking.h"
#include "minicad/SystemVariables.h"

namespace minicad {
namespace {

using Rule = CommandInput::Rule;

double AngleOf(const AcGePoint3d& from, const AcGePoint3d& to) {
  return std::atan2(to.y - from.y, to.x - from.x);
}

double TextSize(Host& host) {
  std::optional<VariableValue> value = host.Variables().Value(L"TEXTSIZE");
  const double* size = value ? std::get_if<double>(&*value) : nullptr;
  return size == nullptr ? 2.5 : *size;
}

void SetTextSize(Host& host, double size) {
  resbuf value{};
  value.restype = RTREAL;
  value.resval.rreal = size;
  (void)host.Variables().Set(L"TEXTSIZE", value);
}

void EraseEntity(AcDbObjectId id) {
  Opened<AcDbEntity> entity;
  if (entity.Open(id, AcDb::kForWrite) == Acad::eOk) (void)entity->erase();
}

void LineCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  std::optional<AcGePoint3d> first = input.Point(L"Specify first point: ");
  if (!first) return;
  std::vector<std::pair<AcDbObjectId, AcGePoint3d>> segments;  // each with its start point
  AcGePoint3d last = *first;
  static constexpr const wchar_t* kOptions[] = {L"Undo", L"Close"};
  for (;;) {
    const bool closable = segments.size() >= 2;
    std::optional<std::wstring> answer = input.Word(
        closable ? L"Specify next point or [Close/Undo]: " : L"Specify next point or [Undo]: ");
    if (!answer || answer->empty()) return;
    const int keyword = CommandInput::MatchKeyword(*answer, kOptions);
    if (keyword == 0) {
      if (segments.empty()) {
        input.Print(L"All segments already undone.\n");
        continue;
      }
      EraseEntity(segments.back().first);
      last = segments.back().second;
      segments.pop_back();
      continue;
    }
    std::optional<AcGePoint3d> next =
        keyword == 1 && closable ? std::optional(*first) : input.ParsePoint(*answer);
    if (!next) return input.Fail(L"Point or option keyword required.");
    input.SetLastPoint(*next);
    AcDbObjectId id;
    if (!context.AddToModelSpace(std::make_unique<AcDbLine>(last, *next), &id)) return;
    segments.emplace_back(id, last);
    last = *next;
    if (keyword == 1 && closable) return;
  }
}

void CircleCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  std::optional<AcGePoint3d> centre = input.Point(L"Specify center point for circle: ");
  if (!centre) return;
  std::optional<std::wstring> answer = input.Word(L"Specify radius of circle or [Diameter]: ");
  if (!answer) return;
  static constexpr const wchar_t* kOptions[] = {L"Diameter"};
  std::optional<double> radius;
  if (CommandInput::MatchKeyword(*answer, kOptions) == 0) {
    std::optional<double> diameter =
        input.Real(L"Specify diameter of circle: ", std::nullopt, Rule::kPositive);
    if (!diameter) return;
    radius = *diameter / 2;
  } else if (std::optional<AcGePoint3d> on = input.ParsePoint(*answer)) {
    radius = centre->distanceTo(*on);
  } else {
    wchar_t* end = nullptr;
    const double value = std::wcstod(answer->c_str(), &end);
    if (!answer->empty() && *end == L'\0' && std::isfinite(value)) radius = value;
  }
  if (!radius) return input.Fail(L"Requires numeric distance, second point, or option keyword.");
  if (!(*radius > 0)) return input.Fail(L"Value must be positive and nonzero.");
  context.AddToModelSpace(std::make_unique<AcDbCircle>(*centre, AcGeVector3d::kZAxis, *radius));
}

// The circle through three points; nothing when they lie on one line.
std::optional<std::pair<AcGePoint3d, double>> CircleThrough(const AcGePoint3d& a,
                                                            const AcGePoint3d& b,
                                                            const AcGePoint3d& c) {
  const double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
  if (std::fabs(d) < 1e-12) return std::nullopt;
  const double a2 = a.x * a.x + a.y * a.y;
  const double b2 = b.x * b.x + b.y * b.y;
  const double c2 = c.x * c.x + c.y * c.y;
  const AcGePoint3d centre((a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
                           (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d, a.z);
  return std::pair(centre, centre.distanceTo(a));
}

// Arcs run counter-clockwise; an arc through three points drawn clockwise swaps its ends.
void ArcCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  std::optional<std::wstring> answer = input.Word(L"Specify start point of arc or [Center]: ");
  if (!answer) return;
  static constexpr const wchar_t* kOptions[] = {L"Center"};
  if (CommandInput::MatchKeyword(*answer, kOptions) == 0) {
    std::optional<AcGePoint3d> centre = input.Point(L"Specify center point of arc: ");
    if (!centre) return;
    std::optional<AcGePoint3d> start = input.Point(L"Specify start point of arc: ");
    if (!start) return;
    std::optional<AcGePoint3d> end = input.Point(L"Specify end point of arc: ");
    if (!end) return;
    const double radius = centre->distanceTo(*start);
    if (!(radius > 0)) return input.Fail(L"Invalid arc: the start point is the center.");
    context.AddToModelSpace(std::make_unique<AcDbArc>(*centre, radius, AngleOf(*centre, *start),
                                                      AngleOf(*centre, *end)));
    return;
  }
  std::optional<AcGePoint3d> start = input.ParsePoint(*answer);
  if (!start) return input.Fail(L"Point or option keyword required.");
  input.SetLastPoint(*start);
  std::optional<AcGePoint3d> second = input.Point(L"Specify second point of arc: ");
  if (!second) return;
  std::optional<AcGePoint3d> end = input.Point(L"Specify end point of arc: ");
  if (!end) return;
  auto circle = CircleThrough(*start, *second, *end);
  if (!circle) return input.Fail(L"Invalid arc: the three points lie on one line.");
  const auto& [centre, radius] = *circle;
  const bool clockwise =
      (second->x - start->x) * (end->y - start->y) - (second->y - start->y) * (end->x - start->x) <
      0;
  const double from = AngleOf(centre, clockwise ? *end : *start);
  const double to = AngleOf(centre, clockwise ? *start : *end);
  context.AddToModelSpace(std::make_unique<AcDbArc>(centre, radius, from, to));
}

struct TextPlacement {
  AcGePoint3d position;
  double height;
  double rotation;
};

std::optional<TextPlacement> AskTextPlacement(CommandContext& context) {
  CommandInput& input = context.Input();
  Host& host = context.GetHost();
  std::optional<AcGePoint3d> position = input.Point(L"Specify start point of text: ");
  if (!position) return std::nullopt;
  const double size = TextSize(host);
  std::optional<double> height = input.Real(
      fw::Format(L"Specify height <%s>: ", input.Distance(size).c_str()), size, Rule::kPositive);
  if (!height) return std::nullopt;
  SetTextSize(host, *height);
  std::optional<double> rotation = input.Angle(L"Specify rotation angle of text <0>: ", 0);
  if (!rotation) return std::nullopt;
  return TextPlacement{*position, *height, *rotation};
}

// Each line of text entered goes below the one before, until an empty line.
void TextCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  input.Print(fw::Format(L"Current text style:  \"Standard\"  Text height:  %s  Annotative:  No\n",
                         input.Distance(TextSize(host)).c_str()));
  std::optional<TextPlacement> placement = AskTextPlacement(context);
  if (!placement) return;
  constexpr double kLineSpacing = 5.0 / 3.0;
  for (AcGePoint3d position = placement->position;;) {
    std::optional<std::wstring> text = input.Text(L"Enter text: ");
    if (!text || text->empty()) return;
    auto entity = std::make_unique<AcDbText>(position, L"", AcDbObjectId::kNull, placement->height,
                                             placement->rotation);
    if (entity->setTextString(text->c_str()) != Acad::eOk) {
      return input.Fail(L"The text is too long for one line.");
    }
    if (!context.AddToModelSpace(std::move(entity))) return;
    const double step = kLineSpacing * placement->height;
    position = {position.x + step * std::sin(placement->rotation),
                position.y - step * std::cos(placement->rotation), position.z};
  }
}

void AttdefCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  bool modes[4] = {false, false, false, false};  // invisible, constant, verify, preset
  static constexpr const wchar_t* kModes[] = {L"Invisible", L"Constant", L"Verify", L"Preset"};
  for (;;) {
    auto yesNo = [&](int i) { return modes[i] ? L"Y" : L"N"; };
    input.Print(
        fw::Format(L"Current attribute modes: Invisible=%s Constant=%s Verify=%s Preset=%s\n",
                   yesNo(0), yesNo(1), yesNo(2), yesNo(3)));
    std::optional<std::wstring> answer =
        input.Word(L"Enter an option to change [Invisible/Constant/Verify/Preset] <done>: ");
    if (!answer) return;
    if (answer->empty()) break;
    const int mode = CommandInput::MatchKeyword(*answer, kModes);
    if (mode < 0) return input.Fail(L"Invalid option keyword.");
    modes[mode] = !modes[mode];
  }
  std::optional<std::wstring> tag = input.Text(L"Enter attribute tag name: ");
  if (!tag) return;
  std::optional<std::wstring> prompt =
      modes[1] ? std::optional<std::wstring>(L"") : input.Text(L"Enter attribute prompt: ");
  if (!prompt) return;
  std::optional<std::wstring> value =
      input.Text(modes[1] ? L"Enter attribute value: " : L"Enter default attribute value: ");
  if (!value) return;
  auto definition = std::make_unique<AcDbAttributeDefinition>();
  if (definition->setTag(fw::ToUpper(*tag).c_str()) != Acad::eOk) {
    return input.Fail(L"Invalid attribute tag: it may not be empty or hold blanks.");
  }
  if (definition->setPrompt(prompt->c_str()) != Acad::eOk ||
      definition->setTextString(value->c_str()) != Acad::eOk) {
    return input.Fail(L"The text is too long for one line.");
  }
  std::optional<TextPlacement> placement = AskTextPlacement(context);
  if (!placement) return;
  (void)definition->setPosition(placement->position);
  (void)definition->setHeight(placement->height);
  (void)definition->setRotation(placement->rotation);
  (void)definition->setInvisible(modes[0]);
  (void)definition->setConstant(modes[1]);
  (void)definition->setVerifiable(modes[2]);
  (void)definition->setPreset(modes[3]);
  context.AddToModelSpace(std::move(definition));
}

// Horizontal when the dimension line lies above or below the two origins, vertical when beside
// them, otherwise along the larger of the two distances.
double AutomaticRotation(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& at) {
  const bool withinX = at.x >= std::min(a.x, b.x) && at.x <= std::max(a.x, b.x);
  const bool withinY = at.y >= std::min(a.y, b.y) && at.y <= std::max(a.y, b.y);
  if (withinX && !withinY) return 0;
  if (withinY && !withinX) return std::numbers::pi / 2;
  return std::fabs(b.x - a.x) >= std::fabs(b.y - a.y) ? 0 : std::numbers::pi / 2;
}

// Dimensions keep their definition points on layer Defpoints, which the first one creates.
bool EnsureDefpoints(CommandContext& context) {
  AcDbImpDatabase& inside = context.Inside();
  if (!inside.FindRecord(inside.Standard().layerTable, L"Defpoints").isNull()) return true;
  AcDbObjectId id;
  const Acad::ErrorStatus status =
      AddRecord(inside.Standard().layerTable, new AcDbLayerTableRecord, L"Defpoints", id);
  if (status != Acad::eOk) context.Refused(status, L"Creating layer Defpoints");
  return status == Acad::eOk;
}

void DimlinearCommand(Host& host) {
  CommandContext context(host);
  CommandInput& input = context.Input();
  std::optional<AcGePoint3d> first = input.Point(L"Specify first extension line origin: ");
  if (!first) return;
  std::optional<AcGePoint3d> second = input.Point(L"Specify second extension line origin: ");
  if (!second) return;
  std::optional<double> rotation;
  std::wstring text;
  static constexpr const wchar_t* kOptions[] = {L"Text", L"Horizontal", L"Vertical", L"Rotated"};
  std::optional<AcGePoint3d> location;
  while (!location) {
    std::optional<std::wstring> answer =
        input.Word(L"Specify dimension line location or\n[Text/Horizontal/Vertical/Rotated]: ");
    if (!answer) return;
    switch (CommandInput::MatchKeyword(*answer, kOptions)) {
      case 0: {
        AcDbRotatedDimension measure(rotation.value_or(0), *first, *second, *first);
        double distance = 0;
        (void)measure.measurement(distance);
        std::optional<std::wstring> typed = input.Text(
            fw::Format(L"Enter dimension text <%s>: ", input.Distance(distance).c_str()));
        if (!typed) return;
        text = *typed;
        continue;
      }
      case 1:
        rotation = 0;
        continue;
      case 2:
        rotation = std::numbers::pi / 2;
        continue;
      case 3:
        rotation = input.Angle(L"Specify angle of dimension line <0>: ", 0);
        if (!rotation) return;
        continue;
      default:
        location = input.ParsePoint(*answer);
        if (!location) return input.Fail(L"Point or option keyword required.");
        input.SetLastPoint(*location);
    }
  }
  auto dimension = std::make_unique<AcDbRotatedDimension>(
      rotation.value_or(AutomaticRotation(*first, *second, *location)), *first, *second, *location);
  if (dimension->setDimensionText(text.c_str()) != Acad::eOk) {
    return input.Fail(L"The text is too long for one line.");
  }
  double distance = 0;
  (void)dimension->measurement(distance);
  if (!EnsureDefpoints(context) || !context.AddToModelSpace(std::move(dimension))) return;
  input.Print(L"Dimension text = " + (text.empty() ? input.Distance(distance) : text) + L"\n");
}

}  // namespace

void AddDrawCommands(Host& host) {
  AddHostCommand(host, L"LINE", ACRX_CMD_MODAL, LineCommand);
  AddHostCommand(host, L"CIRCLE", ACRX_CMD_MODAL, CircleCommand);
  AddHostCommand(host, L"ARC", ACRX_CMD_MODAL, ArcCommand);
  AddHostCommand(host, L"TEXT", ACRX_CMD_MODAL, TextCommand);
  AddHostCommand(host, L"ATTDEF", ACRX_CMD_MODAL, AttdefCommand);
  AddHostCommand(host, L"DIMLINEAR", ACRX_CMD_MODAL, DimlinearCommand);
}

}  // namespace minicad
