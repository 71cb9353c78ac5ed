#include "core/Platform.h"
#include "window/Framework.h"

#include "core/PlatformGdiplus.h"
#include "core/SDll.h"
#include "core/SKeyboard.h"
#include "core/SPath.h"
#include "core/SUniString.h"
#include "core/TimeBase.h"
#include "window/MessageLoop.h"
#include "window/SCursor.h"
#include "window/SWnd.h"

#include <math.h>
#include <stddef.h>

HINSTANCE g_instance = nullptr;
int g_showCommand = 0;
unsigned int g_startupFlags = 0;
bool g_winsockStarted = false;
ULONG_PTR g_gdiplusToken = 0;
UINT g_findReplaceMessage = 0;
int g_screenDepth = 0;
HFONT g_messageFont = nullptr;
HFONT g_menuFont = nullptr;
HFONT g_statusFont = nullptr;
HFONT g_captionFont = nullptr;
HFONT g_smallCaptionFont = nullptr;
HFONT g_defaultFont = nullptr;
int g_argumentCount = 0;
SString g_programFolder;
SString g_moduleFileName;
HMODULE g_richEditLibrary = nullptr;

namespace {

// True while COM is initialised by the framework, so that shutdown balances
// exactly what start-up did.
bool g_comStarted = false;

// The shared result string of the wide-to-8-bit conversion.
void EmptyConversionScratch() {
  const_cast<SString&>(SString::FromWide(nullptr)).Empty();
}

void DeleteFont(HFONT* font) {
  if (*font) ::DeleteObject(*font);
  *font = nullptr;
}

void CreateFonts() {
  // The structure without its padded-border field, as every Windows version
  // accepts it.
  NONCLIENTMETRICSA metrics;
  memset(&metrics, 0, sizeof(metrics));
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  g_messageFont = ::CreateFontIndirectA(&metrics.lfMessageFont);
  g_menuFont = ::CreateFontIndirectA(&metrics.lfMenuFont);
  g_statusFont = ::CreateFontIndirectA(&metrics.lfStatusFont);
  g_captionFont = ::CreateFontIndirectA(&metrics.lfCaptionFont);
  g_smallCaptionFont = ::CreateFontIndirectA(&metrics.lfSmCaptionFont);

  // 8 points, rounded to the nearest pixel with halves upward.
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  int height = static_cast<int>(floor(dpi * 8.0 / -72.0 + 0.5));
  g_defaultFont = ::CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                metrics.lfMessageFont.lfFaceName);
}

}  // namespace

HINSTANCE GetInstanceHandle() {
  return g_instance;
}

SString GetProgramFolder() {
  return g_programFolder;
}

int ParseCommandLine(const char* commandLine, SString* programFolder) {
  SString text(commandLine);
  text.ReplaceAll("\\\"", "\\\\\"");
  SUniString wide(text.GetText());
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(wide.GetText() ? wide.GetText() : L"", &count);
  if (!arguments) return 0;
  if (count != 0 && programFolder) {
    SString first(arguments[0]);
    SPath path(first.GetText());
    *programFolder = path.GetFolderPath();
  }
  ::LocalFree(arguments);
  return count;
}

void StartupFramework(HINSTANCE instance, int showCommand, unsigned int flags) {
  g_instance = instance;
  g_showCommand = showCommand;
  g_startupFlags = flags;
  InitFramework();
  Gdiplus::GdiplusStartupInput input;
  g_gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr);
  // WinSock, DirectSound and XAudio2 follow GDI+ here, by their flags.
}

void InitFramework() {
  g_winsockStarted = false;
  SWnd::CreateHandleMap();
  // The locale tables come here, before the cursors.
  BuildCursorTable();
  srand(timeGetTime());
  InitTimeBase();
  g_findReplaceMessage = ::RegisterWindowMessageA("commdlg_FindReplace");
  g_programFolder.Empty();
  EmptyConversionScratch();
  g_moduleFileName.Empty();

  const char* commandLine = ::GetCommandLineA();
  g_argumentCount = ParseCommandLine(commandLine ? commandLine : "", &g_programFolder);

  if (g_startupFlags & STARTUP_MODULE_NAME) {
    char name[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(g_instance, name, MAX_PATH);
    name[length < MAX_PATH ? length : MAX_PATH - 1] = 0;
    g_moduleFileName = name;
  }

  HDC screen = ::GetDC(nullptr);
  g_screenDepth = ::GetDeviceCaps(screen, BITSPIXEL);
  ::ReleaseDC(nullptr, screen);

  CreateFonts();
  SWnd::RegisterClasses();
  // The hidden application window comes here, after the classes.

  if (!(g_startupFlags & STARTUP_MODULE_NAME)) {
    g_comStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  g_sharedLibrary.Free();
  if (!g_richEditLibrary) g_richEditLibrary = ::LoadLibraryA("Riched20.dll");
}

void ShutdownFramework() {
  // The audio engines and WinSock are released here, before GDI+.
  if (g_gdiplusToken) Gdiplus::GdiplusShutdown(g_gdiplusToken);
  g_gdiplusToken = 0;
  CleanupFramework();
}

void CleanupFramework() {
  SKeyboard::FreeKeyNames();
  SString::ReleaseTrackedStrings();
  g_sharedLibrary.Free();
  if (g_comStarted) ::CoUninitialize();
  g_comStarted = false;
  // The hidden application window is deleted here, before its class goes.
  ::UnregisterClassA("VANDRO2", g_instance);
  ::UnregisterClassA("VANDRO", g_instance);
  g_modelessDialogs.RemoveAll();
  g_modelessDialogs.FreeBuffer();
  DeleteFont(&g_messageFont);
  DeleteFont(&g_menuFont);
  DeleteFont(&g_statusFont);
  DeleteFont(&g_captionFont);
  DeleteFont(&g_smallCaptionFont);
  DeleteFont(&g_defaultFont);
  g_programFolder.Empty();
  EmptyConversionScratch();
  g_moduleFileName.Empty();
  ClearCursorTable();
  SWnd::FreeHandleMap();
  g_instance = nullptr;
}
