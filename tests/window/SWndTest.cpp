#include "core/Platform.h"
#include "window/SWnd.h"

#include "ProbeWnd.h"
#include "window/Framework.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

DWORD StyleOf(HWND hWnd) {
  return static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE));
}

RECT RectInParent(SWnd& wnd) {
  RECT r;
  ::GetWindowRect(wnd.m_hWnd, &r);
  ::MapWindowPoints(nullptr, ::GetParent(wnd.m_hWnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

TEST(SWnd, CreateAttachesTheObjectAndFindsItFromTheHandle) {
  EXPECT_EQ(nullptr, SWnd::FromHandle(nullptr));

  SWnd wnd;
  RECT rect = MakeRect(10, 20, 200, 100);
  ASSERT_TRUE(wnd.Create("one", WS_CAPTION, 0, &rect));
  HWND hWnd = wnd.m_hWnd;
  EXPECT_EQ(&wnd, SWnd::FromHandle(hWnd));
  EXPECT_EQ(::GetCurrentThreadId(), wnd.m_threadId);
  EXPECT_TRUE(StyleOf(hWnd) & WS_POPUP) << "a window without parent is a popup";
  EXPECT_EQ(200, wnd.GetWidth());
  EXPECT_EQ(100, wnd.GetHeight());

  EXPECT_FALSE(wnd.Create("again", 0));
  EXPECT_EQ(hWnd, wnd.m_hWnd);
  EXPECT_EQ(&wnd, SWnd::FromHandle(hWnd));

  // Many windows: every one is found, also after others left the map.
  std::vector<std::unique_ptr<SWnd>> many;
  for (int i = 0; i < 40; ++i) {
    many.emplace_back(new SWnd);
    ASSERT_TRUE(many.back()->Create("", 0));
  }
  for (int i = 0; i < 40; i += 2) many[i].reset();
  for (int i = 1; i < 40; i += 2) EXPECT_EQ(many[i].get(), SWnd::FromHandle(many[i]->m_hWnd));
  EXPECT_EQ(&wnd, SWnd::FromHandle(hWnd));
}

TEST(SWnd, AWindowOfAnotherThreadIsNeverAttached) {
  bool created = false, found = true, controlWorks = false;
  std::thread other([&] {
    SWnd wnd;
    created = wnd.Create("other thread", 0);
    found = SWnd::FromHandle(wnd.m_hWnd) != nullptr;
    // A control there keeps its own procedure and works.
    SWnd edit;
    if (edit.CreateControl("EDIT", "", WS_CHILD, 0, nullptr, wnd.m_hWnd) && edit.SetText("abc")) {
      controlWorks = edit.SendMessage(WM_GETTEXTLENGTH) == 3 && !edit.m_previousProc;
    }
  });
  other.join();
  EXPECT_TRUE(created);
  EXPECT_FALSE(found);
  EXPECT_TRUE(controlWorks);
}

TEST(SWnd, DestructionDetachesTheObjectWhateverOnMessageAnswers) {
  const int entries = SWnd::GetThreadWindowCount();
  // A handler that consumes WM_DESTROY still leaves no entry behind.
  ProbeWnd consuming;
  consuming.consumed[WM_DESTROY] = 0;
  ASSERT_TRUE(consuming.Create("", 0));
  EXPECT_EQ(entries + 1, SWnd::GetThreadWindowCount());
  HWND hWnd = consuming.m_hWnd;
  ASSERT_TRUE(::DestroyWindow(hWnd));
  EXPECT_EQ(nullptr, consuming.m_hWnd);
  EXPECT_EQ(entries, SWnd::GetThreadWindowCount());
  EXPECT_EQ(0, consuming.Count('W', WM_DESTROY));

  // The usual path; the object stays usable for a new window.
  SWnd plain;
  ASSERT_TRUE(plain.Create("", 0));
  hWnd = plain.m_hWnd;
  ::DestroyWindow(hWnd);
  EXPECT_EQ(nullptr, plain.m_hWnd);
  EXPECT_EQ(entries, SWnd::GetThreadWindowCount());
  ASSERT_TRUE(plain.Create("", 0));
  EXPECT_EQ(&plain, SWnd::FromHandle(plain.m_hWnd));
  EXPECT_EQ(entries + 1, SWnd::GetThreadWindowCount());

  // Deleting the object destroys its window.
  HWND owned;
  {
    SWnd scoped;
    ASSERT_TRUE(scoped.Create("", 0));
    owned = scoped.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(owned));
  EXPECT_EQ(entries + 1, SWnd::GetThreadWindowCount());
}

namespace {

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

TEST(SWnd, TheMapHoldsNoWindowWithoutHandleDuringItsDestruction) {
  const int entries = SWnd::GetThreadWindowCount();
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
  EXPECT_EQ(entries + 40, watcher.entriesAfterBase) << "left the map with its handle";
  EXPECT_EQ(40, watcher.found);
}

TEST(SWnd, APressEndsWithItsWindowWhateverOnMessageAnswers) {
  ProbeWnd wnd;
  wnd.consumed[WM_DESTROY] = 0;
  ASSERT_TRUE(wnd.Create("", 0));
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ASSERT_TRUE(::DestroyWindow(wnd.m_hWnd));
  // The same object with a new window: the old window's press is gone.
  ASSERT_TRUE(wnd.Create("", 0));
  wnd.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(0, wnd.Count('W', SWM_LCLICK));
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  wnd.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(1, wnd.Count('W', SWM_LCLICK));
}

TEST(SWnd, CreationWrappersMakeChildrenOfTheirKinds) {
  SWnd parent;
  RECT rect = MakeRect(0, 0, 200, 100);
  ASSERT_TRUE(parent.Create("", 0, 0, &rect));
  RECT r = MakeRect(5, 6, 40, 30);
  struct Case {
    const char* className;
    const char* text;
    bool subclassed;
  };
  auto check = [&](SWnd& wnd, int id, const Case& c) {
    ASSERT_NE(nullptr, wnd.m_hWnd);
    char name[64] = "";
    ::GetClassNameA(wnd.m_hWnd, name, sizeof(name));
    EXPECT_STRCASEEQ(c.className, name);
    EXPECT_EQ(c.text, std::string(wnd.GetText().GetText() ? wnd.GetText().GetText() : ""));
    EXPECT_TRUE(StyleOf(wnd.m_hWnd) & WS_CHILD) << name;
    EXPECT_EQ(parent.m_hWnd, ::GetParent(wnd.m_hWnd));
    EXPECT_EQ(id, wnd.GetId());
    EXPECT_EQ(&wnd, SWnd::FromHandle(wnd.m_hWnd));
    EXPECT_EQ(c.subclassed, wnd.m_previousProc != nullptr) << name;
    EXPECT_EQ(RectInParent(wnd).left, 5);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetInstanceHandle()),
              ::GetWindowLongPtrA(wnd.m_hWnd, GWLP_HINSTANCE));
  };

  SWnd child, untitled, tree, label;
  ASSERT_TRUE(child.CreateChild("Caption", 0, &r, parent.m_hWnd, 7));
  check(child, 7, {"VANDRO", "Caption", false});
  ASSERT_TRUE(untitled.CreateChildNoText(0, &r, parent.m_hWnd, 8));
  check(untitled, 8, {"VANDRO", "", false});
  ASSERT_TRUE(tree.CreateTreeView(TVS_HASLINES, &r, parent.m_hWnd, 9, WS_EX_CLIENTEDGE));
  check(tree, 9, {"SysTreeView32", "", true});
  EXPECT_TRUE(StyleOf(tree.m_hWnd) & TVS_HASLINES);
  EXPECT_TRUE(::GetWindowLongA(tree.m_hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  ASSERT_TRUE(label.CreateStatic(SS_CENTER, &r, parent.m_hWnd, 10));
  check(label, 10, {"STATIC", "", true});

  // A popup stays a popup.
  SWnd popup;
  ASSERT_TRUE(popup.CreateChild("", WS_POPUP, &r, parent.m_hWnd, 0));
  EXPECT_TRUE(StyleOf(popup.m_hWnd) & WS_POPUP);
  EXPECT_FALSE(StyleOf(popup.m_hWnd) & WS_CHILD);
}

TEST(SWnd, AfterCreateRunsTheSetUpAndANonZeroAnswerAbortsTheCreation) {
  ProbeWnd wnd;
  int parameter = 0;
  ASSERT_TRUE(wnd.Create("", WS_VISIBLE, 0, nullptr, nullptr, nullptr, &parameter));
  EXPECT_FALSE(wnd.visibleAtAfterCreate) << "shown only after the after-create message";
  EXPECT_TRUE(::IsWindowVisible(wnd.m_hWnd));
  ASSERT_EQ(1, wnd.Count('O', SWM_AFTERCREATE));
  EXPECT_EQ(reinterpret_cast<LPARAM>(&parameter), wnd.seen[0].lParam);
  EXPECT_EQ(0, wnd.Count('O', WM_CREATE)) << "creation messages find no object yet";
  EXPECT_EQ(0, wnd.Count('O', WM_NCCREATE));
  EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), wnd.GetBackColor());
  EXPECT_EQ(g_defaultFont, wnd.m_font);
  EXPECT_TRUE(wnd.m_cursorVisible);
  EXPECT_TRUE(wnd.m_normalState);

  // A control keeps its colour unset.
  SWnd control;
  control.m_kind = 12;
  ASSERT_TRUE(control.CreateControl("EDIT", "", WS_CHILD, 0, nullptr, wnd.m_hWnd));
  EXPECT_EQ(0xFF000000u, control.GetBackColor());
  EXPECT_EQ(reinterpret_cast<LRESULT>(g_defaultFont), control.SendMessage(WM_GETFONT));

  ProbeWnd refusing;
  refusing.answers[SWM_AFTERCREATE] = 1;
  EXPECT_FALSE(refusing.Create("", WS_VISIBLE));
  EXPECT_EQ(nullptr, refusing.m_hWnd);
  ASSERT_EQ(1, refusing.Count('O', SWM_AFTERCREATE));
  EXPECT_EQ(1, refusing.Count('O', WM_DESTROY));
  EXPECT_FALSE(refusing.visibleAtAfterCreate);
}

TEST(SWnd, EveryMessagePassesOnMessageThenWindowProc) {
  ProbeWnd wnd;
  ASSERT_TRUE(wnd.Create("", 0));
  wnd.seen.clear();

  // OnMessage may change the parameters WindowProc receives.
  struct Changer : ProbeWnd {
    bool OnMessage(UINT m, WPARAM& w, LPARAM& l, LRESULT& r) override {
      bool next = ProbeWnd::OnMessage(m, w, l, r);
      if (m == WM_USER + 1) {
        w = 42;
        l = 43;
      }
      return next;
    }
  } changer;
  ASSERT_TRUE(changer.Create("", 0));
  changer.seen.clear();
  changer.answers[WM_USER + 1] = 99;
  EXPECT_EQ(99, changer.SendMessage(WM_USER + 1, 1, 2));
  ASSERT_EQ(2u, changer.seen.size());
  EXPECT_EQ('O', changer.seen[0].stage);
  EXPECT_EQ(1u, changer.seen[0].wParam);
  EXPECT_EQ('W', changer.seen[1].stage);
  EXPECT_EQ(42u, changer.seen[1].wParam);
  EXPECT_EQ(43, changer.seen[1].lParam);

  // A consumed message never reaches WindowProc and answers OnMessage's result.
  wnd.consumed[WM_USER + 2] = 7;
  EXPECT_EQ(7, wnd.SendMessage(WM_USER + 2));
  EXPECT_EQ(1, wnd.Count('O', WM_USER + 2));
  EXPECT_EQ(0, wnd.Count('W', WM_USER + 2));

  // The base procedure ends in the default processing.
  ASSERT_TRUE(wnd.SetText("title"));
  EXPECT_EQ(1, wnd.Count('W', WM_SETTEXT));
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
  ProbeWnd edit;
  RECT rect = MakeRect(0, 0, 100, 20);
  int parameter = 0;
  ASSERT_TRUE(edit.CreateControl("EDIT", "abc", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(5), &parameter));
  EXPECT_NE(nullptr, edit.m_previousProc);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(SWnd::StaticWndProc),
            ::GetWindowLongPtrA(edit.m_hWnd, GWLP_WNDPROC));
  EXPECT_EQ(5, edit.GetId());
  ASSERT_GE(edit.Count('O', SWM_AFTERCREATE), 1);
  EXPECT_EQ(reinterpret_cast<LPARAM>(&parameter), edit.seen[0].lParam);

  // Messages pass the object and reach the control's own procedure.
  edit.seen.clear();
  ASSERT_TRUE(edit.SetText("xyz"));
  EXPECT_EQ(1, edit.Count('O', WM_SETTEXT));
  EXPECT_EQ(3, edit.SendMessage(WM_GETTEXTLENGTH));
  EXPECT_STREQ("xyz", edit.GetText().GetText());

  // The control's own WM_NCDESTROY handling runs.
  g_hookedControl = edit.m_hWnd;
  g_procAtNcDestroy = 0;
  HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchNcDestroy, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(nullptr, hook);
  HWND hWnd = edit.m_hWnd;
  ::DestroyWindow(hWnd);
  ::UnhookWindowsHookEx(hook);
  EXPECT_EQ(nullptr, edit.m_hWnd);
  EXPECT_EQ(nullptr, SWnd::FromHandle(hWnd));
  EXPECT_NE(0, g_procAtNcDestroy);
  EXPECT_NE(reinterpret_cast<LONG_PTR>(SWnd::StaticWndProc), g_procAtNcDestroy);

  SWnd button;
  ASSERT_TRUE(button.CreateButton(BS_PUSHBUTTON, "OK", 0, &rect, parent.m_hWnd,
                                  reinterpret_cast<HMENU>(1)));
  EXPECT_TRUE(StyleOf(button.m_hWnd) & WS_CHILD);
  EXPECT_EQ(parent.m_hWnd, button.GetParent());
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
  EXPECT_EQ(1, b.m_tabIndex);
  EXPECT_EQ(2, c.m_tabIndex);
  EXPECT_EQ(3, parent.m_childCounter);

  // Not in the tab order: Tab stays.
  EXPECT_EQ(&c, c.GetNextTabWindow());

  a.m_tabGroup = b.m_tabGroup = c.m_tabGroup = 1;
  a.m_tabIndex = 1;
  b.m_tabIndex = 3;
  c.m_tabIndex = 5;
  EXPECT_EQ(&a, c.GetNextTabWindow());
  EXPECT_EQ(&b, a.GetNextTabWindow());
  EXPECT_EQ(&c, b.GetNextTabWindow());

  b.Show(SW_HIDE);
  EXPECT_EQ(&c, a.GetNextTabWindow());
  ::EnableWindow(c.m_hWnd, FALSE);
  EXPECT_EQ(&a, a.GetNextTabWindow()) << "nothing else can take the focus";
  b.Show(SW_SHOW);
  EXPECT_EQ(&a, c.GetNextTabWindow()) << "wraps to the lowest";

  // Another group does not count.
  b.m_tabGroup = 2;
  EXPECT_EQ(&a, a.GetNextTabWindow());
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
      {0x01, 100, 0, {60, 10, 100, 30}},  {0x09, 100, 0, {35, 10, 75, 30}},
      {0x04, 100, 0, {10, 10, 150, 30}},  {0x0C, 100, 0, {10, 10, 100, 30}},
      {0x01, -5, 0, {8, 10, 48, 30}},     {0x20, 0, 40, {10, 50, 50, 70}},
      {0x90, 0, 40, {10, 20, 50, 40}},    {0x40, 0, 40, {10, 10, 50, 70}},
      {0xC0, 0, 40, {10, 10, 50, 50}},
  };
  for (const Case& test : cases) {
    child.SetAutoAlign(test.mask);
    ASSERT_EQ(test.mask, child.m_alignMask);
    ASSERT_TRUE(parent.SetClientSize(200 + test.dx, 100 + test.dy));
    EXPECT_EQ(parent.m_hWnd, child.ApplyAutoAlign());
    RECT r = RectInParent(child);
    EXPECT_EQ(test.expected.left, r.left) << "mask " << test.mask;
    EXPECT_EQ(test.expected.top, r.top) << "mask " << test.mask;
    EXPECT_EQ(test.expected.right, r.right) << "mask " << test.mask;
    EXPECT_EQ(test.expected.bottom, r.bottom) << "mask " << test.mask;
    // Back at the reference size the window is back at its place.
    ASSERT_TRUE(parent.SetClientSize(200, 100));
    child.ApplyAutoAlign();
    r = RectInParent(child);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(10, r.top);
    EXPECT_EQ(50, r.right);
    EXPECT_EQ(30, r.bottom);
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
  ::GetClientRect(wnd.m_hWnd, &client);
  EXPECT_EQ(320, client.right);
  EXPECT_EQ(150, client.bottom);

  // Taking the menu away keeps the client height.
  ASSERT_TRUE(wnd.SetMenu(nullptr));
  EXPECT_EQ(150, wnd.GetClientHeight());
  ::DestroyMenu(menu);
}

TEST(SWnd, CenterMoveAndCoordinateConversions) {
  SWnd wnd;
  RECT rect = MakeRect(0, 0, 100, 60);
  ASSERT_TRUE(wnd.Create("", 0, 0, &rect));
  ASSERT_TRUE(wnd.Center(false));
  RECT r;
  ::GetWindowRect(wnd.m_hWnd, &r);
  EXPECT_EQ((wnd.m_workArea.left + wnd.m_workArea.right) / 2 - 50, r.left);
  EXPECT_EQ((wnd.m_workArea.top + wnd.m_workArea.bottom) / 2 - 30, r.top);

  ASSERT_TRUE(wnd.Move(40, 30));
  SWnd child;
  RECT childRect = MakeRect(0, 0, 20, 10);
  ASSERT_TRUE(child.Create("", WS_CHILD, 0, &childRect, wnd.m_hWnd));
  ASSERT_TRUE(child.Center(true));
  r = RectInParent(child);
  EXPECT_EQ(40, r.left);
  EXPECT_EQ(25, r.top);

  RECT converted = {1, 2, 3, 4};
  ASSERT_TRUE(child.ClientToScreen(&converted));
  EXPECT_EQ(40 + 40 + 1, converted.left);
  EXPECT_EQ(30 + 25 + 2, converted.top);
  ASSERT_TRUE(child.ScreenToClient(&converted));
  EXPECT_EQ(1, converted.left);
  EXPECT_EQ(4, converted.bottom);

  SWnd none;
  RECT unchanged = {1, 2, 3, 4};
  EXPECT_FALSE(none.ClientToScreen(&unchanged));
  EXPECT_EQ(1, unchanged.left);
  EXPECT_FALSE(none.Move(0, 0));
  EXPECT_EQ(0, none.GetWidth());
}

TEST(SWnd, WindowTreeQueries) {
  SWnd top, popup, owned, child, grandChild, other;
  ASSERT_TRUE(top.Create("", 0));
  ASSERT_TRUE(other.Create("", 0));
  ASSERT_TRUE(owned.Create("", WS_POPUP, 0, nullptr, top.m_hWnd));
  ASSERT_TRUE(child.Create("", WS_CHILD, 0, nullptr, top.m_hWnd));
  grandChild.m_kind = 7;
  ASSERT_TRUE(grandChild.Create("", WS_CHILD, 0, nullptr, child.m_hWnd));
  ASSERT_TRUE(popup.Create("", WS_POPUP, 0, nullptr, owned.m_hWnd));

  SArray<SWnd*> list;
  EXPECT_EQ(2, top.GetChildren(&list));
  EXPECT_GE(list.Find(&owned), 0) << "an owned popup counts as a child";
  EXPECT_GE(list.Find(&child), 0);

  list.RemoveAll();
  EXPECT_EQ(4, top.GetChildren(&list, nullptr, true));
  list.RemoveAll();
  SArray<SWnd*> exclude;
  exclude.Add(&child);
  EXPECT_EQ(2, top.GetChildren(&list, &exclude, true)) << "an excluded child is not searched";
  EXPECT_LT(list.Find(&grandChild), 0);
  list.RemoveAll();
  EXPECT_EQ(1, top.GetChildren(&list, nullptr, true, 7));
  EXPECT_EQ(&grandChild, list[0]);

  list.RemoveAll();
  EXPECT_EQ(1, owned.GetSiblings(&list));
  EXPECT_EQ(&child, list[0]);

  list.RemoveAll();
  top.GetTopLevelPopups(&list);
  EXPECT_GE(list.Find(&top), 0);
  EXPECT_GE(list.Find(&other), 0);
  EXPECT_LT(list.Find(&owned), 0);

  EXPECT_EQ(top.m_hWnd, grandChild.GetPopupAncestor());
  EXPECT_EQ(child.m_hWnd, grandChild.GetParent());
  EXPECT_EQ(nullptr, top.GetPopupAncestor());
}

TEST(SWnd, ScrollStepsHaveDefaultsAndPositionsFollowTheUnit) {
  SWnd wnd;
  EXPECT_EQ(1, wnd.m_hLineStep);
  EXPECT_EQ(1, wnd.m_vLineStep);
  EXPECT_EQ(10, wnd.m_hPageStep);
  EXPECT_EQ(10, wnd.m_vPageStep);

  ASSERT_TRUE(wnd.Create("", WS_VSCROLL | WS_HSCROLL));
  EXPECT_EQ(1, wnd.m_vLineStep);
  EXPECT_EQ(10, wnd.m_hPageStep);
  ::SetScrollRange(wnd.m_hWnd, SB_VERT, 0, 100, FALSE);
  ::SetScrollRange(wnd.m_hWnd, SB_HORZ, 0, 100, FALSE);
  wnd.m_vScrollUnit = 5;
  wnd.SetScrollPos(17);
  EXPECT_EQ(15, ::GetScrollPos(wnd.m_hWnd, SB_VERT));
  wnd.m_hScrollUnit = 4;
  wnd.SetHScrollPos(17);
  EXPECT_EQ(16, ::GetScrollPos(wnd.m_hWnd, SB_HORZ));

  // A line up or down moves by the vertical line step, then rounds down.
  wnd.m_vLineStep = 7;
  wnd.ScrollLineDown();
  EXPECT_EQ(20, ::GetScrollPos(wnd.m_hWnd, SB_VERT)) << "15 + 7 = 22, down to the unit";
  wnd.ScrollLineUp();
  EXPECT_EQ(10, ::GetScrollPos(wnd.m_hWnd, SB_VERT)) << "20 - 7 = 13";
  wnd.ScrollLineUp();
  wnd.ScrollLineUp();
  EXPECT_EQ(0, ::GetScrollPos(wnd.m_hWnd, SB_VERT));
  EXPECT_EQ(16, ::GetScrollPos(wnd.m_hWnd, SB_HORZ)) << "the horizontal bar stays";
}

TEST(SWnd, SmallWrappersAndHelpers) {
  ProbeWnd parent;
  ASSERT_TRUE(parent.Create("", 0));
  SWnd child;
  ASSERT_TRUE(child.Create("", WS_CHILD, 0, nullptr, parent.m_hWnd, reinterpret_cast<HMENU>(9)));
  EXPECT_EQ(9, child.GetId());

  parent.answers[WM_USER + 5] = 55;
  EXPECT_EQ(55, child.NotifyParent(WM_USER + 5, 1, 2));
  EXPECT_EQ(55, SWnd::NotifyParent(&child, WM_USER + 5, 1, 2));
  EXPECT_EQ(0, parent.NotifyParent(WM_USER + 5, 1, 2)) << "no parent";

  EXPECT_TRUE(child.SetRedraw(false));
  EXPECT_FALSE(child.SetRedraw(true));

  // Close posts WM_CLOSE.
  ASSERT_TRUE(parent.Close());
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, parent.m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE));

  ASSERT_NE(0u, ::SetTimer(parent.m_hWnd, 1, 100000, nullptr));
  EXPECT_TRUE(SWnd::StopTimer(&parent));
  EXPECT_FALSE(SWnd::StopTimer(&parent));

  EXPECT_TRUE(parent.IsModalKeyEnabled(true));
  parent.m_modalEscape = false;
  EXPECT_FALSE(parent.IsModalKeyEnabled(false));

  RECT zones[] = {{0, 0, 10, 10}, {5, 5, 20, 20}};
  for (const RECT& z : zones) parent.m_zones.Add(z);
  EXPECT_EQ(0, parent.FindZone(6, 6));
  EXPECT_EQ(1, parent.FindZone(15, 6));
  EXPECT_EQ(-1, parent.FindZone(25, 6));

  ASSERT_TRUE(parent.CreateToolTip());
  HWND tip = parent.m_toolTip;
  EXPECT_TRUE(::IsWindow(tip));
  EXPECT_EQ(1, ::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
  ASSERT_TRUE(parent.CreateToolTip());
  EXPECT_FALSE(::IsWindow(tip)) << "the previous tooltip is destroyed";

  SWnd none;
  EXPECT_FALSE(none.CreateToolTip());
  EXPECT_EQ(0, none.SendMessage(WM_USER));
  EXPECT_EQ(0, none.GetText().GetLength());
  DrainMessages();
}

TEST(SWnd, CaretFollowsTheFocus) {
  SWnd wnd;
  ASSERT_TRUE(wnd.Create("", WS_VISIBLE));
  wnd.BringToFront();
  ASSERT_EQ(wnd.m_hWnd, ::GetFocus());
  ASSERT_TRUE(wnd.CreateCaret(12));
  EXPECT_TRUE(wnd.m_caretShown);
  EXPECT_EQ(12, wnd.m_caretHeight);
  POINT point;
  ASSERT_TRUE(::GetCaretPos(&point));
  EXPECT_EQ(0, point.x);
  EXPECT_TRUE(wnd.DestroyCaret());
  EXPECT_FALSE(wnd.m_caretCreated);
  EXPECT_FALSE(wnd.DestroyCaret());

  // Without the focus the caret is only recorded.
  SWnd other;
  ASSERT_TRUE(other.Create("", 0));
  ASSERT_TRUE(other.CreateCaret(8));
  EXPECT_TRUE(other.m_caretCreated);
  EXPECT_FALSE(other.m_caretShown);
}
