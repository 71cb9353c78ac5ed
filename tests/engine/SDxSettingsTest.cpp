#include "core/Platform.h"
#include "engine/SDxSettings.h"

#include "core/SRegistry.h"
#include "engine/SDx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const char* const kKey = "Software\\Ardel Vandro\\GravrunTest\\Settings";
const char* const kTitle = "Settings under test";

std::vector<uint32_t> g_modes;  // (width << 16) | height, as the adapter lists them

HRESULT ModeSeam(int call, HRESULT result, void* data) {
  if (call == SDx::D3DCALL_DISPLAY_MODE) {
    static_cast<D3DDISPLAYMODE*>(data)->RefreshRate = 60;
    return S_OK;
  }
  if (call != SDx::D3DCALL_ENUM_MODE) return result;
  SDx::_SModeQuery* query = static_cast<SDx::_SModeQuery*>(data);
  if (query->index >= g_modes.size()) return D3DERR_INVALIDCALL;
  query->mode.Width = g_modes[query->index] >> 16;
  query->mode.Height = g_modes[query->index] & 0xFFFF;
  query->mode.RefreshRate = 60;
  return S_OK;
}

bool g_shift = false;
SHORT WINAPI FakeKeyState(int key) { return key == VK_SHIFT && g_shift ? (SHORT)0x8000 : 0; }

// What the test does once the window runs modally.
std::function<void(SDxSettings::_SWndSettings*)> g_action;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  HWND hWnd = ::FindWindowA(nullptr, kTitle);
  if (!hWnd) hWnd = ::FindWindowA(nullptr, "DirectX");
  SWnd* wnd = SWnd::FromHandle(hWnd);
  ASSERT_NE(nullptr, wnd);
  g_action(static_cast<SDxSettings::_SWndSettings*>(wnd));
}

std::vector<std::string> Texts(SListCtrl& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.GetCount(); ++i) texts.push_back(list.GetItemText(i).GetText());
  return texts;
}

class SettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    SDx::s_direct3DSeam = ModeSeam;
    SDxSettings::s_getAsyncKeyState = FakeKeyState;
    g_shift = false;
    g_modes = {(640 << 16) | 480,  (600 << 16) | 480,   (640 << 16) | 400,
               (720 << 16) | 480,  (800 << 16) | 600,   (1021 << 16) | 767,
               (1366 << 16) | 768, (1280 << 16) | 1024, (1280 << 16) | 1024};
  }
  void TearDown() override {
    SDx::s_direct3DSeam = nullptr;
    SDxSettings::s_getAsyncKeyState = ::GetAsyncKeyState;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
  }
  // Runs the window with the action; the result of Run.
  bool Run(std::function<void(SDxSettings::_SWndSettings*)> action, const char* title = kTitle,
           const char* key = kKey) {
    g_action = action;
    ::SetTimer(nullptr, 0, 1, OnTimer);
    SDxSettings settings;
    return settings.Run(title, &config, key);
  }
  DWORD Stored(const char* name) { return registry.GetNumber(HKEY_CURRENT_USER, kKey, name); }

  SDxConfig config;
  SRegistry registry;
};

TEST_F(SettingsTest, ModesAreFilteredSortedAndPreselectedAndACancelChangesNothing) {
  std::string screen = std::to_string(::GetSystemMetrics(SM_CXSCREEN)) + "x" +
                       std::to_string(::GetSystemMetrics(SM_CYSCREEN)) + " ";
  g_modes.push_back((uint32_t)(::GetSystemMetrics(SM_CXSCREEN) << 16) |
                    (uint32_t)::GetSystemMetrics(SM_CYSCREEN));
  std::vector<std::string> full, windowed;
  int selections[2] = {-1, -1};
  RECT client = {0, 0, 0, 0};
  EXPECT_FALSE(Run([&](SDxSettings::_SWndSettings* window) {
    full = Texts(window->m_fullScreenList);
    windowed = Texts(window->m_windowedList);
    selections[0] = window->m_fullScreenList.GetSelection();
    selections[1] = window->m_windowedList.GetSelection();
    ::GetClientRect(window->m_hWnd, &client);
    window->PostMessage(WM_CLOSE);
  }));
  std::vector<std::string> expected = {"640x480 (4/3)", "720x480 (3/2)",   "800x600 (4/3)",
                                       "1021x767 ()",   "1280x1024 (5/4)", "1366x768 (683/384)"};
  // The desktop's own mode is marked; the comparison leaves it out.
  auto isScreen = [&](const std::string& text) {
    return text.compare(0, screen.size(), screen) == 0;
  };
  auto current = std::find_if(full.begin(), full.end(), isScreen);
  ASSERT_NE(full.end(), current);
  EXPECT_NE(std::string::npos, current->find(") CURRENT"));
  full.erase(current);
  expected.erase(std::remove_if(expected.begin(), expected.end(), isScreen), expected.end());
  EXPECT_EQ(expected, full);
  EXPECT_EQ(2, selections[0]) << "the first mode at least 800 wide";
  ASSERT_EQ(15u, windowed.size());
  EXPECT_EQ("1840x1035 (16/9)", windowed[13]);
  EXPECT_EQ(2, selections[1]);
  EXPECT_EQ(405, client.right);
  EXPECT_EQ(330, client.bottom);
  EXPECT_EQ(800, config.width) << "a cancel leaves the configuration alone";
  EXPECT_EQ(0u, Stored("DxResWindow"));
}

TEST_F(SettingsTest, EnterChoosesTheWindowedSizeAndWritesOnlyThatKind) {
  std::string caption(16, '\0');
  EXPECT_TRUE(Run(
      [&](SDxSettings::_SWndSettings* window) {
        caption.resize(::GetWindowTextA(window->m_hWnd, &caption[0], 16));
        ::PostMessageA(window->m_fullScreenList.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
      },
      ""));
  EXPECT_EQ("DirectX", caption);
  EXPECT_EQ(880, config.width);
  EXPECT_EQ(495, config.height);
  EXPECT_EQ(0, config.fullScreen);
  EXPECT_EQ(1, config.slowWarning);
  EXPECT_STREQ(kKey, config.registryKey);
  EXPECT_EQ((880u << 16) | 495, Stored("DxResWindow"));
  EXPECT_EQ(0u, Stored("DxResFull"));
}

TEST_F(SettingsTest, RememberedSizesArePreselectedAndOnlyShiftClickClearsTheSlowWarning) {
  registry.SetNumber(HKEY_CURRENT_USER, kKey, "DxResWindow", (1280u << 16) | 720);
  registry.SetNumber(HKEY_CURRENT_USER, kKey, "DxResFull", (1366u << 16) | 768);
  int selections[2] = {-1, -1};
  g_shift = true;
  EXPECT_TRUE(Run([&](SDxSettings::_SWndSettings* window) {
    selections[0] = window->m_fullScreenList.GetSelection();
    selections[1] = window->m_windowedList.GetSelection();
    window->m_fullScreenList.SetSelection(4);
    window->PostMessage(WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED),
                        (LPARAM)window->m_fullScreenButton.m_hWnd);
  }));
  EXPECT_EQ(5, selections[0]);
  EXPECT_EQ(6, selections[1]) << "1280x720 (16/9)";
  EXPECT_EQ(1280, config.width);
  EXPECT_EQ(1024, config.height);
  EXPECT_EQ(1, config.fullScreen);
  EXPECT_EQ(0, config.slowWarning) << "Shift held";
  EXPECT_EQ((1280u << 16) | 1024, Stored("DxResFull"));

  config.slowWarning = 1;
  EXPECT_TRUE(Run([&](SDxSettings::_SWndSettings* window) {
    window->SendMessage(SWM_LISTBOXDBLCLK, (WPARAM)&window->m_windowedList, 0);
  }));
  EXPECT_EQ(1, config.slowWarning) << "a double click does not look at Shift";
  EXPECT_EQ(720, config.height);
}

TEST_F(SettingsTest, NoModeCannotBeChosenAndAnOverlongKeyIsNotUsed) {
  g_modes = {(640 << 16) | 400};
  bool stayed = false;
  EXPECT_FALSE(Run([&](SDxSettings::_SWndSettings* window) {
    window->SendMessage(WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED),
                        (LPARAM)window->m_fullScreenButton.m_hWnd);
    stayed = ::IsWindowVisible(window->m_hWnd) != 0;
    window->PostMessage(WM_CLOSE);
  }));
  EXPECT_TRUE(stayed);

  std::string longKey = std::string(kKey) + "\\" + std::string(40, 'k');
  config.SetRegistryKey("before");
  EXPECT_TRUE(
      Run([&](SDxSettings::_SWndSettings* window) { window->PostMessage(WM_KEYDOWN, VK_RETURN); },
          kTitle, longKey.c_str()));
  EXPECT_STREQ("", config.registryKey);
  EXPECT_EQ(880, config.width);
  HKEY key = nullptr;
  EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, longKey.c_str(), 0, KEY_READ, &key));
}

}  // namespace
