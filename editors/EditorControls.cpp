#include "core/Platform.h"
#include "editors/EditorControls.h"

#include "editors/SCodeEditCtrl.h"
#include "editors/SImageEditor.h"
#include "editors/SWaveEditor.h"

void RegisterEditorControls() {
  // One entry per editor control kind: its file's registration function.
  for (bool (*add)() : {SCodeEditCtrl::Register, SWaveEditor::Register, SImageEditor::Register})
    add();
}
