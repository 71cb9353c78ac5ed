#include "core/Platform.h"
#include "designer/DesignerControls.h"

#include "designer/SPanelCtrl.h"
#include "designer/SPropertyCtrl.h"

void RegisterDesignerControls() {
  // One entry per designer control kind: its file's registration function.
  for (bool (*add)() : {SPanelCtrl::Register, SPropertyCtrl::Register}) add();
}
