#include "core/Platform.h"
#include "window/Framework.h"

#include "core/SPath.h"
#include "core/TimeBase.h"
#include "window/SCursor.h"
#include "window/SWnd.h"
#include "window/SWndApp.h"
#include "tests/window/RecordingWnd.h"

#include <dsound.h>
#include <xaudio2.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

const unsigned int kProgramFlags = STARTUP_WINSOCK | STARTUP_XAUDIO2;

SString ModuleFileName() {
  char name[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, name, MAX_PATH);
  return SString(name);
}

bool ClassRegistered(const char* name) {
  WNDCLASSEXA wc;
  memset(&wc, 0, sizeof(wc));
  wc.cbSize = sizeof(wc);
  return ::GetClassInfoExA(::GetModuleHandleA(nullptr), name, &wc) != 0;
}

// S_OK when nobody had initialised COM on this thread, S_FALSE when someone
// had; the probe's own initialisation is undone.
HRESULT ProbeCom() {
  HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(result)) ::CoUninitialize();
  return result;
}

// The system's audio stack keeps one COM initialisation of the thread from
// the first XAudio2 engine of the process. It is set aside while a test
// checks that the framework balances its own, and given back afterwards.
int SetAsideOtherComInitialisations() {
  int count = 0;
  while (count < 8 && ProbeCom() == S_FALSE) {
    ::CoUninitialize();
    ++count;
  }
  return count;
}

void RestoreComInitialisations(int count) {
  for (int i = 0; i < count; ++i) ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

// Whether WinSock is started in this process: a socket can be made.
bool WinsockWorks() {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  ::closesocket(s);
  return true;
}

// Everything start-up builds, checked for the flags it was given.
void ExpectStarted(unsigned int flags) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  EXPECT_EQ(instance, GetInstanceHandle());
  EXPECT_EQ(flags, g_startupFlags);
  // The handle map holds the hidden application window, made after the
  // classes and never shown.
  ASSERT_NE(nullptr, g_appWindow);
  HWND app = g_appWindow->m_hWnd;
  EXPECT_EQ(g_appWindow, SWnd::FromHandle(app));
  EXPECT_FALSE(::IsWindowVisible(app));
  EXPECT_STREQ("February", g_locales[1].monthNames[1]);
  EXPECT_EQ(CURSOR_COUNT, g_cursorTable.GetCount());
  EXPECT_LT(GetTimeSeconds(), 5.0f) << "the clock starts with the framework";
  EXPECT_GT(GetProgramFolder().GetLength(), 0);
  EXPECT_NE(nullptr, g_defaultFont);
  EXPECT_TRUE(ClassRegistered("VANDRO2"));
  EXPECT_NE(0u, g_gdiplusToken);

  bool leaveCom = (flags & STARTUP_MODULE_NAME) != 0;
  EXPECT_EQ(leaveCom ? S_OK : S_FALSE, ProbeCom());
  EXPECT_EQ(leaveCom, g_moduleFileName.CompareNoCase(ModuleFileName().GetText()) == 0);

  bool winsock = (flags & STARTUP_WINSOCK) != 0;
  EXPECT_EQ(winsock, g_winsockStarted);
  EXPECT_EQ(winsock, WinsockWorks());

  // The test prefix has a null sound device, so every audio service starts.
  EXPECT_EQ((flags & STARTUP_DIRECTSOUND) != 0, g_directSound != nullptr);
  bool xaudio2 = (flags & STARTUP_XAUDIO2) && !leaveCom;
  EXPECT_EQ(xaudio2, g_xaudio2 != nullptr);
  EXPECT_EQ(xaudio2, g_masteringVoice != nullptr);
  if (g_masteringVoice) {
    XAUDIO27_VOICE_DETAILS details;
    memset(&details, 0, sizeof(details));
    g_masteringVoice->GetVoiceDetails(&details);
    EXPECT_GT(details.InputChannels, 0u);
  }
}

// Nothing of the framework is left after shutdown.
void ExpectStopped(HWND formerAppWindow) {
  EXPECT_EQ(nullptr, GetInstanceHandle());
  EXPECT_EQ(nullptr, g_appWindow);
  EXPECT_FALSE(::IsWindow(formerAppWindow));
  EXPECT_EQ(0, g_cursorTable.GetCount());
  EXPECT_EQ(nullptr, g_smallCaptionFont);
  EXPECT_EQ(0, GetProgramFolder().GetLength());
  EXPECT_EQ(0, g_moduleFileName.GetLength());
  EXPECT_FALSE(ClassRegistered("VANDRO"));
  EXPECT_FALSE(ClassRegistered("VANDRO2"));
  EXPECT_EQ(0u, g_gdiplusToken);
  EXPECT_EQ(S_OK, ProbeCom());
  EXPECT_FALSE(g_winsockStarted);
  EXPECT_FALSE(WinsockWorks());
  EXPECT_EQ(nullptr, g_directSound);
  EXPECT_EQ(nullptr, g_xaudio2);
  EXPECT_EQ(nullptr, g_masteringVoice);
}

// Sets values of the user's international settings (null deletes one) and
// puts back what it found when it goes.
class InternationalValues {
public:
  ~InternationalValues() {
    for (const auto& saved : m_saved) {
      Write(saved.first.c_str(), saved.second.first ? saved.second.second.c_str() : nullptr);
    }
  }
  bool Set(const char* name, const char* text) {
    if (!m_saved.count(name)) {
      char old[512] = {};
      DWORD size = sizeof(old);
      bool found = ::RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, old,
                                  &size) == ERROR_SUCCESS;
      m_saved[name] = std::make_pair(found, std::string(old));
    }
    return Write(name, text);
  }

private:
  static bool Write(const char* name, const char* text) {
    LONG result = text ? ::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name, REG_SZ, text,
                                           static_cast<DWORD>(strlen(text) + 1))
                       : ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, name);
    return result == ERROR_SUCCESS || (!text && result == ERROR_FILE_NOT_FOUND);
  }
  static constexpr const char* kKey = "Control Panel\\International";
  std::map<std::string, std::pair<bool, std::string>> m_saved;
};

// DirectSound creation that counts its calls and fails as told.
int g_createCalls = 0;
std::vector<HRESULT> g_createResults;

HRESULT WINAPI FakeDirectSoundCreate(const GUID* device, IDirectSound8** object, IUnknown* outer) {
  HRESULT result = g_createCalls < static_cast<int>(g_createResults.size())
                       ? g_createResults[g_createCalls]
                       : g_createResults.back();
  ++g_createCalls;
  if (result == S_OK) return ::DirectSoundCreate8(device, object, outer);
  *object = nullptr;
  return result;
}

}  // namespace

TEST(Framework, StartUpRegistersTheClassesAndMakesTheFonts) {
  // The no-close class.
  SWnd wnd;
  ASSERT_TRUE(wnd.Create("", WS_CAPTION | WS_SYSMENU, 0, nullptr, nullptr, nullptr, nullptr,
                         nullptr, true));
  EXPECT_EQ("VANDRO2", ClassOf(wnd.m_hWnd));
  EXPECT_TRUE(::GetClassLongA(wnd.m_hWnd, GCL_STYLE) & CS_NOCLOSE);

  // The default font is the message font's face at 8 points (-11 at 96
  // dots per inch); twips are truncated toward zero.
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  EXPECT_EQ(::GetDeviceCaps(screen, BITSPIXEL), g_screenDepth);
  ::ReleaseDC(nullptr, screen);
  LOGFONTA font, message;
  ASSERT_TRUE(::GetObjectA(g_defaultFont, sizeof(font), &font));
  ASSERT_TRUE(::GetObjectA(g_messageFont, sizeof(message), &message));
  EXPECT_EQ(static_cast<LONG>(-(dpi * 8 + 36) / 72), font.lfHeight);
  EXPECT_STREQ(message.lfFaceName, font.lfFaceName);
  EXPECT_NE(nullptr, g_smallCaptionFont);
  EXPECT_EQ(-(1440 * 7 / dpi), PixelsToTwips(-7));
}

TEST(Framework, ProgramFolderComesFromTheCommandLine) {
  EXPECT_GE(g_argumentCount, 1);
  SPath module(ModuleFileName().GetText());
  EXPECT_EQ(0, GetProgramFolder().CompareNoCase(module.GetFolderPath().GetText()))
      << GetProgramFolder().GetText();

  SString folder;
  EXPECT_EQ(2, ParseCommandLine("\"C:\\my games\\run.exe\" \"a b\"", &folder));
  EXPECT_STREQ("C:\\my games\\", folder.GetText());
  // A quoted folder keeps its last backslash and leaves the next argument.
  EXPECT_EQ(3, ParseCommandLine("\"C:\\my games\\\" next last", &folder));
  EXPECT_STREQ("C:\\my games\\", folder.GetText());
}

TEST(Framework, LocaleTablesReadTheUsersInternationalSettings) {
  InternationalValues values;
  ASSERT_TRUE(values.Set("iDigits", "3"));
  ASSERT_TRUE(values.Set("sDecimal", ";;"));
  ASSERT_TRUE(values.Set("sThousand", "'"));

  // Start-up reads them.
  ShutdownFramework();
  StartupFramework(::GetModuleHandleA(nullptr), SW_SHOWNORMAL, kProgramFlags);
  const SLocale& system = g_locales[0];
  EXPECT_EQ(3, system.digits);
  EXPECT_EQ(';', system.decimalSeparator);
  EXPECT_EQ('\'', system.thousandsSeparator);
  EXPECT_STREQ("Saturday", system.dayNames[6]);
  EXPECT_STREQ("Winter", system.seasonNames[3]);

  // Missing and empty values give the defaults.
  ASSERT_TRUE(values.Set("iDigits", nullptr));
  ASSERT_TRUE(values.Set("sDecimal", ""));
  ASSERT_TRUE(values.Set("sThousand", nullptr));
  LoadLocaleTables();
  EXPECT_EQ(0, system.digits);
  EXPECT_EQ('.', system.decimalSeparator);
  EXPECT_EQ(',', system.thousandsSeparator);

  // The fixed French table.
  const SLocale& french = g_locales[2];
  EXPECT_EQ(',', french.decimalSeparator);
  EXPECT_STREQ("Ao\xFBt", french.monthNames[7]);
}

TEST(Framework, EachFlagSetStartsItsServicesAndShutdownReleasesAll) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  DWORD savedWait = g_directSoundRetryWait;
  g_directSoundRetryWait = 1;
  const unsigned int flagSets[] = {
      0,
      STARTUP_MODULE_NAME,
      STARTUP_MODULE_NAME | STARTUP_XAUDIO2,  // no COM, so no XAudio2 either
      STARTUP_WINSOCK | STARTUP_DIRECTSOUND | STARTUP_XAUDIO2,
      kProgramFlags,  // last: the state the test program runs in
  };
  int otherCom = -1;
  for (unsigned int flags : flagSets) {
    SCOPED_TRACE(testing::Message() << "flags " << flags);
    HWND app = g_appWindow ? g_appWindow->m_hWnd : nullptr;
    ShutdownFramework();
    if (otherCom < 0) otherCom = SetAsideOtherComInitialisations();
    ExpectStopped(app);
    StartupFramework(instance, SW_SHOWNORMAL, flags);
    ExpectStarted(flags);
  }
  g_directSoundRetryWait = savedWait;

  // A second shutdown, or one after a partial start, finds nothing to release.
  ShutdownFramework();
  ShutdownFramework();
  ExpectStopped(nullptr);
  StartupFramework(instance, SW_SHOWNORMAL, kProgramFlags);
  RestoreComInitialisations(otherCom);
  SWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  EXPECT_EQ(&wnd, SWnd::FromHandle(wnd.m_hWnd));
}

TEST(Framework, DirectSoundTriesABusyDeviceTenTimesWithAWaitAfterEach) {
  DirectSoundCreateFunction savedCreate = g_directSoundCreate;
  DWORD savedWait = g_directSoundRetryWait;
  g_directSoundCreate = FakeDirectSoundCreate;
  g_directSoundRetryWait = 15;

  // Always busy: ten calls, ten waits, no object.
  g_createCalls = 0;
  g_createResults = {DSERR_ALLOCATED};
  DWORD start = timeGetTime();
  CreateDirectSound();
  DWORD elapsed = timeGetTime() - start;
  EXPECT_EQ(10, g_createCalls);
  EXPECT_EQ(nullptr, g_directSound);
  EXPECT_GE(elapsed, 10u * 15u - 5u);

  // Any other failure ends at once.
  g_createCalls = 0;
  g_createResults = {E_FAIL};
  CreateDirectSound();
  EXPECT_EQ(1, g_createCalls);
  EXPECT_EQ(nullptr, g_directSound);

  // A device that comes free on the third call.
  g_createCalls = 0;
  g_createResults = {DSERR_NODRIVER, DSERR_ALLOCATED, S_OK};
  CreateDirectSound();
  EXPECT_EQ(3, g_createCalls);
  ASSERT_NE(nullptr, g_directSound);
  DSCAPS caps;
  memset(&caps, 0, sizeof(caps));
  caps.dwSize = sizeof(caps);
  EXPECT_EQ(DS_OK, g_directSound->GetCaps(&caps));

  g_directSound->Release();
  g_directSound = nullptr;
  g_directSoundCreate = savedCreate;
  g_directSoundRetryWait = savedWait;
}

TEST(Framework, TheMasteringVoiceGoesToTheFirstDefaultGameDevice) {
  const uint32_t roles[] = {NotDefaultDevice, DefaultConsoleDevice, DefaultGameDevice,
                            GlobalDefaultDevice};
  EXPECT_EQ(2u, ChooseAudioDevice(roles, 4));
  const uint32_t global[] = {DefaultMultimediaDevice, GlobalDefaultDevice};
  EXPECT_EQ(1u, ChooseAudioDevice(global, 2)) << "the global default has the game role";
  // No device has the role: device 0.
  EXPECT_EQ(0u, ChooseAudioDevice(roles, 2));
  EXPECT_EQ(0u, ChooseAudioDevice(roles, 0));
}

TEST(Framework, ApplicationIconsGoToBothFrameworkClasses) {
  HINSTANCE instance = GetInstanceHandle();
  HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(107));
  ASSERT_NE(nullptr, icon) << "the test program holds icon 107";

  SetApplicationIcons(107, 107);
  SWnd other;
  ASSERT_TRUE(other.Create("", 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, true));
  for (HWND hWnd : {g_appWindow->m_hWnd, other.m_hWnd}) {
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(icon), ::GetClassLongA(hWnd, GCL_HICONSM));
  }
  SetClassIcons(nullptr, nullptr);
  EXPECT_EQ(0, ::GetClassLongA(g_appWindow->m_hWnd, GCL_HICON));
}

// Run by its own test entry, with a sound configuration that does not exist,
// so that the system has no audio device: start-up, this test and shutdown
// run without sound and without crashing.
TEST(FrameworkWithoutSoundDevice, DISABLED_StartsWithoutSound) {
  ASSERT_NE(nullptr, g_appWindow) << "the rest of the framework started";
  EXPECT_EQ(nullptr, g_masteringVoice);
  if (g_xaudio2) {
    UINT32 count = 1;
    EXPECT_TRUE(SUCCEEDED(g_xaudio2->GetDeviceCount(&count)));
    EXPECT_EQ(0u, count);
  }
  EXPECT_FALSE(CreateXAudio2());
  EXPECT_EQ(nullptr, g_masteringVoice);
  EXPECT_TRUE(g_winsockStarted);

  // DirectSound fails without a device too, and gives up.
  DWORD savedWait = g_directSoundRetryWait;
  g_directSoundRetryWait = 1;
  CreateDirectSound();
  EXPECT_EQ(nullptr, g_directSound);
  g_directSoundRetryWait = savedWait;
}
