// LoadToolbarFile and AddToolbarSeparator.
#include "core/Platform.h"
#include "window/ToolbarFile.h"

#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/SIni.h"
#include "core/SResource.h"
#include "window/SControlBarCtrl.h"
#include "window/SDialog.h"
#include "window/SImageList.h"
#include "window/SToolBarCtrl.h"

#include <string.h>
#include <vector>

namespace {

const char kMagic[] = "VANDRO TOOLBAR 1.0.0.0";
// Tool-bar creation styles: TBSTYLE_FLAT, TBSTYLE_TOOLTIPS,
// CCS_NOPARENTALIGN, CCS_NORESIZE.
const DWORD kToolBarStyle = 0x90C;
const BYTE kButtonStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT;

}  // namespace

TBBUTTON ToolbarSeparator(int id) {
  TBBUTTON button;
  memset(&button, 0, sizeof(button));
  button.idCommand = id;
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = BTNS_SEP;
  return button;
}

bool AddToolbarSeparator(SToolBarCtrl* toolBar, int id) {
  TBBUTTON separator = ToolbarSeparator(id);
  return toolBar && toolBar->AddButtons(&separator, 1);
}

bool LoadToolbarFile(SDialog* dialog, SFile* text, SToolBarFactory factory, void* arg,
                     SResource* archive, SMenuIdResolver resolver) {
  if (!dialog || !dialog->m_controlBar) return false;
  dialog->m_toolBarImages.Destroy();
  delete dialog->m_toolBar;
  dialog->m_toolBar = nullptr;

  if (!text || text->ReadLine(true) != kMagic) return false;
  SIni ini;
  if (!ini.Load(text)) return false;
  int count = ReadIniInt(&ini, "", "count");
  if (count > MAX_TOOLBAR_BUTTONS) return false;

  SToolBarCtrl* toolBar = factory ? factory(arg) : new SToolBarCtrl;
  if (!toolBar) return false;
  dialog->m_toolBar = toolBar;
  if (!toolBar->Create(kToolBarStyle, 0, nullptr, dialog->m_controlBar->m_hWnd, 0)) {
    delete toolBar;
    dialog->m_toolBar = nullptr;
    return false;
  }

  toolBar->SetTransparent();
  SImageList& images = dialog->m_toolBarImages;
  images.Create(ReadIniInt(&ini, "", "width"), ReadIniInt(&ini, "", "height"));
  toolBar->SetImageList(images.GetHandle());

  std::vector<TBBUTTON> buttons;
  std::vector<SString> labels(size_t(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) {
    SString section = SString::FromInt(i);
    const char* s = section.GetText();
    int id = 0;
    if (resolver) {
      SString name = ini.GetValue(s, "name");
      id = resolver(arg, name.GetText() ? name.GetText() : "");
    }
    bool hasImage = false;
    if (archive) {
      SString image = ini.GetValue(s, "image");
      SFileMem file;
      if (image.GetText() && archive->Load(&file, image.GetText(), true)) {
        hasImage = images.AddFromFile(&file);
      }
    }
    if (ReadIniFlag(&ini, s, "separator")) {
      buttons.push_back(ToolbarSeparator(id));
      continue;
    }
    if (id == 0) id = -2 - i;
    int imageIndex = -1;
    if (hasImage && images.GetHandle())
      imageIndex = ::ImageList_GetImageCount(images.GetHandle()) - 1;
    BYTE state = ReadIniFlag(&ini, s, "disabled") ? 0 : TBSTATE_ENABLED;
    labels[size_t(i)] = ini.GetValue(s, "text");
    TBBUTTON button = ToolbarSeparator(id);
    button.iBitmap = imageIndex;
    button.fsState = state;
    button.fsStyle = kButtonStyle;
    button.dwData = DWORD_PTR(ReadIniInt(&ini, s, "data"));
    const char* label = labels[size_t(i)].GetText();
    button.iString = reinterpret_cast<INT_PTR>(label ? label : "");
    buttons.push_back(button);
  }
  if (!buttons.empty()) toolBar->AddButtons(buttons.data(), int(buttons.size()));

  SIZE size = {0, 0};
  toolBar->SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  dialog->AddBand(toolBar, size.cx, size.cy);
  return true;
}
