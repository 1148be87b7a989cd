// The drawing a file manager names: a path, or a local file:// URI as thumbnailers receive it.
#pragma once

#include <string>
#include <string_view>

#include "fw/Result.h"

namespace thumbnailer {

// `argument` as a path: a file:// URI (file:///p, file://localhost/p or file:/p) has its
// percent-escapes turned into the bytes of the name, which then become a path through the
// framework's one conversion, so names that are not UTF-8 arrive intact; anything else is taken
// as a path as it is. A clear error for a URI naming another machine, holding a query or
// fragment, a broken escape or a NUL.
fw::Result<std::wstring> DrawingPathOf(std::string_view argument);

}  // namespace thumbnailer
