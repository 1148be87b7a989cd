// The module's own resources: the dialog templates the framework finds by id while the module
// is mapped.
#include "fw/Resources.h"
#include "ui/BlockDlgTemplate.h"

namespace module {
namespace {

const fw::ModuleResources moduleResources(&moduleResources, {ui::BlockDlgTemplate()}, {});

}  // namespace
}  // namespace module
