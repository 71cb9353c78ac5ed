#include "core/Platform.h"
#include "window/SListCtrl.h"

#include "PaintSupport.h"
#include "RecordingWnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A parent window with a list of items "0", "1", ... of the style.
struct ListOnParent {
  RecordingWnd parent;
  SListCtrl list;

  ListOnParent(DWORD style, int items) {
    RECT rect = {0, 0, 300, 300};
    EXPECT_TRUE(parent.Create("", 0, 0, &rect));
    RECT listRect = {10, 10, 210, 210};
    EXPECT_TRUE(list.Create(style, 0, &listRect, parent.m_hWnd, 5));
    char text[8];
    for (int i = 0; i < items; ++i) {
      snprintf(text, sizeof(text), "%d", i);
      list.AddItem(text);
    }
    parent.seen.clear();
  }

  // A point inside the item, or below the last item for -1.
  LPARAM ItemPoint(int index) {
    if (index < 0) return MAKELPARAM(20, 190);
    RECT r;
    list.SendMessage(LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
  }

  void Press(UINT message, int index) {
    WPARAM keys = message == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON;
    list.SendMessage(message, keys, ItemPoint(index));
  }

  std::vector<int> Selected() {
    std::vector<int> out;
    for (int i = 0; i < list.GetCount(); ++i) {
      if (list.IsSelected(i)) out.push_back(i);
    }
    return out;
  }

  int SelChanges() const { return parent.Count(SWM_LISTBOXSELCHANGED); }
};

}  // namespace

TEST(SListCtrl, CreatesAnOwnerDrawnListOfRecordsThatItsParentMeasures) {
  SListCtrl none;
  EXPECT_EQ(-1, none.AddItem("x"));
  EXPECT_EQ(0, none.GetItemHeight());

  ListOnParent p(WS_VSCROLL | LBS_SORT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED, 0);
  DWORD style = StyleOf(p.list.m_hWnd);
  EXPECT_TRUE(style & LBS_OWNERDRAWVARIABLE);
  EXPECT_FALSE(style & (LBS_SORT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED));
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_EQ(0, p.list.AddItem("beta"));
  EXPECT_EQ(1, p.list.AddItem("alpha")) << "never sorted";
  EXPECT_STREQ("alpha", p.list.GetItemText(1).GetText());

  TEXTMETRICA metrics;
  HDC dc = ::GetDC(p.list.m_hWnd);
  ::GetTextMetricsA(dc, &metrics);
  ::ReleaseDC(p.list.m_hWnd, dc);
  EXPECT_EQ(metrics.tmHeight + 2, p.list.GetItemHeight());
  EXPECT_EQ(p.list.GetItemHeight(), p.list.SendMessage(LB_GETITEMHEIGHT, 0))
      << "the parent answered WM_MEASUREITEM";
  p.list.m_leftImageHeight = metrics.tmHeight + 20;
  p.list.m_margin = 3;
  EXPECT_EQ(metrics.tmHeight + 26, p.list.GetItemHeight());
  EXPECT_EQ(2, p.list.AddItem("tall"));
  EXPECT_EQ(metrics.tmHeight + 26, p.list.SendMessage(LB_GETITEMHEIGHT, 2));
}

TEST(SListCtrl, SingleSelectionFollowsPressesAndReportsEveryButtonEvent) {
  ListOnParent p(0, 3);
  p.Press(WM_LBUTTONDOWN, 1);
  EXPECT_EQ(1, p.list.GetSelection());
  EXPECT_EQ((std::vector<UINT>{SWM_LISTBOXSELCHANGED, SWM_LISTBOXMOUSE}),
            p.parent.Sequence({SWM_LISTBOXSELCHANGED, SWM_LISTBOXMOUSE}));
  EXPECT_EQ(p.list.m_hWnd, ::GetFocus());
  p.list.SendMessage(WM_LBUTTONUP, 0, p.ItemPoint(1));
  EXPECT_EQ((std::vector<uint32_t>{9, 33, 17}), p.parent.MouseFlags(SWM_LISTBOXMOUSE));

  RecordingWnd::Seen last = p.parent.Nth(SWM_LISTBOXMOUSE);
  EXPECT_EQ(MAKELPARAM(last.mouse.x, last.mouse.y), p.ItemPoint(1));
  EXPECT_EQ(reinterpret_cast<WPARAM>(&p.list), last.wParam);

  p.Press(WM_LBUTTONDOWN, 1);
  EXPECT_EQ(1, p.SelChanges()) << "the same item again changes nothing";
  p.Press(WM_LBUTTONDOWN, -1);
  EXPECT_EQ(-1, p.list.GetSelection()) << "below the last item clears";
  EXPECT_EQ(2, p.SelChanges());

  // The right button selects as well and reports 12, 36, 20.
  p.parent.seen.clear();
  p.Press(WM_RBUTTONDOWN, 2);
  p.list.SendMessage(WM_RBUTTONUP, 0, p.ItemPoint(2));
  EXPECT_EQ(2, p.list.GetSelection());
  EXPECT_EQ((std::vector<uint32_t>{12, 36, 20}), p.parent.MouseFlags(SWM_LISTBOXMOUSE));

  // A double click counts only with a selection.
  p.parent.seen.clear();
  p.list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, p.ItemPoint(2));
  p.list.SetSelection(-1);
  p.list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, p.ItemPoint(2));
  EXPECT_EQ((std::vector<UINT>{SWM_LISTBOXDBLCLK, SWM_LISTBOXMOUSE, SWM_LISTBOXMOUSE}),
            p.parent.Sequence({SWM_LISTBOXDBLCLK, SWM_LISTBOXMOUSE}));
  EXPECT_EQ((std::vector<uint32_t>{65, 65}), p.parent.MouseFlags(SWM_LISTBOXMOUSE));

  // Keys report the key and any moved selection.
  p.parent.seen.clear();
  p.list.SetSelection(1);
  p.list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(2, p.list.GetSelection());
  p.list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ((std::vector<UINT>{SWM_LISTBOXSELCHANGED, SWM_LISTBOXKEYDOWN, SWM_LISTBOXKEYDOWN}),
            p.parent.Sequence({SWM_LISTBOXSELCHANGED, SWM_LISTBOXKEYDOWN}));
  EXPECT_EQ(VK_DOWN, p.parent.Nth(SWM_LISTBOXKEYDOWN).lParam);
}

TEST(SListCtrl, ExtendedSelectionWithShiftAndCtrl) {
  ListOnParent p(LBS_EXTENDEDSEL, 6);
  // Injected keys go to the foreground window.
  p.parent.Show(SW_SHOW);
  ASSERT_TRUE(p.parent.BringToFront());

  {
    HeldKeys shift({VK_SHIFT});
    ASSERT_TRUE(shift.AllDown());
    p.Press(WM_LBUTTONDOWN, 2);
  }
  EXPECT_EQ((std::vector<int>{2}), p.Selected()) << "Shift without a selection";

  p.Press(WM_LBUTTONDOWN, 1);
  EXPECT_EQ((std::vector<int>{1}), p.Selected());
  {
    HeldKeys shift({VK_SHIFT});
    p.Press(WM_LBUTTONDOWN, 3);
  }
  EXPECT_EQ((std::vector<int>{1, 2, 3}), p.Selected());
  {
    HeldKeys control({VK_CONTROL});
    p.Press(WM_LBUTTONDOWN, 2);
  }
  EXPECT_EQ((std::vector<int>{1, 3}), p.Selected());
  EXPECT_EQ(1, p.list.SendMessage(LB_GETANCHORINDEX)) << "the anchor moved to the first selected";
  {
    HeldKeys control({VK_CONTROL});
    p.Press(WM_LBUTTONDOWN, 5);
    p.Press(WM_LBUTTONDOWN, -1);  // Ctrl below the items changes nothing
  }
  EXPECT_EQ((std::vector<int>{1, 3, 5}), p.Selected());
  EXPECT_EQ(5, p.list.SendMessage(LB_GETANCHORINDEX));
  {
    HeldKeys both({VK_CONTROL, VK_SHIFT});
    p.Press(WM_LBUTTONDOWN, 2);
  }
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), p.Selected()) << "the range is added";
  EXPECT_EQ(6, p.SelChanges());

  // A right click on a selected item keeps the selection for a menu.
  p.parent.seen.clear();
  p.Press(WM_RBUTTONDOWN, 3);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), p.Selected());
  EXPECT_EQ(0, p.SelChanges());
  EXPECT_EQ((std::vector<uint32_t>{12}), p.parent.MouseFlags(SWM_LISTBOXMOUSE));

  p.Press(WM_RBUTTONDOWN, 0);
  EXPECT_EQ((std::vector<int>{0}), p.Selected());
  EXPECT_EQ(1, p.SelChanges());
  p.Press(WM_LBUTTONDOWN, 0);
  EXPECT_EQ(1, p.SelChanges()) << "the one selected item again";
  p.Press(WM_LBUTTONDOWN, -1);
  EXPECT_TRUE(p.Selected().empty());
  EXPECT_EQ(-1, p.list.GetSelection());
  EXPECT_EQ(2, p.SelChanges());
}

TEST(SListCtrl, MultipleSelectionTogglesWithTheLeftButton) {
  ListOnParent p(LBS_MULTIPLESEL, 4);
  p.Press(WM_LBUTTONDOWN, 1);
  p.Press(WM_LBUTTONDOWN, 3);
  EXPECT_EQ((std::vector<int>{1, 3}), p.Selected());
  EXPECT_EQ(2, p.list.GetSelectedCount());
  EXPECT_EQ(1, p.list.GetSelection());
  p.Press(WM_LBUTTONDOWN, 1);
  EXPECT_EQ((std::vector<int>{3}), p.Selected());
  p.Press(WM_RBUTTONDOWN, 0);
  EXPECT_EQ((std::vector<int>{3}), p.Selected()) << "the right button selects nothing";
  p.Press(WM_LBUTTONDOWN, -1);
  EXPECT_TRUE(p.Selected().empty());
  EXPECT_EQ(4, p.SelChanges());
  p.list.SelectRange(0, 2);
  EXPECT_FALSE(p.list.ToggleSelection(1));
  p.list.SelectItem(9, true);
  EXPECT_EQ((std::vector<int>{0, 2}), p.Selected());
}

TEST(SListCtrl, DrawsItemsWithItsColoursAndColumns) {
  ListOnParent p(0, 0);
  p.list.AddItem("");
  p.list.m_selBackColor = RGB(200, 10, 10);
  p.list.SetBackColor(RGB(10, 200, 10));
  p.list.m_leftImageWidth = 10;

  Dib32 canvas(100, 20);
  DRAWITEMSTRUCT draw;
  memset(&draw, 0, sizeof(draw));
  draw.CtlType = ODT_LISTBOX;
  draw.CtlID = 5;
  draw.itemAction = ODA_FOCUS;
  draw.itemState = ODS_SELECTED;
  draw.hwndItem = p.list.m_hWnd;
  draw.hDC = canvas.GetDC();
  draw.rcItem = {0, 0, 100, 20};
  draw.itemData = static_cast<ULONG_PTR>(p.list.SendMessage(LB_GETITEMDATA, 0));
  EXPECT_TRUE(p.list.DrawItem(&draw));
  EXPECT_EQ(0xFFFFFFu, canvas.Rgb(50, 10)) << "a focus change draws nothing";
  // Drawn through the parent's WM_DRAWITEM: the left column (10 + 4 x 1)
  // keeps the background, the text part shows the selection.
  draw.itemAction = ODA_DRAWENTIRE;
  EXPECT_EQ(1, p.parent.SendMessage(WM_DRAWITEM, 5, reinterpret_cast<LPARAM>(&draw)));
  EXPECT_EQ(0x0AC80Au, canvas.Rgb(13, 10));
  EXPECT_EQ(0xC80A0Au, canvas.Rgb(14, 10));
  EXPECT_EQ(0xC80A0Au, canvas.Rgb(99, 10));

  // Records of another list are not drawn.
  SListCtrl::_SItem foreign = {SString("x"), -1, -1, 0, nullptr};
  draw.itemData = reinterpret_cast<ULONG_PTR>(&foreign);
  EXPECT_FALSE(p.list.DrawItem(&draw));

  // The background brush follows the colour; hollow leaves the system's.
  HDC dc = ::GetDC(p.list.m_hWnd);
  LOGBRUSH info;
  ASSERT_TRUE(::GetObjectA(p.list.OnCtlColorListBox(dc), sizeof(info), &info));
  EXPECT_EQ(RGB(10, 200, 10), info.lbColor);
  p.list.SetBackColor(SImage::COLOR_HOLLOW);
  EXPECT_EQ(nullptr, p.list.OnCtlColorListBox(dc));
  ::ReleaseDC(p.list.m_hWnd, dc);
}
