#include "core/Platform.h"
#include "editors/EditorControls.h"

#include "editors/SBinaryCtrl.h"
#include "editors/SCodeEditCtrl.h"
#include "editors/SGraphCtrl.h"
#include "editors/SImageEditor.h"
#include "editors/SSpreadCtrl.h"
#include "editors/SWaveEditor.h"

void RegisterEditorControls() {
  // One entry per editor control kind: its file's registration function.
  for (bool (*add)() : {SBinaryCtrl::Register, SCodeEditCtrl::Register, SGraphCtrl::Register,
                        SImageEditor::Register, SSpreadCtrl::Register, SWaveEditor::Register})
    add();
}
