#include "core/Platform.h"
#include "editors/EditorControls.h"

#include "editors/SImageEditor.h"
#include "editors/SWaveEditor.h"

void RegisterEditorControls() {
  // One line per editor control kind: its file's registration function.
  for (bool (*add)() : {SWaveEditor::Register, SImageEditor::Register}) add();
}
