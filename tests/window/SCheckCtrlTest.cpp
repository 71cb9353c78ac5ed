#include "core/Platform.h"
#include "window/SCheckCtrl.h"

#include "core/SFileMem.h"
#include "window/SExListCtrl.h"
#include "window/SExternCtrl.h"
#include "window/SLabelCtrl.h"
#include "window/SProgressCtrl.h"
#include "window/SRadioCtrl.h"
#include "window/SRichEditCtrl.h"
#include "window/SScrollCtrl.h"
#include "window/SStaticCtrl.h"
#include "window/STabCtrl.h"
#include "tests/window/DialogTestSupport.h"
#include "tests/window/PaintSupport.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class SimpleControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 400, 300};
    ASSERT_TRUE(parent.Create("", 0, 0, &rect));
  }
  template <class T>
  T* Button(DWORD style) {
    T* control = new T;
    owned.emplace_back(control);
    RECT rect = {0, 0, 80, 20};
    EXPECT_TRUE(control->CreateControl("BUTTON", "b", WS_CHILD | style, 0, &rect, parent.m_hWnd));
    return control;
  }
  void Click(SWnd* control) {
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                       reinterpret_cast<LPARAM>(control->m_hWnd));
  }
  RecordingWnd parent;
  std::vector<std::unique_ptr<SWnd>> owned;
};

LRESULT Checked(SWnd* radio) { return radio->SendMessage(BM_GETCHECK); }

// Shown by its own style (the test's parent itself is hidden).
bool Shown(SWnd& wnd) { return (StyleOf(wnd.m_hWnd) & WS_VISIBLE) != 0; }

}  // namespace

TEST_F(SimpleControlsTest, CheckBoxClicksAndStates) {
  SCheckCtrl* check = Button<SCheckCtrl>(BS_3STATE);
  check->SetCheck(7);
  EXPECT_EQ(2, check->GetCheck());
  Click(check);
  EXPECT_EQ(1, check->GetCheck()) << "indeterminate becomes checked";
  Click(check);
  EXPECT_EQ((std::vector<LPARAM>{1, 0}),
            (std::vector<LPARAM>{parent.Nth(SWM_CHECKCHANGED, 0).lParam,
                                 parent.Nth(SWM_CHECKCHANGED, 1).lParam}));
  check->SendMessage(SWM_LCLICK, 0, MAKELPARAM(3, 4));
  EXPECT_EQ(MOUSE_LEFT | MOUSE_CLICK, parent.Nth(SWM_CHECKMOUSE).mouse.flags);
}

TEST_F(SimpleControlsTest, RadioGroupsUnderOneParent) {
  SRadioCtrl* a = Button<SRadioCtrl>(BS_RADIOBUTTON);
  SRadioCtrl* b = Button<SRadioCtrl>(BS_RADIOBUTTON);
  SRadioCtrl* c = Button<SRadioCtrl>(BS_RADIOBUTTON);
  SRadioCtrl* other = Button<SRadioCtrl>(BS_RADIOBUTTON);
  SRadioCtrl* loose = Button<SRadioCtrl>(BS_RADIOBUTTON);
  a->m_group = b->m_group = c->m_group = 1;
  other->m_group = 2;
  other->SetCheck();
  loose->SetCheck();
  a->SetCheck();
  b->SetCheck();
  Click(c);
  EXPECT_EQ(BST_UNCHECKED, Checked(a));
  EXPECT_EQ(BST_UNCHECKED, Checked(b));
  EXPECT_EQ(BST_CHECKED, Checked(c));
  EXPECT_EQ(BST_CHECKED, Checked(other)) << "another group is left alone";
  EXPECT_EQ(BST_CHECKED, Checked(loose)) << "a radio without group stays checked";
  EXPECT_EQ(1, parent.Nth(SWM_RADIOCLICKED).lParam);
}

TEST_F(SimpleControlsTest, TabPagesFollowTheSelection) {
  STabCtrl tab;
  RECT rect = {0, 0, 200, 100};
  ASSERT_TRUE(
      tab.CreateControl(WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd));
  EXPECT_EQ(0, tab.AddTab("one"));
  EXPECT_EQ(1, tab.AddTab("two"));
  SWnd first, both;
  RECT page = {0, 30, 50, 60};
  ASSERT_TRUE(first.Create("", WS_CHILD | WS_VISIBLE, 0, &page, parent.m_hWnd));
  ASSERT_TRUE(both.Create("", WS_CHILD | WS_VISIBLE, 0, &page, parent.m_hWnd));
  EXPECT_TRUE(tab.AttachPage(0, &first));
  EXPECT_FALSE(tab.AttachPage(0, &first)) << "already on that tab";
  EXPECT_FALSE(tab.AttachPage(2, &first));
  EXPECT_FALSE(tab.AttachPage(0, nullptr));
  EXPECT_TRUE(tab.AttachPage(0, &both));
  EXPECT_TRUE(tab.AttachPage(1, &both));
  tab.ShowPage(1);
  EXPECT_FALSE(Shown(first));
  EXPECT_TRUE(Shown(both));
  tab.ShowPage(2);  // the tab count: nothing changes
  EXPECT_FALSE(Shown(first));
  tab.SendMessage(TCM_SETCURSEL, 0);
  NMHDR change = {tab.m_hWnd, 0, UINT(TCN_SELCHANGE)};
  parent.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  EXPECT_TRUE(Shown(first));
  EXPECT_TRUE(Shown(both));
  EXPECT_EQ(0, parent.Nth(SWM_TABSELCHANGED).lParam);
}

TEST_F(SimpleControlsTest, ReportListIgnoresTheMiddleButton) {
  SExListCtrl list;
  RECT rect = {0, 0, 200, 100};
  ASSERT_TRUE(list.Create(&rect, WS_VISIBLE | LVS_REPORT, 0, parent.m_hWnd, 3));
  // The list view follows a press until the button is released: the release
  // waits in the queue.
  list.SendMessage(WM_MBUTTONDOWN, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(0, parent.Count(SWM_LISTMOUSE));
  ::PostMessageA(list.m_hWnd, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
  list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6));
  DrainMessages();
  // The press itself, then the list view's own right click.
  EXPECT_EQ((std::vector<uint32_t>{MOUSE_RIGHT | MOUSE_DOWN, MOUSE_RIGHT | MOUSE_CLICK}),
            parent.MouseFlags(SWM_LISTMOUSE));
  list.SetBackColor(0x00123456);
  EXPECT_EQ(0x00123456u, list.GetBackColor());
}

TEST_F(SimpleControlsTest, ExternParameterBlock) {
  SExternCtrl external;
  int length = 0;
  std::unique_ptr<unsigned char[]> empty(external.BuildParams(&length));
  EXPECT_EQ(1, length);
  EXPECT_EQ(0, empty[0]);
  external.m_paramNames.Add("a");
  external.m_paramValues.Add("1");
  external.m_paramNames.Add("bb");
  external.m_paramValues.Add("");
  std::unique_ptr<unsigned char[]> block(external.BuildParams(&length));
  ASSERT_EQ(9, length);
  EXPECT_EQ(std::string("a\0"
                        "1\0"
                        "bb\0\0\0",
                        9),
            std::string(reinterpret_cast<char*>(block.get()), 9));
}

TEST_F(SimpleControlsTest, LabelTextStaysInsideItsRectangle) {
  struct Case {
    int alignment;
    bool inkLeft, inkRight;
  };
  const Case cases[] = {{SLabelCtrl::ALIGN_LEFT, true, false},
                        {SLabelCtrl::ALIGN_JUSTIFY, true, false},
                        {SLabelCtrl::ALIGN_RIGHT, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alignment);
    SLabelCtrl label;
    RECT rect = {10, 10, 210, 40};
    ASSERT_TRUE(label.Create("iii", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd));
    label.m_textColor = 0x000000FF;
    label.SetAlignment(c.alignment);
    Dib32 canvas(200, 30, 0xFFFFFF);
    label.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
    bool left = false, right = false, outside = false;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 200; ++x) {
        bool ink = canvas.Rgb(x, y) == 0xFF0000;
        if (!ink) continue;
        if (x < 2 || x >= 198 || y < 2 || y >= 28) outside = true;
        (x < 100 ? left : right) = true;
      }
    }
    EXPECT_EQ(c.inkLeft, left);
    EXPECT_EQ(c.inkRight, right);
    EXPECT_FALSE(outside);
  }
  SLabelCtrl label;
  RECT rect = {0, 0, 50, 20};
  ASSERT_TRUE(label.Create("x", WS_CHILD, 0, &rect, parent.m_hWnd));
  label.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(1, 2));
  EXPECT_EQ(MOUSE_LEFT | MOUSE_DOUBLE, parent.Nth(SWM_LABELMOUSE).mouse.flags);
}

TEST_F(SimpleControlsTest, WrappedSystemControls) {
  // The static control draws its edge along the chosen sides only.
  SStaticCtrl edge;
  RECT rect = {0, 0, 40, 20};
  ASSERT_TRUE(edge.Create(WS_VISIBLE, 0, &rect, parent.m_hWnd, 1));
  edge.m_edge = EDGE_SUNKEN;
  edge.m_borders = BF_LEFT | BF_BOTTOM;
  Dib32 canvas(40, 20, 0xFF00FF);
  edge.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
  uint32_t faceRgb = RgbOf(::GetSysColor(COLOR_BTNFACE));
  EXPECT_NE(faceRgb, canvas.Rgb(0, 10)) << "left edge";
  EXPECT_NE(faceRgb, canvas.Rgb(20, 19)) << "bottom edge";
  EXPECT_EQ(faceRgb, canvas.Rgb(39, 10)) << "no right edge";
  EXPECT_EQ(faceRgb, canvas.Rgb(20, 0)) << "no top edge";

  // The rich edit streams a whole file in as plain text.
  SRichEditCtrl rich;
  RECT big = {0, 0, 200, 60};
  ASSERT_TRUE(
      rich.CreateControl("RichEdit20A", "old", WS_CHILD | ES_MULTILINE, 0, &big, parent.m_hWnd));
  SFileMem file("first line\r\nsecond");
  EXPECT_TRUE(rich.LoadFromFile(&file));
  EXPECT_FALSE(rich.LoadFromFile(nullptr));
  EXPECT_NE(nullptr, strstr(rich.GetText().GetText(), "second"));
  EXPECT_EQ(nullptr, strstr(rich.GetText().GetText(), "old"));

  // The progress bar starts at 0 to 100; the scroll bar reports its range.
  SProgressCtrl progress;
  ASSERT_TRUE(progress.CreateControl(PROGRESS_CLASSA, "", WS_CHILD, 0, &rect, parent.m_hWnd));
  EXPECT_EQ(100, progress.SendMessage(PBM_GETRANGE, FALSE));
  EXPECT_EQ(SImage::COLOR_NONE, progress.GetBackColor());
  SScrollCtrl scroll;
  ASSERT_TRUE(scroll.CreateControl("SCROLLBAR", "", WS_CHILD, 0, &rect, parent.m_hWnd));
  scroll.SendMessage(SBM_SETRANGE, 3, 9);
  EXPECT_EQ(3, scroll.GetRangeMin());
  EXPECT_EQ(9, scroll.GetRangeMax());
}
