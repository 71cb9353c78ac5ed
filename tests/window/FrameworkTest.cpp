#include "core/Platform.h"
#include "window/Framework.h"

#include "core/SPath.h"
#include "window/SWnd.h"

#include <gtest/gtest.h>

namespace {

SString ModuleFileName() {
  char name[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, name, MAX_PATH);
  return SString(name);
}

}  // namespace

TEST(Framework, StartUpRegistersTheClassesWithTheArrowCursor) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  EXPECT_EQ(instance, GetInstanceHandle());
  const struct {
    const char* name;
    UINT style;
  } classes[] = {{"VANDRO", 0x0B}, {"VANDRO2", 0x20B}};
  for (const auto& expected : classes) {
    WNDCLASSEXA wc;
    memset(&wc, 0, sizeof(wc));
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(::GetClassInfoExA(instance, expected.name, &wc)) << expected.name;
    EXPECT_EQ(expected.style, wc.style) << expected.name;
    EXPECT_EQ(reinterpret_cast<WNDPROC>(SWnd::StaticWndProc), wc.lpfnWndProc);
    EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), wc.hCursor);
    EXPECT_EQ(nullptr, wc.hbrBackground);
    EXPECT_EQ(nullptr, wc.hIcon);
    EXPECT_EQ(0, wc.cbWndExtra);
  }

  // The no-close class.
  SWnd wnd;
  ASSERT_TRUE(wnd.Create("", WS_CAPTION | WS_SYSMENU, 0, nullptr, nullptr, nullptr, nullptr,
                         nullptr, true));
  char name[16] = {};
  ::GetClassNameA(wnd.m_hWnd, name, sizeof(name));
  EXPECT_STREQ("VANDRO2", name);
  EXPECT_TRUE(wnd.m_hasSystemMenu);
}

TEST(Framework, StartUpMakesTheFontsAndReadsTheScreen) {
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  int depth = ::GetDeviceCaps(screen, BITSPIXEL);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(depth, g_screenDepth);

  // 8 points: -11 at 96 dots per inch, -13 at 120, -16 at 144.
  const int heights[][2] = {{96, -11}, {120, -13}, {144, -16}};
  LOGFONTA font, message;
  ASSERT_NE(nullptr, g_defaultFont);
  ASSERT_TRUE(::GetObjectA(g_defaultFont, sizeof(font), &font));
  ASSERT_TRUE(::GetObjectA(g_messageFont, sizeof(message), &message));
  for (const auto& row : heights) {
    if (row[0] == dpi) {
      EXPECT_EQ(row[1], font.lfHeight);
    }
  }
  EXPECT_EQ(static_cast<LONG>(-(dpi * 8 + 36) / 72), font.lfHeight);
  EXPECT_STREQ(message.lfFaceName, font.lfFaceName);
  EXPECT_EQ(0, font.lfWeight);
  for (HFONT f : {g_menuFont, g_statusFont, g_captionFont, g_smallCaptionFont}) {
    EXPECT_NE(nullptr, f);
  }
  EXPECT_EQ(::RegisterWindowMessageA("commdlg_FindReplace"), g_findReplaceMessage);
  EXPECT_NE(nullptr, g_richEditLibrary);
}

TEST(Framework, ProgramFolderComesFromTheCommandLine) {
  EXPECT_GE(g_argumentCount, 1);
  SPath module(ModuleFileName().GetText());
  EXPECT_EQ(0, GetProgramFolder().CompareNoCase(module.GetFolderPath().GetText()))
      << GetProgramFolder().GetText();

  SString folder;
  EXPECT_EQ(3, ParseCommandLine("C:\\games\\run.exe -x y", &folder));
  EXPECT_STREQ("C:\\games\\", folder.GetText());
  EXPECT_EQ(2, ParseCommandLine("\"C:\\my games\\run.exe\" \"a b\"", &folder));
  EXPECT_STREQ("C:\\my games\\", folder.GetText());
  // A quoted folder keeps its last backslash and leaves the next argument.
  EXPECT_EQ(3, ParseCommandLine("\"C:\\my games\\\" next last", &folder));
  EXPECT_STREQ("C:\\my games\\", folder.GetText());
}

TEST(Framework, ShutdownReleasesAndStartUpFlagsChooseComAndTheModuleName) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  ShutdownFramework();
  WNDCLASSEXA wc;
  memset(&wc, 0, sizeof(wc));
  wc.cbSize = sizeof(wc);
  EXPECT_FALSE(::GetClassInfoExA(instance, "VANDRO", &wc));
  EXPECT_EQ(nullptr, GetInstanceHandle());
  EXPECT_EQ(nullptr, g_defaultFont);
  EXPECT_EQ(0, GetProgramFolder().GetLength());
  EXPECT_EQ(0u, g_gdiplusToken);
  {
    SWnd wnd;
    EXPECT_FALSE(wnd.Create("", 0)) << "no framework class after shutdown";
  }

  // Flag 8: COM is left alone and the module name is kept.
  StartupFramework(instance, SW_SHOWNORMAL, STARTUP_MODULE_NAME);
  HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  EXPECT_EQ(S_OK, com) << "COM was not initialised by the framework";
  if (SUCCEEDED(com)) ::CoUninitialize();
  EXPECT_EQ(0, g_moduleFileName.CompareNoCase(ModuleFileName().GetText()));
  EXPECT_NE(0u, g_gdiplusToken);
  ShutdownFramework();

  // The program's flags: COM initialised, no module name.
  StartupFramework(instance, SW_SHOWNORMAL, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  EXPECT_EQ(S_FALSE, com) << "COM was initialised by the framework";
  if (SUCCEEDED(com)) ::CoUninitialize();
  EXPECT_EQ(0, g_moduleFileName.GetLength());
  SWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  EXPECT_EQ(&wnd, SWnd::FromHandle(wnd.m_hWnd));
}
