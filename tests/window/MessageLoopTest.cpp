#include "core/Platform.h"
#include "window/MessageLoop.h"

#include "RecordingWnd.h"
#include "window/Framework.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kAct = WM_USER + 10;  // runs the probe's action for it

struct IdleLog {
  std::vector<std::string>* log;
  HWND target;
  int calls;
  int quitAfter;
};

int RecordIdle(void* argument) {
  IdleLog* state = static_cast<IdleLog*>(argument);
  ++state->calls;
  if (state->log) state->log->push_back("idle");
  if (state->calls == 1 && state->target) ::PostMessageA(state->target, WM_USER + 3, 0, 0);
  if (state->calls == state->quitAfter) ::PostQuitMessage(0);
  return 0;
}

// A modeless dialog from an in-memory template without controls.
INT_PTR CALLBACK CountCancels(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    ::SetWindowLongPtrA(dialog, DWLP_USER, ::GetWindowLongPtrA(dialog, DWLP_USER) + 1);
    return TRUE;
  }
  return message == WM_INITDIALOG;
}

HWND CreateModelessDialog() {
  struct alignas(4) Template {
    DLGTEMPLATE dialog;
    WORD menu, windowClass, title;
  } dialogTemplate;
  memset(&dialogTemplate, 0, sizeof(dialogTemplate));
  dialogTemplate.dialog.style = WS_POPUP | WS_VISIBLE;
  dialogTemplate.dialog.cx = 50;
  dialogTemplate.dialog.cy = 30;
  return ::CreateDialogIndirectParamA(GetInstanceHandle(), &dialogTemplate.dialog, nullptr,
                                      CountCancels, 0);
}

bool QuitPending(WPARAM* code) {
  MSG msg;
  if (!::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
  if (code) *code = msg.wParam;
  return true;
}

}  // namespace

TEST(MessageLoop, PollingCallsTheIdleCallbackOncePerEmptyPoll) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  std::vector<std::string> log;
  for (UINT m : {WM_USER + 1, WM_USER + 2, WM_USER + 3}) {
    wnd.actions[m] = [&log, m] { log.push_back("m" + std::to_string(m - WM_USER)); };
  }
  wnd.PostMessage(WM_USER + 1);
  wnd.PostMessage(WM_USER + 2);
  IdleLog state = {&log, wnd.m_hWnd, 0, 2};
  bool blocking = false;
  RunMessageLoop(&blocking, RecordIdle, &state);
  const std::vector<std::string> expected = {"m1", "m2", "idle", "m3", "idle"};
  EXPECT_EQ(expected, log);
  EXPECT_FALSE(QuitPending(nullptr)) << "the application loop does not post WM_QUIT again";

  // A WM_QUIT taken while polling is dispatched once, then ends the loop;
  // one taken while waiting ends it undispatched.
  wnd.watched.push_back(WM_QUIT);
  wnd.PostMessage(WM_QUIT, 7);
  wnd.PostMessage(WM_USER + 1);
  log.clear();
  IdleLog polled = {&log, nullptr, 0, -1};
  RunMessageLoop(&blocking, RecordIdle, &polled);
  EXPECT_EQ(1, wnd.Count('W', WM_QUIT));
  EXPECT_EQ(0, polled.calls);
  EXPECT_TRUE(log.empty()) << "nothing after the WM_QUIT";
  DrainMessages();
  bool waiting = true;
  wnd.PostMessage(WM_QUIT, 8);
  RunMessageLoop(&waiting, RecordIdle, &polled);
  EXPECT_EQ(1, wnd.Count('W', WM_QUIT));
  EXPECT_FALSE(QuitPending(nullptr));

  // The loop never waits: every empty poll calls the idle callback once.
  IdleLog spin = {nullptr, nullptr, 0, 2000};
  RunMessageLoop(&blocking, RecordIdle, &spin);
  EXPECT_EQ(2000, spin.calls);

  // A handler switches between waiting and polling.
  wnd.actions[WM_USER + 1] = [&] {
    blocking = true;
    wnd.PostMessage(WM_USER + 2);
  };
  wnd.actions[WM_USER + 2] = [] { ::PostQuitMessage(3); };
  wnd.PostMessage(WM_USER + 1);
  state = {nullptr, nullptr, 0, -1};
  RunMessageLoop(&blocking, RecordIdle, &state);
  EXPECT_EQ(0, state.calls) << "after the switch the loop waited instead of calling idle";
  wnd.actions[WM_USER + 1] = [&] { blocking = false; };
  wnd.PostMessage(WM_USER + 1);
  state = {nullptr, nullptr, 0, 3};
  RunMessageLoop(&blocking, RecordIdle, &state);
  EXPECT_EQ(3, state.calls) << "polling again";
}

TEST(MessageLoop, ModelessDialogsAreListedOnceAndSeeMessagesFirst) {
  ASSERT_EQ(0, g_modelessDialogs.GetCount());
  HWND dialog = CreateModelessDialog();
  ASSERT_NE(nullptr, dialog);
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  AddModelessDialog(nullptr);
  AddModelessDialog(dialog);
  AddModelessDialog(dialog);
  ASSERT_EQ(2, g_modelessDialogs.GetCount());

  // Escape for the dialog is its dialog message (IDCANCEL); a message for
  // another window passes the dialogs (the null entry is skipped).
  ::PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
  wnd.PostMessage(WM_USER + 1);
  wnd.actions[WM_USER + 1] = [] { ::PostQuitMessage(0); };
  bool blocking = true;
  RunMessageLoop(&blocking, nullptr, nullptr);
  EXPECT_EQ(1, ::GetWindowLongPtrA(dialog, DWLP_USER));
  EXPECT_EQ(1, wnd.Count('W', WM_USER + 1));

  RemoveModelessDialogAt(-1);
  RemoveModelessDialogAt(2);
  EXPECT_EQ(2, g_modelessDialogs.GetCount());
  RemoveModelessDialogAt(0);
  ASSERT_EQ(1, g_modelessDialogs.GetCount());
  EXPECT_EQ(dialog, g_modelessDialogs[0]);
  RemoveModelessDialogAt(0);
  ::DestroyWindow(dialog);
  DrainMessages();
}

TEST(MessageLoop, ModalRunEndsWithItsResultAndMapsReturnAndEscape) {
  RecordingWnd modal;
  ASSERT_TRUE(modal.Create("", 0));

  // Return: SWM_MODALRETURN (0, 1) first, the key still reaches the window.
  modal.PostMessage(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(0, modal.RunModal(0, 0));
  ASSERT_EQ(1, modal.Count('O', SWM_MODALRETURN));
  EXPECT_EQ(1, modal.Count('W', WM_KEYDOWN));
  EXPECT_EQ(1, modal.Nth(SWM_MODALRETURN, 0, 'O').lParam);
  EXPECT_TRUE(::IsWindowVisible(modal.m_hWnd)) << "a hidden window is shown for the run";

  modal.PostMessage(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(-1, modal.RunModal(0, 0));
  EXPECT_EQ(1, modal.Count('O', SWM_MODALESCAPE));

  // An explicit result.
  modal.actions[kAct] = [&] { modal.SetModalResult(5); };
  modal.PostMessage(kAct);
  EXPECT_EQ(5, modal.RunModal(0, 0));

  // Return with the flag clear only reaches the window.
  modal.m_modalReturn = false;
  modal.seen.clear();
  modal.PostMessage(WM_KEYDOWN, VK_RETURN);
  modal.PostMessage(kAct);
  EXPECT_EQ(5, modal.RunModal(0, 0));
  EXPECT_EQ(0, modal.Count('O', SWM_MODALRETURN));
  EXPECT_EQ(1, modal.Count('W', WM_KEYDOWN));

  // With a modeless dialog open Return and Escape are not mapped.
  modal.m_modalReturn = true;
  modal.seen.clear();
  SWnd dialog;
  ASSERT_TRUE(dialog.Create("", 0));
  AddModelessDialog(dialog.m_hWnd);
  modal.PostMessage(WM_KEYDOWN, VK_RETURN);
  modal.PostMessage(WM_KEYDOWN, VK_ESCAPE);
  modal.PostMessage(kAct);
  EXPECT_EQ(5, modal.RunModal(0, 0));
  EXPECT_EQ(0, modal.Count('O', SWM_MODALRETURN));
  EXPECT_EQ(0, modal.Count('O', SWM_MODALESCAPE));
  EXPECT_EQ(2, modal.Count('W', WM_KEYDOWN));
  RemoveModelessDialogAt(0);

  DrainMessages();
}

TEST(MessageLoop, ModalRunDisablesExactlyTheOtherPopupsAndRestoresThem) {
  SWnd top, exempt, kept, disabledBefore, owned, child;
  ASSERT_TRUE(top.Create("", WS_VISIBLE));
  ASSERT_TRUE(exempt.Create("", 0));
  exempt.m_modalExempt = true;
  ASSERT_TRUE(kept.Create("", 0));
  ASSERT_TRUE(disabledBefore.Create("", WS_DISABLED));
  ASSERT_TRUE(owned.Create("", WS_POPUP, 0, nullptr, top.m_hWnd));
  ASSERT_TRUE(child.Create("", WS_CHILD, 0, nullptr, top.m_hWnd));
  SWnd* all[] = {&top, &exempt, &kept, &disabledBefore, &owned, &child};
  const bool enabledDuringRun[] = {false, true, true, false, false, true};

  RecordingWnd modal;
  ASSERT_TRUE(modal.Create("", 0));
  SArray<SWnd*> keep;
  keep.Add(&kept);
  bool during[6] = {};
  modal.actions[kAct] = [&] {
    for (int i = 0; i < 6; ++i) during[i] = ::IsWindowEnabled(all[i]->m_hWnd) != 0;
    modal.SetModalResult(4);
  };
  modal.PostMessage(kAct);
  EXPECT_EQ(4, modal.RunModal(0, 0, true, &keep));
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(enabledDuringRun[i], during[i]) << "window " << i << " during the run";
    EXPECT_EQ(i != 3, ::IsWindowEnabled(all[i]->m_hWnd) != 0) << "window " << i << " after";
  }

  // Without disable-all only the popup ancestor and its descendants.
  RecordingWnd ownedModal;
  ASSERT_TRUE(ownedModal.Create("", WS_POPUP, 0, nullptr, top.m_hWnd));
  ownedModal.actions[kAct] = [&] {
    for (int i = 0; i < 6; ++i) during[i] = ::IsWindowEnabled(all[i]->m_hWnd) != 0;
    ownedModal.EndModal();
  };
  ownedModal.PostMessage(kAct);
  EXPECT_EQ(0, ownedModal.RunModal(0, 0, false));
  const bool ownedRun[] = {false, true, true, false, false, true};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ownedRun[i], during[i]) << "window " << i;
  EXPECT_TRUE(::IsWindowEnabled(top.m_hWnd));
  EXPECT_TRUE(::IsWindowEnabled(owned.m_hWnd));

  // A child cannot be modal; a nonzero modal-start answer cancels the run.
  EXPECT_EQ(0, child.RunModal(0, 0));
  RecordingWnd refusing;
  ASSERT_TRUE(refusing.Create("", 0));
  refusing.answers[SWM_MODALSTART] = 1;
  EXPECT_EQ(0, refusing.RunModal(7, 8));
  ASSERT_EQ(1, refusing.Count('W', SWM_MODALSTART));
  EXPECT_EQ(7u, refusing.seen.back().wParam);
  EXPECT_FALSE(refusing.m_modalRunning);
  EXPECT_FALSE(::IsWindowVisible(refusing.m_hWnd));
  EXPECT_TRUE(::IsWindowEnabled(top.m_hWnd));
  DrainMessages();
}

TEST(MessageLoop, ModalRunsNest) {
  RecordingWnd outer, inner;
  ASSERT_TRUE(outer.Create("", 0));
  ASSERT_TRUE(inner.Create("", 0));
  bool outerEnabledInside = true, outerEnabledAfter = false;
  int innerResult = 0;
  outer.actions[kAct] = [&] {
    inner.PostMessage(kAct);
    innerResult = inner.RunModal(0, 0);
    outerEnabledAfter = ::IsWindowEnabled(outer.m_hWnd) != 0;
    outer.SetModalResult(3);
  };
  inner.actions[kAct] = [&] {
    outerEnabledInside = ::IsWindowEnabled(outer.m_hWnd) != 0;
    inner.SetModalResult(7);
  };
  outer.PostMessage(kAct);
  EXPECT_EQ(3, outer.RunModal(0, 0));
  EXPECT_EQ(7, innerResult);
  EXPECT_FALSE(outerEnabledInside);
  EXPECT_TRUE(outerEnabledAfter);
  DrainMessages();
}

TEST(MessageLoop, ModalRunEndsOnCloseDestroyAndQuit) {
  // WM_CLOSE hides the window and ends the run with -1.
  RecordingWnd modal;
  ASSERT_TRUE(modal.Create("", 0));
  modal.PostMessage(WM_CLOSE);
  EXPECT_EQ(-1, modal.RunModal(0, 0));
  EXPECT_TRUE(::IsWindow(modal.m_hWnd));
  EXPECT_FALSE(::IsWindowVisible(modal.m_hWnd));

  // Destroying the window ends it.
  modal.actions[kAct] = [&] { ::DestroyWindow(modal.m_hWnd); };
  modal.PostMessage(kAct);
  EXPECT_EQ(-1, modal.RunModal(0, 0));
  EXPECT_EQ(nullptr, modal.m_hWnd);

  // WM_QUIT ends it and is posted again with its code.
  ASSERT_TRUE(modal.Create("", 0));
  modal.actions[kAct] = [] { ::PostQuitMessage(9); };
  modal.PostMessage(kAct);
  modal.RunModal(0, 0);
  EXPECT_FALSE(modal.m_modalRunning);
  WPARAM code = 0;
  ASSERT_TRUE(QuitPending(&code));
  EXPECT_EQ(9u, code);

  // Inside the application loop, the re-posted WM_QUIT ends that loop too.
  RecordingWnd host;
  ASSERT_TRUE(host.Create("", 0));
  host.actions[kAct] = [&] {
    modal.PostMessage(kAct);
    modal.RunModal(0, 0);
  };
  host.PostMessage(kAct);
  bool blocking = true;
  RunMessageLoop(&blocking, nullptr, nullptr);
  EXPECT_FALSE(QuitPending(nullptr));
  DrainMessages();
}

TEST(MessageLoop, FlushInputMessagesKeepsOtherMessages) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  wnd.PostMessage(WM_KEYDOWN, 'A');
  wnd.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
  wnd.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  wnd.PostMessage(WM_USER + 1);
  FlushInputMessages();
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(WM_USER + 1, msg.message);
  EXPECT_FALSE(::PeekMessageA(&msg, wnd.m_hWnd, 0, 0, PM_REMOVE));
}
