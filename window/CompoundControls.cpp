#include "core/Platform.h"
#include "window/CompoundControls.h"

#include "window/SBrowserCtrl.h"
#include "window/SFlashCtrl.h"
#include "window/SGuiCtrl.h"
#include "window/SMediaPlayerCtrl.h"
#include "window/STabDocCtrl.h"
#include "window/STreeCtrl.h"

void RegisterCompoundControls() {
  // One line per kind: its file's registration function.
  for (bool (*add)() : {STreeCtrl::Register, SMediaPlayerCtrl::Register, SBrowserCtrl::Register,
                        SFlashCtrl::Register, SGuiCtrl::Register, STabDocCtrl::Register}) {
    add();
  }
}
