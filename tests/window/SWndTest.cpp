#include "core/Platform.h"
#include "window/ControlKinds.h"
#include "window/SWnd.h"

#include "RecordingWnd.h"
#include "window/Framework.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

RECT RectInParent(SWnd& wnd) { return RectIn(wnd.m_hWnd); }

// Looks at the map once the base handling of WM_DESTROY is done.
class MapWatcher : public SWnd {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    LRESULT result = SWnd::WindowProc(message, wParam, lParam);
    if (message == WM_DESTROY) {
      handleAfterBase = m_hWnd;
      entriesAfterBase = SWnd::GetThreadWindowCount();
      found = 0;
      for (SWnd* other : others) found += SWnd::FromHandle(other->m_hWnd) == other;
    }
    return result;
  }
  std::vector<SWnd*> others;
  HWND handleAfterBase = nullptr;
  int entriesAfterBase = -1;
  int found = -1;
};

}  // namespace

TEST(SWnd, CreateAttachesTheObjectOnlyOnItsOwnThread) {
  EXPECT_EQ(nullptr, SWnd::FromHandle(nullptr));
  SWnd wnd;
  ASSERT_TRUE(wnd.Create("one", WS_CAPTION));
  HWND hWnd = wnd.m_hWnd;
  EXPECT_EQ(&wnd, SWnd::FromHandle(hWnd));
  EXPECT_TRUE(StyleOf(hWnd) & WS_POPUP) << "a window without parent is a popup";
  EXPECT_FALSE(wnd.Create("again", 0));
  EXPECT_EQ(hWnd, wnd.m_hWnd);

  // Another thread's window is never attached; a control there keeps its
  // own procedure and works.
  bool created = false, found = true, controlWorks = false;
  std::thread other([&] {
    SWnd top, edit;
    created = top.Create("other thread", 0);
    found = SWnd::FromHandle(top.m_hWnd) != nullptr;
    if (edit.CreateControl("EDIT", "", WS_CHILD, 0, nullptr, top.m_hWnd) && edit.SetText("abc")) {
      controlWorks = edit.SendMessage(WM_GETTEXTLENGTH) == 3 && !edit.m_previousProc;
    }
  });
  other.join();
  EXPECT_TRUE(created);
  EXPECT_FALSE(found);
  EXPECT_TRUE(controlWorks);
}

TEST(SWnd, DestructionLeavesTheMapCleanWhateverOnMessageAnswers) {
  const int entries = SWnd::GetThreadWindowCount();
  // A handler that consumes WM_DESTROY still leaves no entry and no press behind.
  RecordingWnd consuming;
  consuming.consumed[WM_DESTROY] = 0;
  ASSERT_TRUE(consuming.Create("", 0));
  EXPECT_EQ(entries + 1, SWnd::GetThreadWindowCount());
  consuming.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ASSERT_TRUE(::DestroyWindow(consuming.m_hWnd));
  EXPECT_EQ(nullptr, consuming.m_hWnd);
  EXPECT_EQ(entries, SWnd::GetThreadWindowCount());
  EXPECT_EQ(0, consuming.Count('W', WM_DESTROY));
  // The same object with a new window: the old window's press is gone.
  ASSERT_TRUE(consuming.Create("", 0));
  EXPECT_EQ(&consuming, SWnd::FromHandle(consuming.m_hWnd));
  consuming.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(0, consuming.Count('W', SWM_LCLICK));
  consuming.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  consuming.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(1, consuming.Count('W', SWM_LCLICK));

  // Deleting the object destroys its window.
  HWND owned;
  {
    SWnd scoped;
    ASSERT_TRUE(scoped.Create("", 0));
    owned = scoped.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(owned));
  EXPECT_EQ(entries + 1, SWnd::GetThreadWindowCount());

  // During the destruction the map holds no window without handle and the
  // others stay found.
  std::vector<std::unique_ptr<SWnd>> windows;
  MapWatcher watcher;
  for (int i = 0; i < 40; ++i) {
    if (i == 20) {
      ASSERT_TRUE(watcher.Create("", 0));
    }
    windows.emplace_back(new SWnd);
    ASSERT_TRUE(windows.back()->Create("", 0));
    watcher.others.push_back(windows.back().get());
  }
  ASSERT_TRUE(::DestroyWindow(watcher.m_hWnd));
  EXPECT_EQ(nullptr, watcher.handleAfterBase);
  EXPECT_EQ(entries + 41, watcher.entriesAfterBase) << "left the map with its handle";
  EXPECT_EQ(40, watcher.found);
}

TEST(SWnd, CreationWrappersMakeChildrenOfTheirKinds) {
  SWnd parent;
  ASSERT_TRUE(parent.Create("", 0));
  RECT r = MakeRect(5, 6, 40, 30);
  auto check = [&](SWnd& wnd, int id, const char* className, const char* text, bool subclassed) {
    std::string name = ClassOf(wnd.m_hWnd);
    EXPECT_STRCASEEQ(className, name.c_str());
    EXPECT_EQ(text, std::string(wnd.GetText().GetText() ? wnd.GetText().GetText() : ""));
    EXPECT_EQ(parent.m_hWnd, ::GetParent(wnd.m_hWnd)) << name;
    EXPECT_EQ(id, wnd.GetId());
    EXPECT_EQ(subclassed, wnd.m_previousProc != nullptr) << name;
    EXPECT_EQ(5, RectInParent(wnd).left);
  };
  SWnd child, untitled, tree, label, popup;
  ASSERT_TRUE(child.CreateChild("Caption", 0, &r, parent.m_hWnd, 7));
  check(child, 7, "VANDRO", "Caption", false);
  ASSERT_TRUE(untitled.CreateChildNoText(0, &r, parent.m_hWnd, 8));
  check(untitled, 8, "VANDRO", "", false);
  ASSERT_TRUE(tree.CreateTreeView(TVS_HASLINES, &r, parent.m_hWnd, 9, WS_EX_CLIENTEDGE));
  check(tree, 9, "SysTreeView32", "", true);
  EXPECT_TRUE(StyleOf(tree.m_hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  ASSERT_TRUE(label.CreateStatic(SS_CENTER, &r, parent.m_hWnd, 10));
  check(label, 10, "STATIC", "", true);
  // A popup stays a popup.
  ASSERT_TRUE(popup.CreateChild("", WS_POPUP, &r, parent.m_hWnd, 0));
  EXPECT_FALSE(StyleOf(popup.m_hWnd) & WS_CHILD);

  // A new tooltip replaces the previous one.
  ASSERT_TRUE(parent.CreateToolTip());
  HWND tip = parent.m_toolTip;
  ASSERT_TRUE(parent.CreateToolTip());
  EXPECT_FALSE(::IsWindow(tip));
}

TEST(SWnd, AfterCreateRunsTheSetUpAndANonZeroAnswerAbortsTheCreation) {
  RecordingWnd wnd;
  int parameter = 0;
  ASSERT_TRUE(wnd.Create("", WS_VISIBLE, 0, nullptr, nullptr, nullptr, &parameter));
  EXPECT_FALSE(wnd.visibleAtAfterCreate) << "shown only after the after-create message";
  EXPECT_TRUE(::IsWindowVisible(wnd.m_hWnd));
  ASSERT_EQ(1, wnd.Count('O', SWM_AFTERCREATE));
  EXPECT_EQ(reinterpret_cast<LPARAM>(&parameter), wnd.seen[0].lParam);
  EXPECT_EQ(0, wnd.Count('O', WM_CREATE)) << "creation messages find no object yet";
  EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), wnd.GetBackColor());

  // A control keeps its colour unset and gets the default font.
  SWnd control;
  control.m_kind = ControlKinds::KIND_EDIT;
  ASSERT_TRUE(control.CreateControl("EDIT", "", WS_CHILD, 0, nullptr, wnd.m_hWnd));
  EXPECT_EQ(SImage::COLOR_NONE, control.GetBackColor());
  EXPECT_EQ(reinterpret_cast<LRESULT>(g_defaultFont), control.SendMessage(WM_GETFONT));

  RecordingWnd refusing;
  refusing.answers[SWM_AFTERCREATE] = 1;
  EXPECT_FALSE(refusing.Create("", WS_VISIBLE));
  EXPECT_EQ(nullptr, refusing.m_hWnd);
  EXPECT_EQ(1, refusing.Count('O', WM_DESTROY));
}

TEST(SWnd, EveryMessagePassesOnMessageThenWindowProc) {
  // OnMessage may change the parameters WindowProc receives.
  struct Changer : RecordingWnd {
    bool OnMessage(UINT m, WPARAM& w, LPARAM& l, LRESULT& r) override {
      bool next = RecordingWnd::OnMessage(m, w, l, r);
      if (m == WM_USER + 1) {
        w = 42;
        l = 43;
      }
      return next;
    }
  } wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  wnd.seen.clear();
  wnd.answers[WM_USER + 1] = 99;
  EXPECT_EQ(99, wnd.SendMessage(WM_USER + 1, 1, 2));
  ASSERT_EQ(2u, wnd.seen.size());
  EXPECT_EQ('O', wnd.seen[0].stage);
  EXPECT_EQ(1u, wnd.seen[0].wParam);
  EXPECT_EQ('W', wnd.seen[1].stage);
  EXPECT_EQ(42u, wnd.seen[1].wParam);
  EXPECT_EQ(43, wnd.seen[1].lParam);

  // A consumed message never reaches WindowProc and answers OnMessage's result.
  wnd.consumed[WM_USER + 2] = 7;
  EXPECT_EQ(7, wnd.SendMessage(WM_USER + 2));
  EXPECT_EQ(0, wnd.Count('W', WM_USER + 2));

  // The base procedure ends in the default processing.
  ASSERT_TRUE(wnd.SetText("title"));
  EXPECT_STREQ("title", wnd.GetText().GetText());
}

namespace {

HWND g_hookedControl;
LONG_PTR g_procAtNcDestroy;

LRESULT CALLBACK WatchNcDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_NCDESTROY && call->hwnd == g_hookedControl) {
    g_procAtNcDestroy = ::GetWindowLongPtrA(call->hwnd, GWLP_WNDPROC);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(SWnd, ControlsAreSubclassedAndGetTheirProcedureBackAtTheEnd) {
  SWnd parent;
  ASSERT_TRUE(parent.Create("", 0));
  RecordingWnd edit;
  RECT rect = MakeRect(0, 0, 100, 20);
  int parameter = 0;
  ASSERT_TRUE(edit.CreateControl("EDIT", "abc", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(5), &parameter));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(SWnd::StaticWndProc),
            ::GetWindowLongPtrA(edit.m_hWnd, GWLP_WNDPROC));
  ASSERT_GE(edit.Count('O', SWM_AFTERCREATE), 1);
  EXPECT_EQ(reinterpret_cast<LPARAM>(&parameter), edit.seen[0].lParam);

  // Messages pass the object and reach the control's own procedure.
  ASSERT_TRUE(edit.SetText("xyz"));
  EXPECT_EQ(1, edit.Count('O', WM_SETTEXT));
  EXPECT_EQ(3, edit.SendMessage(WM_GETTEXTLENGTH));

  // The control's own WM_NCDESTROY handling runs.
  g_hookedControl = edit.m_hWnd;
  g_procAtNcDestroy = 0;
  HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchNcDestroy, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(nullptr, hook);
  HWND hWnd = edit.m_hWnd;
  ::DestroyWindow(hWnd);
  ::UnhookWindowsHookEx(hook);
  EXPECT_EQ(nullptr, SWnd::FromHandle(hWnd));
  EXPECT_NE(0, g_procAtNcDestroy);
  EXPECT_NE(reinterpret_cast<LONG_PTR>(SWnd::StaticWndProc), g_procAtNcDestroy);
}

TEST(SWnd, TabOrderFollowsCreationAndWrapsToTheLowestIndex) {
  SWnd parent;
  ASSERT_TRUE(parent.Create("", WS_VISIBLE));
  SWnd a, b, c;
  RECT rect = MakeRect(0, 0, 10, 10);
  for (SWnd* child : {&a, &b, &c}) {
    ASSERT_TRUE(child->Create("", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd));
  }
  EXPECT_EQ(0, a.m_tabIndex);
  EXPECT_EQ(2, c.m_tabIndex);
  EXPECT_EQ(3, parent.m_childCounter);
  EXPECT_EQ(&c, c.GetNextTabWindow()) << "not in the tab order: Tab stays";

  a.m_tabGroup = b.m_tabGroup = c.m_tabGroup = 1;
  a.m_tabIndex = 1;
  b.m_tabIndex = 3;
  c.m_tabIndex = 5;
  EXPECT_EQ(&b, a.GetNextTabWindow());
  EXPECT_EQ(&a, c.GetNextTabWindow()) << "wraps to the lowest";
  b.Show(SW_HIDE);
  EXPECT_EQ(&c, a.GetNextTabWindow());
  ::EnableWindow(c.m_hWnd, FALSE);
  EXPECT_EQ(&a, a.GetNextTabWindow()) << "nothing else can take the focus";
  b.Show(SW_SHOW);
  b.m_tabGroup = 2;
  EXPECT_EQ(&a, a.GetNextTabWindow()) << "another group does not count";
}

TEST(SWnd, AutoAlignMovesAndSizesFromTheReferenceRectangle) {
  SWnd parent;
  ASSERT_TRUE(parent.Create("", 0));
  ASSERT_TRUE(parent.SetClientSize(200, 100));
  SWnd child;
  RECT rect = MakeRect(10, 10, 40, 20);
  ASSERT_TRUE(child.Create("", WS_CHILD, 0, &rect, parent.m_hWnd));

  struct Case {
    unsigned int mask;
    int dx, dy;
    RECT expected;  // x, y, right, bottom after the change
  };
  const Case cases[] = {
      {0x02, 100, 0, {110, 10, 150, 30}}, {0x0A, 100, 0, {60, 10, 100, 30}},
      {0x09, 100, 0, {35, 10, 75, 30}},   {0x0C, 100, 0, {10, 10, 100, 30}},
      {0x01, -5, 0, {8, 10, 48, 30}},     {0x90, 0, 40, {10, 20, 50, 40}},
      {0xC0, 0, 40, {10, 10, 50, 50}},
  };
  for (const Case& test : cases) {
    child.SetAutoAlign(test.mask);
    ASSERT_TRUE(parent.SetClientSize(200 + test.dx, 100 + test.dy));
    EXPECT_EQ(parent.m_hWnd, child.ApplyAutoAlign());
    RECT r = RectInParent(child), home = {10, 10, 50, 30};
    EXPECT_TRUE(::EqualRect(&test.expected, &r)) << "mask " << test.mask << ": " << r.left << " "
                                                 << r.top << " " << r.right << " " << r.bottom;
    // Back at the reference size the window is back at its place.
    ASSERT_TRUE(parent.SetClientSize(200, 100));
    child.ApplyAutoAlign();
    r = RectInParent(child);
    EXPECT_TRUE(::EqualRect(&home, &r)) << "mask " << test.mask;
  }

  SWnd orphan;
  ASSERT_TRUE(orphan.Create("", 0));
  orphan.SetAutoAlign(0x02);
  EXPECT_EQ(0u, orphan.m_alignMask);
  EXPECT_EQ(nullptr, orphan.ApplyAutoAlign());
}

TEST(SWnd, SetClientSizeGivesTheExactClientArea) {
  SWnd wnd;
  ASSERT_TRUE(wnd.Create("sized", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL | WS_VISIBLE));
  HMENU menu = ::CreateMenu();
  ::AppendMenuA(menu, MF_STRING, 1, "File");
  ASSERT_TRUE(wnd.SetMenu(menu));
  ASSERT_TRUE(wnd.SetClientSize(320, 200));
  RECT client;
  ::GetClientRect(wnd.m_hWnd, &client);
  EXPECT_EQ(320, client.right);
  EXPECT_EQ(200, client.bottom);

  int computed[4], measured[4];
  ASSERT_TRUE(wnd.GetFrameMargins(&computed[0], &computed[1], &computed[2], &computed[3]));
  ASSERT_TRUE(wnd.GetActualFrameMargins(&measured[0], &measured[1], &measured[2], &measured[3]));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(computed[i], measured[i]) << "side " << i;
  ASSERT_TRUE(wnd.SetClientHeight(150));
  // Taking the menu away keeps the client height.
  ASSERT_TRUE(wnd.SetMenu(nullptr));
  EXPECT_EQ(150, wnd.GetClientHeight());
  ::DestroyMenu(menu);
}
