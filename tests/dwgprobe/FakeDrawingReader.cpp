// A stand-in drawing reader assembly for the bridge tests: type `Services` answering
// `LoadDrawing` with known dates, a description and two viewport records (one inside its view,
// one outside), and failing for paths containing "fail". A path containing "empty" gets an empty
// description, one containing "always" its viewport records even when no points were wanted.
// Type `Broken` has no methods.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "fw/ManagedBridge.h"

namespace {

struct Services {
  int calls = 0;
};

fw_managed_value Value(std::int32_t kind) {
  fw_managed_value value{};
  value.kind = kind;
  return value;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void* Services_Create() { return new Services; }
__attribute__((visibility("default"))) void Services_Destroy(void* instance) {
  delete static_cast<Services*>(instance);
}

// Arguments: path, want points, bitmap width, bitmap height. The description echoes whether
// points were wanted and the bitmap size, so tests see what crossed the bridge.
__attribute__((visibility("default"))) std::int32_t Services_LoadDrawing(
    void* instance, const fw_managed_value* arguments, std::uint64_t count,
    const fw_managed_sink* results) {
  auto* services = static_cast<Services*>(instance);
  ++services->calls;
  if (count != 4 || arguments[0].kind != fw_managed_text) return 1;
  if (std::strstr(arguments[0].text, "throw")) return 1;
  fw_managed_value success = Value(fw_managed_bool);
  success.integer = std::strstr(arguments[0].text, "fail") ? 0 : 1;
  results->add(results->context, &success);

  // A top view of a 100 x 50 view centred at (50, 25); P at (25, 10) and at (500, 10).
  static const double kRecords[36] = {
      25, 10, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 100, 50, 0, 50, 25,
      500, 10, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 100, 50, 0, 50, 25};
  fw_managed_value records = Value(fw_managed_reals);
  records.reals = kRecords;
  records.count = arguments[1].integer || std::strstr(arguments[0].text, "always") ? 36 : 0;
  results->add(results->context, &records);

  fw_managed_value created = Value(fw_managed_integer);
  created.integer = 1000000000;
  results->add(results->context, &created);
  fw_managed_value modified = Value(fw_managed_integer);
  modified.integer = 1000000000 + services->calls;
  results->add(results->context, &modified);

  char text[96];
  std::snprintf(text, sizeof text, "Reader %lld %lldx%lld", static_cast<long long>(arguments[1].integer),
                static_cast<long long>(arguments[2].integer), static_cast<long long>(arguments[3].integer));
  fw_managed_value description = Value(fw_managed_text);
  description.text = std::strstr(arguments[0].text, "empty") ? "" : text;
  results->add(results->context, &description);
  return 0;
}

__attribute__((visibility("default"))) void* Broken_Create() { return new Services; }
__attribute__((visibility("default"))) void Broken_Destroy(void* instance) {
  delete static_cast<Services*>(instance);
}
}
