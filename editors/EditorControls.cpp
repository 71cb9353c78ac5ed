#include "core/Platform.h"
#include "editors/EditorControls.h"

#include "editors/SGraphCtrl.h"

void RegisterEditorControls() {
  // One line per editor control kind: its file's registration function.
  SGraphCtrl::Register();
}
