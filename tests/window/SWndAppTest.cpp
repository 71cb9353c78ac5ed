#include "core/Platform.h"
#include "window/SWndApp.h"

#include "RecordingWnd.h"
#include "window/Framework.h"
#include "window/MessageLoop.h"

#include <windowsx.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Presses or releases a real mouse button, so that its asynchronous state
// changes, and lets the resulting input pass.
void MouseButton(DWORD flag) {
  INPUT input;
  memset(&input, 0, sizeof(input));
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flag;
  ::SendInput(1, &input, sizeof(input));
  DrainMessages();
  FlushInputMessages();
}

void ReleaseButtons() {
  if (::GetAsyncKeyState(VK_LBUTTON) < 0) MouseButton(MOUSEEVENTF_LEFTUP);
  if (::GetAsyncKeyState(VK_RBUTTON) < 0) MouseButton(MOUSEEVENTF_RIGHTUP);
}

LPARAM Position(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// A captioned target window away from the screen's corner, recording the
// drag messages it receives.
class DragTest : public testing::Test {
protected:
  void SetUp() override {
    // The injected presses happen at the screen's far corner, away from
    // other windows.
    ::GetCursorPos(&savedCursor);
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    ReleaseButtons();
    ASSERT_NE(nullptr, g_appWindow);
    app = g_appWindow->m_hWnd;
    RECT rect = MakeRect(120, 80, 300, 200);
    ASSERT_TRUE(target.Create("target", WS_CAPTION, 0, &rect));
    origin.x = 0;
    origin.y = 0;
    ::ClientToScreen(target.m_hWnd, &origin);
    ::ClientToScreen(app, &appOrigin);
  }

  void TearDown() override {
    if (::GetCapture()) ::ReleaseCapture();
    g_appWindow->m_dragTarget = nullptr;
    ReleaseButtons();
    ::SetCursorPos(savedCursor.x, savedCursor.y);
  }

  // Drag messages seen by the target, in order.
  std::vector<RecordingWnd::Seen> Drags() const {
    std::vector<RecordingWnd::Seen> drags;
    for (const RecordingWnd::Seen& s : target.seen) {
      if (s.stage == 'W' && s.message >= SWM_CAPTUREMOVE && s.message <= SWM_CAPTURECANCEL) {
        drags.push_back(s);
      }
    }
    return drags;
  }

  // The target's client point for a point of the application window.
  LPARAM InTarget(int x, int y) const {
    return Position(x + appOrigin.x - origin.x, y + appOrigin.y - origin.y);
  }

  HWND app = nullptr;
  RecordingWnd target;
  POINT origin = {0, 0};
  POINT appOrigin = {0, 0};
  POINT savedCursor = {0, 0};
};

}  // namespace

TEST_F(DragTest, ALeftDragSendsMovesThenAMoveAndTheDropAtTheRelease) {
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  ASSERT_LT(::GetAsyncKeyState(VK_LBUTTON), 0) << "the injected press is down";
  ASSERT_TRUE(g_appWindow->BeginCapture(target.m_hWnd));
  EXPECT_EQ(app, ::GetCapture());
  // One drag at a time.
  RecordingWnd other;
  ASSERT_TRUE(other.Create("", 0));
  EXPECT_FALSE(g_appWindow->BeginCapture(other.m_hWnd));
  EXPECT_EQ(target.m_hWnd, g_appWindow->m_dragTarget);

  ::SendMessageA(app, WM_MOUSEMOVE, MK_LBUTTON, Position(200, 150));
  // Points left of and above the target come out negative.
  ::SendMessageA(app, WM_MOUSEMOVE, MK_LBUTTON, Position(-30, 5));
  // The other button's release does not end the drag.
  ::SendMessageA(app, WM_RBUTTONUP, MK_LBUTTON, Position(210, 160));
  EXPECT_EQ(target.m_hWnd, g_appWindow->m_dragTarget);
  ::SendMessageA(app, WM_LBUTTONUP, 0, Position(250, 170));

  std::vector<RecordingWnd::Seen> drags = Drags();
  ASSERT_EQ(4u, drags.size());
  const UINT messages[] = {SWM_CAPTUREMOVE, SWM_CAPTUREMOVE, SWM_CAPTUREMOVE, SWM_CAPTUREDROP};
  const LPARAM positions[] = {InTarget(200, 150), InTarget(-30, 5), InTarget(250, 170),
                              InTarget(250, 170)};
  for (size_t i = 0; i < drags.size(); ++i) {
    EXPECT_EQ(messages[i], drags[i].message) << i;
    EXPECT_EQ(1u, drags[i].wParam) << i;
    EXPECT_EQ(positions[i], drags[i].lParam) << i;
  }
  EXPECT_LT(GET_X_LPARAM(drags[1].lParam), 0);
  EXPECT_EQ(nullptr, g_appWindow->m_dragTarget);
  EXPECT_EQ(nullptr, ::GetCapture());

  // Nothing more after the drop: no cancel for the released capture, no
  // moves without a drag.
  ::SendMessageA(app, WM_MOUSEMOVE, 0, Position(1, 1));
  EXPECT_EQ(4u, Drags().size());
}

TEST_F(DragTest, ARightDragCarriesButtonFourAndIgnoresTheLeftRelease) {
  MouseButton(MOUSEEVENTF_RIGHTDOWN);
  ASSERT_LT(::GetAsyncKeyState(VK_RBUTTON), 0);
  ASSERT_TRUE(g_appWindow->BeginCapture(target.m_hWnd));
  EXPECT_EQ(4, g_appWindow->m_dragButton);

  ::SendMessageA(app, WM_MOUSEMOVE, MK_RBUTTON, Position(130, 90));
  ::SendMessageA(app, WM_LBUTTONUP, MK_RBUTTON, Position(131, 91));
  EXPECT_EQ(app, ::GetCapture());
  ::SendMessageA(app, WM_RBUTTONUP, 0, Position(140, 95));

  std::vector<RecordingWnd::Seen> drags = Drags();
  ASSERT_EQ(3u, drags.size());
  EXPECT_EQ(SWM_CAPTUREDROP, drags[2].message);
  for (const RecordingWnd::Seen& s : drags) EXPECT_EQ(4u, s.wParam);
  EXPECT_EQ(InTarget(140, 95), drags[2].lParam);
  EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(DragTest, LosingTheCaptureCancelsAtTheCursorPosition) {
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(g_appWindow->BeginCapture(target.m_hWnd));
  ::SendMessageA(app, WM_MOUSEMOVE, MK_LBUTTON, Position(200, 150));

  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 7, ::GetSystemMetrics(SM_CYSCREEN) - 5);
  POINT cursor;
  ::GetCursorPos(&cursor);
  RecordingWnd other;
  ASSERT_TRUE(other.Create("", 0));
  ::SetCapture(other.m_hWnd);

  std::vector<RecordingWnd::Seen> drags = Drags();
  ASSERT_EQ(2u, drags.size());
  EXPECT_EQ(SWM_CAPTURECANCEL, drags[1].message);
  EXPECT_EQ(1u, drags[1].wParam);
  EXPECT_EQ(Position(cursor.x - origin.x, cursor.y - origin.y), drags[1].lParam);
  EXPECT_EQ(nullptr, g_appWindow->m_dragTarget);
  EXPECT_EQ(other.m_hWnd, ::GetCapture());

  // The drag is over: a late release sends nothing.
  ::SendMessageA(app, WM_LBUTTONUP, 0, Position(5, 5));
  EXPECT_EQ(2u, Drags().size());
}

TEST_F(DragTest, BeginCaptureNeedsATargetAndAButtonDown) {
  ASSERT_GE(::GetAsyncKeyState(VK_LBUTTON), 0);
  ASSERT_GE(::GetAsyncKeyState(VK_RBUTTON), 0);
  HWND before = ::GetCapture();
  EXPECT_FALSE(g_appWindow->BeginCapture(target.m_hWnd));
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  EXPECT_FALSE(g_appWindow->BeginCapture(nullptr));
  EXPECT_EQ(nullptr, g_appWindow->m_dragTarget);
  EXPECT_EQ(before, ::GetCapture());
}

namespace {

std::vector<SWave*> g_ticked;

// A tick after which its sound leaves the list, as a finished sound may.
void TickAndLeave(SWave* sound) {
  g_ticked.push_back(sound);
  g_appWindow->m_sounds.RemoveValue(sound);
}

SWave* FakeSound(int n) {
  static char sounds[4];
  return reinterpret_cast<SWave*>(&sounds[n]);
}

}  // namespace

TEST(SWndApp, EveryTimerTickUpdatesTheSoundsInListOrder) {
  SWndApp* app = g_appWindow;
  ASSERT_NE(nullptr, app);
  SWndApp::SoundUpdateHook savedHook = SWndApp::s_updateSound;

  // Without the hook a tick does nothing.
  SWndApp::s_updateSound = nullptr;
  for (int i = 0; i < 3; ++i) app->m_sounds.Add(FakeSound(i));
  ::SendMessageA(app->m_hWnd, WM_TIMER, 1, 0);

  // Sounds that leave the list while ticking do not make others miss theirs.
  SWndApp::s_updateSound = TickAndLeave;
  g_ticked.clear();
  ::SendMessageA(app->m_hWnd, WM_TIMER, 7, 0);
  EXPECT_EQ((std::vector<SWave*>{FakeSound(0), FakeSound(1), FakeSound(2)}), g_ticked);
  EXPECT_EQ(0, app->m_sounds.GetCount());

  // Timer 1 of the application window is stopped through the window base.
  ASSERT_NE(0u, ::SetTimer(app->m_hWnd, 1, 60000, nullptr));
  EXPECT_TRUE(SWnd::StopTimer(app));
  EXPECT_FALSE(SWnd::StopTimer(app));
  app->m_sounds.FreeBuffer();
  SWndApp::s_updateSound = savedHook;

  // Destruction destroys the window but not the sounds (deleting these
  // would crash: they are no objects).
  SWndApp* other = new SWndApp;
  ASSERT_TRUE(other->Create("", 0));
  HWND hWnd = other->m_hWnd;
  other->m_sounds.Add(FakeSound(0));
  other->m_sounds.Add(FakeSound(3));
  delete other;
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(nullptr, SWnd::FromHandle(hWnd));
}
