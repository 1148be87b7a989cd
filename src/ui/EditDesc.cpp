// The Edit Block Description dialog's data exchange.
#include "ui/EditDesc.h"

#include "fw/DataExchange.h"
#include "ui/SideDlgIds.h"

namespace ui {

EditDesc::EditDesc() : Dialog(kEditDescTemplateId) {}

void EditDesc::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Text(kIdBlockDescription, description);
  exchange.MaxChars(kIdBlockDescription, description, kMaxDescriptionLength);
}

}  // namespace ui
