#include "core/Platform.h"
#include "engine/SDxSettings.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "window/FrameworkMessages.h"

#include <stdlib.h>

SHORT(WINAPI* SDxSettings::s_getAsyncKeyState)(int key) = ::GetAsyncKeyState;

namespace {

const int kClientWidth = 405;
const int kClientHeight = 330;
const int kMinWidth = 640;
const int kMinHeight = 480;
const int kPreferredWidth = 800;  // the first full-screen mode this wide is the default
const int kDefaultWindowed = 2;

const char* const kWindowedSizes[] = {
    "640x360 (16/9)",  "800x450 (16/9)",  "880x495 (16/9)",  "960x540 (16/9)",   "1024x576 (16/9)",
    "1152x648 (16/9)", "1280x720 (16/9)", "1360x765 (16/9)", "1440x810 (16/9)",  "1520x855 (16/9)",
    "1600x900 (16/9)", "1680x945 (16/9)", "1760x990 (16/9)", "1840x1035 (16/9)", "1920x1080 (16/9)",
};
const int kWindowedCount = (int)(sizeof(kWindowedSizes) / sizeof(kWindowedSizes[0]));
static_assert(kDefaultWindowed < kWindowedCount, "the default window size is listed");

struct ControlPlace {
  int id;
  RECT rect;
};

const ControlPlace kPlaces[] = {
    {SDxSettings::_SWndSettings::ID_FULLSCREEN_LIST, {5, 5, 200, 295}},
    {SDxSettings::_SWndSettings::ID_WINDOWED_LIST, {205, 5, 400, 295}},
    {SDxSettings::_SWndSettings::ID_FULLSCREEN, {5, 302, 200, 325}},
    {SDxSettings::_SWndSettings::ID_WINDOWED, {205, 302, 400, 325}},
};

const RECT* PlaceOf(int id) {
  for (const ControlPlace& place : kPlaces)
    if (place.id == id) return &place.rect;
  return nullptr;
}

uint32_t Pack(uint32_t width, uint32_t height) {
  return ((width & 0xFFFF) << 16) | (height & 0xFFFF);
}

// "WIDTHxHEIGHT ..." back to the packed size: the number before the first
// "x" and the one after it up to the next blank, each modulo 65536.
uint32_t ParseSize(const char* text) {
  const char* x = strchr(text, 'x');
  if (!x) return 0;
  return Pack((uint32_t)strtoul(text, nullptr, 10), (uint32_t)strtoul(x + 1, nullptr, 10));
}

}  // namespace

SDxSettings::SDxSettings() {}

SDxSettings::~SDxSettings() {}

SDxSettings::_SWndSettings::_SWndSettings() : m_fullScreen(false), m_slowWarning(true) {
  uint32_t size = ParseSize(kWindowedSizes[kDefaultWindowed]);
  m_width = size >> 16;
  m_height = size & 0xFFFF;
}

SDxSettings::_SWndSettings::~_SWndSettings() {}

bool SDxSettings::Run(const char* title, SDxConfig* config, const char* registryKey) {
  m_registryKey.Set(registryKey && strlen(registryKey) < SDxConfig::REGISTRY_KEY_SIZE ? registryKey
                                                                                      : "");
  m_title.Set(title ? title : "");
  _SWndSettings window;
  window.m_registryKey = m_registryKey;
  const char* caption = m_title.GetLength() > 0 ? m_title.GetText() : "DirectX";
  if (!window.Create(caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, nullptr, nullptr, nullptr,
                     nullptr, ::GetModuleHandleA(nullptr))) {
    return false;
  }
  if (window.RunModal(0, 0) != 0) return false;
  if (config) {
    config->width = (int32_t)window.m_width;
    config->height = (int32_t)window.m_height;
    config->fullScreen = window.m_fullScreen;
    config->slowWarning = window.m_slowWarning;
    config->SetRegistryKey(m_registryKey.GetText());
  }
  return true;
}

void SDxSettings::_SWndSettings::Build() {
  bool keyed = m_registryKey.GetLength() > 0;
  const char* key = m_registryKey.GetText();
  uint32_t rememberedFull = keyed ? m_registry.GetNumber(HKEY_CURRENT_USER, key, "DxResFull") : 0;
  uint32_t rememberedWindow =
      keyed ? m_registry.GetNumber(HKEY_CURRENT_USER, key, "DxResWindow") : 0;
  int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);

  SDx::EnumDisplayModes(&m_modes);
  int defaultFull = -1;
  for (int i = 0; i < m_modes.GetCount();) {
    int width = (int)(m_modes[i] >> 16), height = (int)(m_modes[i] & 0xFFFF);
    if (width < kMinWidth || height < kMinHeight) {
      m_modes.RemoveAt(i);
      continue;
    }
    if (defaultFull < 0 && width >= kPreferredWidth) defaultFull = i;
    ++i;
  }
  if (defaultFull < 0) defaultFull = m_modes.GetCount() - 1;

  SetClientSize(kClientWidth, kClientHeight);
  Center(false);

  DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWVARIABLE;
  m_fullScreenList.Create(listStyle, WS_EX_CLIENTEDGE, PlaceOf(ID_FULLSCREEN_LIST), m_hWnd,
                          ID_FULLSCREEN_LIST);
  int selection = defaultFull;
  for (int i = 0; i < m_modes.GetCount(); ++i) {
    int width = (int)(m_modes[i] >> 16), height = (int)(m_modes[i] & 0xFFFF);
    SString text;
    SString ratio = FormatRatio(width, height);
    text.Format("%dx%d (%s)", width, height, ratio.GetLength() > 0 ? ratio.GetText() : "");
    if (width == screenWidth && height == screenHeight) text += " CURRENT";
    m_fullScreenList.AddItem(text.GetText());
    if (m_modes[i] == rememberedFull) selection = i;
  }
  m_fullScreenList.SetSelection(selection);

  m_windowedList.Create(listStyle, WS_EX_CLIENTEDGE, PlaceOf(ID_WINDOWED_LIST), m_hWnd,
                        ID_WINDOWED_LIST);
  selection = -1;
  for (int i = 0; i < kWindowedCount; ++i) {
    m_windowedList.AddItem(kWindowedSizes[i]);
    if (selection < 0 && ParseSize(kWindowedSizes[i]) == rememberedWindow) selection = i;
  }
  m_windowedList.SetSelection(selection < 0 ? kDefaultWindowed : selection);

  m_fullScreenButton.CreateControl("BUTTON", "Fullscreen Mode",
                                   WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, PlaceOf(ID_FULLSCREEN),
                                   m_hWnd, (HMENU)ID_FULLSCREEN);
  m_windowedButton.CreateControl("BUTTON", "Windowed Mode",
                                 WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0, PlaceOf(ID_WINDOWED),
                                 m_hWnd, (HMENU)ID_WINDOWED);
  ::SetFocus(m_fullScreenList.m_hWnd);
}

bool SDxSettings::_SWndSettings::Choose(bool fullScreen) {
  SListCtrl* list = fullScreen ? &m_fullScreenList : &m_windowedList;
  int selection = list->GetSelection();
  uint32_t size = 0;
  if (fullScreen && selection >= 0 && selection < m_modes.GetCount()) {
    size = m_modes[selection];
  } else if (!fullScreen && selection >= 0) {
    size = ParseSize(list->GetItemText(selection).GetText());
  }
  if (size == 0) return false;
  m_fullScreen = fullScreen;
  m_width = size >> 16;
  m_height = size & 0xFFFF;
  if (m_registryKey.GetLength() > 0) {
    m_registry.SetNumber(HKEY_CURRENT_USER, m_registryKey.GetText(),
                         fullScreen ? "DxResFull" : "DxResWindow", size);
  }
  return true;
}

LRESULT SDxSettings::_SWndSettings::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  SWnd* sender = reinterpret_cast<SWnd*>(wParam);
  switch (message) {
    case SWM_AFTERCREATE:
      Build();
      break;
    case SWM_BUTTONCLICKED:
      if (sender != &m_fullScreenButton && sender != &m_windowedButton) break;
      // Shift held while clicking turns the slow-frame warning off.
      if (s_getAsyncKeyState(VK_SHIFT) < 0) m_slowWarning = false;
      // Without a selection the window stays open: nothing was chosen.
      if (Choose(sender == &m_fullScreenButton)) EndModal();
      break;
    case SWM_LISTBOXDBLCLK:
      if (sender != &m_fullScreenList && sender != &m_windowedList) break;
      if (Choose(sender == &m_fullScreenList)) EndModal();
      break;
    case SWM_MODALRETURN:
      Choose(false);
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
