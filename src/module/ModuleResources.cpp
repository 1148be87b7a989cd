// The module's own resources: the dialog templates and bitmaps the framework finds by id while
// the module is mapped.
#include "fw/Resources.h"
#include "layermap/SchemeDlgTemplates.h"
#include "ui/BlockDlgTemplate.h"
#include "ui/SideDlgTemplates.h"
#include "ui/ViewPictures.h"

namespace module {
namespace {

const fw::ModuleResources moduleResources(
    &moduleResources,
    {ui::BlockDlgTemplate(), ui::PrefsTemplate(), ui::DirPropsTemplate(), ui::EditDescTemplate(),
     layermap::SchemePrefsTemplate(), layermap::SchemeTypeTemplate(),
     layermap::NewMapTemplate()},
    {fw::BitmapResource{ui::kViewPicturesBitmapId, ui::ViewPicturesDib()}});

}  // namespace
}  // namespace module
