#include "core/Platform.h"
#include "editors/EditorControls.h"

#include "editors/SBinaryCtrl.h"
#include "editors/SSpreadCtrl.h"

void RegisterEditorControls() {
  // One line per editor control kind: its file's registration function.
  for (bool (*add)() : {SBinaryCtrl::Register, SSpreadCtrl::Register}) add();
}
