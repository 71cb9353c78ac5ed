// Framework start-up and shutdown, the audio services and the class icons.
#include "core/Platform.h"
#include "window/Framework.h"

#include "core/PlatformGdiplus.h"
#include "core/SArray.h"
#include "core/SDll.h"
#include "core/SKeyboard.h"
#include "core/TimeBase.h"
#include "window/CompoundControls.h"
#include "window/MessageLoop.h"
#include "window/SCursor.h"
#include "window/SWnd.h"
#include "window/SWndApp.h"
#include "window/WindowPrivate.h"

#include <dsound.h>
#include <xaudio2.h>

namespace {

// Start-up's own state.
struct {
  int showCommand;
  HMODULE richEditLibrary;  // "Riched20.dll", kept for the process's life
} g_startup;

// True while COM is initialised by the framework, so that shutdown balances
// exactly what start-up did.
bool g_comStarted = false;

void ReleaseAudio() {
  if (g_masteringVoice) g_masteringVoice->DestroyVoice();
  g_masteringVoice = nullptr;
  if (g_xaudio2) g_xaudio2->Release();
  g_xaudio2 = nullptr;
}

}  // namespace

void CreateDirectSound() {
  if (g_directSound) g_directSound->Release();
  g_directSound = nullptr;
  if (!g_directSoundCreate) return;
  for (int tries = 0; tries < 10;) {
    IDirectSound8* object = nullptr;
    HRESULT result = g_directSoundCreate(nullptr, &object, nullptr);
    if (SUCCEEDED(result) && object) {
      g_directSound = object;
      break;
    }
    if (object) object->Release();
    if (result != DSERR_ALLOCATED && result != DSERR_NODRIVER) break;
    // The device may be busy for a moment: wait, then try again.
    DWORD start = timeGetTime();
    while (timeGetTime() - start < g_directSoundRetryWait) {
    }
    ++tries;
  }
  if (g_directSound) {
    HWND window = g_appWindow ? g_appWindow->m_hWnd : nullptr;
    g_directSound->SetCooperativeLevel(window, DSSCL_PRIORITY);
  }
}

uint32_t ChooseAudioDevice(const uint32_t* roles, uint32_t count) {
  for (uint32_t i = 0; roles && i < count; ++i) {
    if (roles[i] & DefaultGameDevice) return i;
  }
  return 0;
}

bool CreateXAudio2() {
  ReleaseAudio();
  IXAudio27* engine = nullptr;
  if (FAILED(::CoCreateInstance(__uuidof(XAudio27), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IXAudio27), reinterpret_cast<void**>(&engine))) ||
      !engine) {
    return false;
  }
  if (FAILED(engine->Initialize(0, XAUDIO2_DEFAULT_PROCESSOR))) {
    engine->Release();
    return false;
  }
  g_xaudio2 = engine;

  // Without a device there is no mastering voice to make (asking for one
  // then is not safe on every system).
  UINT32 count = 0;
  if (FAILED(engine->GetDeviceCount(&count)) || count == 0) return false;
  SArray<uint32_t> roles;
  for (UINT32 i = 0; i < count; ++i) {
    XAUDIO2_DEVICE_DETAILS details;
    memset(&details, 0, sizeof(details));
    bool known = SUCCEEDED(engine->GetDeviceDetails(i, &details));
    roles.Add(known ? static_cast<uint32_t>(details.Role) : 0);
  }
  uint32_t device = ChooseAudioDevice(&roles[0], count);
  // The 2.7 engine hands out its own voice interface through the declared
  // parameter type.
  IXAudio27MasteringVoice* voice = nullptr;
  HRESULT result = engine->CreateMasteringVoice(reinterpret_cast<IXAudio2MasteringVoice**>(&voice),
                                                XAUDIO2_DEFAULT_CHANNELS,
                                                XAUDIO2_DEFAULT_SAMPLERATE, 0, device, nullptr);
  if (FAILED(result) || !voice) {
    ReleaseAudio();
    return false;
  }
  g_masteringVoice = voice;
  return true;
}

void SetClassIcons(HICON largeIcon, HICON smallIcon) {
  auto setIcons = [&](HWND hWnd) {
    ::SetClassLongA(hWnd, GCL_HICON, static_cast<LONG>(reinterpret_cast<LONG_PTR>(largeIcon)));
    ::SetClassLongA(hWnd, GCL_HICONSM, static_cast<LONG>(reinterpret_cast<LONG_PTR>(smallIcon)));
  };
  if (g_appWindow && g_appWindow->m_hWnd) setIcons(g_appWindow->m_hWnd);
  // "VANDRO2" through a window of its own, made for the purpose.
  SWnd temporary;
  if (temporary.Create("", 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, true)) {
    setIcons(temporary.m_hWnd);
  }
}

void SetApplicationIcons(WORD largeIcon, WORD smallIcon) {
  SetClassIcons(::LoadIconA(GetInstanceHandle(), MAKEINTRESOURCEA(largeIcon)),
                ::LoadIconA(GetInstanceHandle(), MAKEINTRESOURCEA(smallIcon)));
}

void StartupFramework(HINSTANCE instance, int showCommand, unsigned int flags) {
  SetInstanceHandle(instance);
  g_startup.showCommand = showCommand;
  g_startupFlags = flags;
  InitFramework();
  Gdiplus::GdiplusStartupInput input;
  g_gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr);
  if (flags & STARTUP_WINSOCK) {
    WSADATA data;
    g_winsockStarted = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  if (flags & STARTUP_DIRECTSOUND) CreateDirectSound();
  if (flags & STARTUP_XAUDIO2) CreateXAudio2();
}

void InitFramework() {
  g_winsockStarted = false;
  SWnd::CreateHandleMap();
  LoadLocaleTables();
  BuildCursorTable();
  srand(timeGetTime());
  InitTimeBase();
  g_findReplaceMessage = ::RegisterWindowMessageA("commdlg_FindReplace");
  EmptyConversionScratch();
  g_moduleFileName.Empty();
  ReadCommandLine();

  if (g_startupFlags & STARTUP_MODULE_NAME) {
    char name[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(GetInstanceHandle(), name, MAX_PATH);
    name[length < MAX_PATH ? length : MAX_PATH - 1] = 0;
    g_moduleFileName = name;
  }

  HDC screen = ::GetDC(nullptr);
  g_screenDepth = ::GetDeviceCaps(screen, BITSPIXEL);
  ::ReleaseDC(nullptr, screen);

  CreateFrameworkFonts();
  SWnd::RegisterClasses();
  RegisterCompoundControls();
  delete g_appWindow;
  g_appWindow = new SWndApp;
  RECT empty = {0, 0, 0, 0};
  g_appWindow->Create("", 0, 0, &empty, nullptr, nullptr, nullptr, GetInstanceHandle());

  if (!(g_startupFlags & STARTUP_MODULE_NAME)) {
    g_comStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  g_sharedLibrary.Free();
  if (!g_startup.richEditLibrary) g_startup.richEditLibrary = ::LoadLibraryA("Riched20.dll");
}

void ShutdownFramework() {
  ReleaseAudio();
  if (g_directSound) g_directSound->Release();
  g_directSound = nullptr;
  if (g_winsockStarted) ::WSACleanup();
  g_winsockStarted = false;
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
  delete g_appWindow;
  g_appWindow = nullptr;
  ::UnregisterClassA("VANDRO2", GetInstanceHandle());
  ::UnregisterClassA("VANDRO", GetInstanceHandle());
  g_modelessDialogs.RemoveAll();
  g_modelessDialogs.FreeBuffer();
  DeleteFrameworkFonts();
  ForgetCommandLine();
  EmptyConversionScratch();
  g_moduleFileName.Empty();
  ClearCursorTable();
  SWnd::FreeHandleMap();
  SetInstanceHandle(nullptr);
}
