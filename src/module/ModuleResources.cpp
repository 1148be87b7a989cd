// The module's own resources: the dialog templates, bitmaps and the button picture the framework
// finds by id while the module is mapped.
#include "fw/Resources.h"
#include "module/ButtonImage.h"
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
    {fw::BitmapResource{ui::kViewPicturesBitmapId, ui::ViewPicturesDib()}},
    {fw::DataResource{fw::RT_RCDATA, kButtonImageId, ButtonImagePng()}});

}  // namespace
}  // namespace module
