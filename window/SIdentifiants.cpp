#include "core/Platform.h"
#include "window/SIdentifiants.h"

#include "window/SCursor.h"

SIdentifiants g_identifiants;

namespace {

const struct {
  const char* name;
  int value;
} kCursorNames[] = {
    {"Arrow", CURSOR_ARROW},       {"AppStarting", CURSOR_APPSTARTING},
    {"Cross", CURSOR_CROSS},       {"Help", CURSOR_HELP},
    {"IBeam", CURSOR_IBEAM},       {"No", CURSOR_NO},
    {"SizeAll", CURSOR_SIZEALL},   {"SizeNESW", CURSOR_SIZENESW},
    {"SizeNS", CURSOR_SIZENS},     {"SizeNWSE", CURSOR_SIZENWSE},
    {"SizeWE", CURSOR_SIZEWE},     {"UpArrow", CURSOR_UPARROW},
    {"Wait", CURSOR_WAIT},         {"Dropper", CURSOR_DROPPER},
    {"Fill", CURSOR_FILL},         {"HandMove", CURSOR_HANDMOVE},
    {"Pen", CURSOR_PEN},           {"Zoom", CURSOR_ZOOM},
};

const struct {
  const char* name;
  int value;
} kColorNames[] = {
    {"3DDkShadow", COLOR_3DDKSHADOW},
    {"3DFace", COLOR_3DFACE},
    {"3DHighLight", COLOR_3DHIGHLIGHT},
    {"3DLight", COLOR_3DLIGHT},
    {"3DShadow", COLOR_3DSHADOW},
    {"ActiveBorder", COLOR_ACTIVEBORDER},
    {"ActiveCaption", COLOR_ACTIVECAPTION},
    {"AppWorkspace", COLOR_APPWORKSPACE},
    {"Background", COLOR_BACKGROUND},
    {"BtnText", COLOR_BTNTEXT},
    {"CaptionText", COLOR_CAPTIONTEXT},
    {"GradientActiveCaption", COLOR_GRADIENTACTIVECAPTION},
    {"GradientInactiveCaption", COLOR_GRADIENTINACTIVECAPTION},
    {"GrayText", COLOR_GRAYTEXT},
    {"HighLight", COLOR_HIGHLIGHT},
    {"HighLightText", COLOR_HIGHLIGHTTEXT},
    {"HotLight", COLOR_HOTLIGHT},
    {"InactiveBorder", COLOR_INACTIVEBORDER},
    {"InactiveCaption", COLOR_INACTIVECAPTION},
    {"InactiveCaptionText", COLOR_INACTIVECAPTIONTEXT},
    {"InfoBk", COLOR_INFOBK},
    {"InfoText", COLOR_INFOTEXT},
    {"Menu", COLOR_MENU},
    {"MenuHiLight", COLOR_MENUHILIGHT},
    {"MenuBar", COLOR_MENUBAR},
    {"MenuText", COLOR_MENUTEXT},
    {"ScrollBar", COLOR_SCROLLBAR},
    {"Window", COLOR_WINDOW},
    {"WindowFrame", COLOR_WINDOWFRAME},
    {"WindowText", COLOR_WINDOWTEXT},
};

}  // namespace

SIdentifiants::SIdentifiants() { AddStandardNames(); }

SIdentifiants::~SIdentifiants() {
  m_cursorNames.DeleteAndRemoveAll();
  m_colorNames.DeleteAndRemoveAll();
  m_cursorNames.FreeBuffer();
  m_colorNames.FreeBuffer();
  m_cursorValues.FreeBuffer();
  m_colorValues.FreeBuffer();
}

void SIdentifiants::AddStandardNames() {
  for (const auto& row : kCursorNames) {
    m_cursorValues.Add(row.value);
    m_cursorNames.Add(row.name);
  }
  for (const auto& row : kColorNames) {
    m_colorValues.Add(row.value);
    m_colorNames.Add(row.name);
  }
}
