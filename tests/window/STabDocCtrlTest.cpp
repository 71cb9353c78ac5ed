#include "core/Platform.h"
#include "window/STabDocCtrl.h"

#include "core/SFileMem.h"
#include "window/SDialog.h"
#include "tests/window/DialogTestSupport.h"
#include "tests/window/DragScript.h"
#include "tests/window/PaintSupport.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class STabDocCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 400, 300};
    ASSERT_TRUE(parent.Create("parent", WS_POPUP | WS_VISIBLE, 0, &rect));
    ASSERT_TRUE(tabs.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd));
  }

  void Add(std::initializer_list<const char*> titles) {
    int id = tabs.GetCount();
    for (const char* title : titles) tabs.AddDocument(title, id++);
  }
  std::string Titles() {
    std::string out;
    for (int i = 0; i < tabs.GetCount(); ++i)
      out += std::string(tabs.GetItem(i)->m_title.GetText()) + " ";
    return out;
  }
  // The strip painted into a canvas; the pixel at the point.
  uint32_t PaintedAt(int x, int y) {
    Dib32 canvas(400, 300);
    tabs.Paint(canvas.GetDC());
    return canvas.Rgb(x, y);
  }
  static POINT Middle(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Click(const RECT& r) {
    POINT p = Middle(r);
    tabs.SendMessage(SWM_LCLICK, 0, MAKELPARAM(p.x, p.y));
  }

  RecordingWnd parent;
  STabDocCtrl tabs;
};

}  // namespace

TEST_F(STabDocCtrlTest, WithoutDocumentsOnlyTheStripAndBandArePainted) {
  tabs.SetColors(RGB(10, 20, 30), RGB(200, 0, 0), 0xFF000000);
  tabs.SetTextColors(RGB(0, 250, 0), 0xFF000000);
  POINT close = Middle(tabs.m_closeButton);
  EXPECT_EQ(0x0A141Eu, PaintedAt(close.x, close.y));
  EXPECT_EQ(0x0A141Eu, PaintedAt(tabs.m_closeButton.left + 4, tabs.m_closeButton.top + 4));
  EXPECT_EQ(0x00FA00u, PaintedAt(5, tabs.m_stripHeight - 1)) << "the band";
  Add({"one"});
  EXPECT_EQ(0x00FA00u, PaintedAt(tabs.m_closeButton.left + 4, tabs.m_closeButton.top + 4))
      << "the close button's cross";
  EXPECT_EQ(0xC80000u, PaintedAt(tabs.m_tabRects[0].left + 1, tabs.m_tabRects[0].top + 1));
}

TEST_F(STabDocCtrlTest, RemovingKeepsTheIndexAndClosingTheOnlyTabLeavesAValidState) {
  Add({"a", "b", "c", "d"});
  EXPECT_EQ(3, tabs.m_current);
  tabs.RemoveAt(3);
  EXPECT_EQ(2, tabs.m_current) << "the last removed while current: the one before";
  tabs.RemoveAt(0);
  EXPECT_EQ(0, tabs.m_current) << "the following tab takes the index";
  EXPECT_EQ("b c ", Titles());
  tabs.RemoveAt(7);
  tabs.RemoveAt(-1);
  EXPECT_EQ(2, tabs.GetCount());

  tabs.RemoveAll();
  Add({"only"});
  tabs.m_firstVisible = 0;
  Click(tabs.m_closeButton);
  EXPECT_EQ(0, tabs.GetCount());
  EXPECT_EQ(-1, tabs.m_current);
  EXPECT_EQ(0, tabs.m_firstVisible);
  EXPECT_EQ(0, tabs.m_tabRects.GetCount());
  PaintedAt(1, 1);
  Add({"again"});
  EXPECT_EQ(0, tabs.m_current);
  EXPECT_GT(tabs.m_tabRects[0].right, 0);
  EXPECT_TRUE(::IsWindowVisible(tabs.GetItem(0)->m_window.m_hWnd));
}

TEST_F(STabDocCtrlTest, TheParentMayKeepADocumentAndModifiedTitlesShowAStar) {
  Add({"doc", "doc"});
  tabs.GetItem(1)->m_modified = true;
  tabs.MeasureTabs();
  RECT plain = tabs.m_tabRects[0], modified = tabs.m_tabRects[1];
  EXPECT_GT(modified.right - modified.left, plain.right - plain.left);
  parent.answers[SWM_TABDOCCLOSE] = 1;
  Click(tabs.m_closeButton);
  EXPECT_EQ(2, tabs.GetCount());
  EXPECT_EQ(1, parent.Nth(SWM_TABDOCCLOSE).lParam);
  parent.answers[SWM_TABDOCCLOSE] = 0;
  tabs.SendMessage(WM_MBUTTONUP, 0, MAKELPARAM(Middle(modified).x, Middle(modified).y));
  EXPECT_EQ(1, tabs.GetCount());
}

TEST_F(STabDocCtrlTest, OverflowingTabsScrollAndTheCloseButtonMovesTheScrollButtons) {
  RECT narrow = {0, 0, 200, 100};
  ::MoveWindow(tabs.m_hWnd, 0, 0, narrow.right, narrow.bottom, TRUE);
  Add({"first document", "second document", "third document", "fourth document"});
  EXPECT_LT(tabs.m_firstVisible + tabs.m_visibleCount, tabs.GetCount());
  EXPECT_EQ(0, tabs.m_firstVisible);
  Click(tabs.m_rightButton);
  EXPECT_EQ(1, tabs.m_firstVisible);
  EXPECT_EQ(0, tabs.m_tabRects[0].right) << "scrolled out";
  Click(tabs.m_leftButton);
  EXPECT_EQ(0, tabs.m_firstVisible);

  int right = tabs.m_rightButton.right;
  tabs.m_showClose = false;
  tabs.Layout();
  EXPECT_EQ(right + tabs.m_textHeight, tabs.m_rightButton.right);
  EXPECT_EQ(narrow.right - tabs.m_inset, tabs.m_rightButton.right);
  EXPECT_TRUE(::IsRectEmpty(&tabs.m_closeButton));
}

TEST_F(STabDocCtrlTest, TabsAreReorderedByDraggingAndAdoptedByAnotherControl) {
  Add({"a", "b", "c"});
  STabDocCtrl other;
  RECT rect = {0, 0, 300, 100};
  ASSERT_TRUE(other.Create("", WS_POPUP | WS_VISIBLE, 0, &rect));
  ::SetWindowPos(other.m_hWnd, nullptr, 500, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  tabs.m_dropTargets.Add(other.m_hWnd);

  auto screen = [this](const RECT& r) {
    POINT p = Middle(r);
    ::ClientToScreen(tabs.m_hWnd, &p);
    return p;
  };
  POINT down = Middle(tabs.m_tabRects[0]);
  {
    DragScript script({screen(tabs.m_tabRects[1]), screen(tabs.m_tabRects[2])});
    tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  }
  EXPECT_EQ("b c a ", Titles());
  EXPECT_EQ(2, tabs.m_current) << "the dragged document stays current";
  EXPECT_EQ(1, parent.Count(SWM_TABDOCSELECT));
  EXPECT_EQ(2, parent.Count(SWM_TABDOCMOVE));

  STabDocCtrl::_SItem* moved = tabs.GetItem(2);
  DragScript script({POINT{550, 450}});
  down = Middle(tabs.m_tabRects[2]);
  tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  EXPECT_EQ("b c ", Titles());
  ASSERT_EQ(1, other.GetCount());
  EXPECT_EQ(moved, other.GetItem(0));
  EXPECT_EQ(other.m_hWnd, ::GetParent(moved->m_window.m_hWnd));
}

TEST_F(STabDocCtrlTest, BuilderMakesDocumentsFromTheContent) {
  SDialog dialog;
  ASSERT_TRUE(BuildDialog(
      dialog, DialogText({DialogSection("300 300"),
                          Section("TABDOC", 6, "DOCS", "0 0 300 200",
                                  {"STYLE=WS_VISIBLE ", "TABDOC_CONTENT=One|Two|Three",
                                   "TABDOC_SELECTION=1", "TABDOC_CLOSE=0", "TABDOC_MOVE=1"})})));
  STabDocCtrl* built = dynamic_cast<STabDocCtrl*>(dialog.GetControlById(6));
  ASSERT_NE(nullptr, built);
  ASSERT_EQ(3, built->GetCount());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(i, built->GetItem(i)->m_id);
  EXPECT_STREQ("Two", built->GetItem(1)->m_title.GetText());
  EXPECT_EQ(1, built->m_current);
  EXPECT_FALSE(built->m_showClose);
  EXPECT_TRUE(built->m_moveTabs);
}
