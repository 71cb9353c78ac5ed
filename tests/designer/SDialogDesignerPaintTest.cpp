#include "core/Platform.h"
#include "DesignerTestSupport.h"

#include "tests/support/GdiTestSupport.h"
#include "window/ControlKinds.h"
#include "window/SBrowserCtrl.h"
#include "window/SExternCtrl.h"

#include <string.h>

#include <string>

namespace {

uint32_t Rgb(COLORREF c) { return uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c); }

std::string Colored(const char* back, const std::string& controls = "", const char* extra = "") {
  std::string text = DialogText(controls, 400, 300, extra);
  size_t at = text.find("BACKCOLOR=#FF000000");
  return text.replace(at, 19, std::string("BACKCOLOR=") + back);
}

}  // namespace

class DesignerPaintTest : public DesignerTest {
public:
  // The designer's own painting, through its window's erase message.
  void Paint() {
    m_dib.Fill(0x123456);
    m_designer.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_dib.GetDC()), 0);
  }
  uint32_t At(int x, int y) { return m_dib.Rgb(x, y); }
  int Count(const RECT& r, uint32_t rgb) {
    return m_dib.Count(r.left, r.top, r.right, r.bottom, [&](uint32_t c) { return c == rgb; });
  }

  Dib32 m_dib{640, 480};
};

TEST_F(DesignerPaintTest, GridDotsAndTheDialogEdgeInTheirColours) {
  struct Case {
    const char* back;
    uint32_t fill, dot;
  } cases[] = {{"#000000", 0x000000, 0xFFFFFF},
               {"#FFFFFF", 0xFFFFFF, 0x000000},
               {"#C832C8", 0xC832C8, 0x00FF00}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(Colored(c.back)));
    Paint();
    // Design 4, 9, 14 ... are client 26, 31, 36 ...
    EXPECT_EQ(c.dot, At(26, 26)) << c.back;
    EXPECT_EQ(c.dot, At(31, 36)) << c.back;
    EXPECT_EQ(c.fill, At(27, 26)) << c.back;
    EXPECT_EQ(c.fill, At(30, 30)) << c.back;
  }
  m_designer.m_gridX = 4;
  Paint();
  EXPECT_EQ(0xC832C8u, At(26, 26));
  EXPECT_EQ(0xC832C8u, At(31, 36));
  ASSERT_TRUE(Load(Colored("#FE000005")));
  m_designer.m_gridShown = false;
  m_designer.m_selection.RemoveAll();  // no frame over the edge
  Paint();
  EXPECT_EQ(Rgb(::GetSysColor(5)), At(100, 100));
  // The edge lines just right of and below the dialog; the canvas beyond.
  EXPECT_EQ(Rgb(m_designer.m_rulerTextColor), At(22 + 400, 100));
  EXPECT_EQ(Rgb(m_designer.m_rulerTextColor), At(100, 22 + 300));
  EXPECT_EQ(Rgb(m_designer.m_designBackColor), At(22 + 402, 100));
}

TEST_F(DesignerPaintTest, SelectionFramesLayersAndTabPages) {
  ASSERT_TRUE(Load(Colored("#0000FF", Section("BUTTON", 1, "A", 23, 40, 50, 20) +
                                          Section("BUTTON", 2, "B", 123, 40, 50, 20))));
  m_designer.m_gridShown = false;
  m_designer.SetSelection(Named("A"));
  m_designer.AddToSelection(Named("B"));
  Paint();
  uint32_t frame = Rgb(::GetFocus() == m_designer.m_hWnd ? m_designer.m_selectionColor
                                                         : m_designer.m_selectionGreyColor);
  // A lies at client 45, 62 to 95, 82: two frame lines outside it.
  EXPECT_EQ(frame, At(44, 70));
  EXPECT_EQ(frame, At(43, 70));
  EXPECT_EQ(0x0000FFu, At(42, 64));
  EXPECT_EQ(frame, At(96, 70));
  EXPECT_EQ(frame, At(40, 57));   // grip 0
  EXPECT_EQ(frame, At(100, 86));  // grip 7
  // B is selected but not primary: frames, no grips.
  EXPECT_EQ(frame, At(144, 70));
  EXPECT_EQ(0x0000FFu, At(140, 57));
  // The live button's picture is drawn inside A.
  RECT inside = {45, 62, 95, 82};
  EXPECT_LT(Count(inside, 0x0000FF), 50 * 20);
  std::string controls = Section("BUTTON", 1, "A", 20, 20, 80, 40) +
                         Section("TAB", 2, "T", 150, 20, 100, 100, "WS_VISIBLE ",
                                 "TAB_CONTENT=x|y\r\nTAB_CHILDREN_PRIVATE=1 3 \r\n") +
                         Section("BUTTON", 3, "OFFPAGE", 300, 20, 60, 40);
  ASSERT_TRUE(Load(Colored("#0000FF", controls, "DIALOG_LAYER=1\r\n")));
  m_designer.m_gridShown = false;
  Paint();
  RECT a = {42, 42, 122, 82};
  EXPECT_GT(Count(a, 0x808080), 80 * 40 / 10);  // the hatch
  RECT offPage = {322, 42, 382, 82};
  EXPECT_EQ(60 * 40, Count(offPage, 0x0000FF));
}

TEST_F(DesignerPaintTest, RulersShowTheScaleAndThePointerOverTheArea) {
  ASSERT_TRUE(Load(Colored("#0000FF")));
  Paint();
  uint32_t text = Rgb(m_designer.m_rulerTextColor), back = Rgb(m_designer.m_rulerBackColor);
  struct Case {
    int x, y;
    bool tick;
  } cases[] = {
      {22, 2, true},       {22, 1, false},        // 0: 20 pixels high
      {27, 18, true},      {27, 17, false},       // 5: 4 pixels
      {32, 14, true},      {32, 13, false},       // 10: 8 pixels
      {33, 18, false},                            // between ticks
      {50, 21, true},                             // the line along the bottom
      {2, 22 + 100, true}, {1, 22 + 100, false},  // left scale: 100 reaches 20 pixels in
  };
  for (const Case& c : cases) EXPECT_EQ(c.tick ? text : back, At(c.x, c.y)) << c.x << "," << c.y;
  ::SetScrollPos(m_designer.m_hWnd, SB_HORZ, 150, TRUE);
  Paint();
  EXPECT_EQ(text, At(22 + 50, 3));  // 200 lies 50 pixels right of the left edge
  EXPECT_EQ(back, At(22, 13));      // 150 has a 10-pixel tick only
  EXPECT_EQ(text, At(22, 14));
  ASSERT_TRUE(Load(Colored("#0000FF")));
  Paint();
  uint32_t before = At(100, 6);
  POINT inside = {100, 300}, outside = {10, 300};
  m_designer.DrawRulerPointer(m_dib.GetDC(), &inside, nullptr);
  EXPECT_TRUE(m_designer.m_pointerX == 100 && m_designer.m_pointerY == 300);
  EXPECT_NE(before, At(100, 6));
  m_designer.DrawRulerPointer(m_dib.GetDC(), &outside, nullptr);
  EXPECT_EQ(-1, m_designer.m_pointerX);
  EXPECT_EQ(before, At(100, 6));
}

namespace {

// What a host's drawing callback for external controls was handed.
struct ExternCall {
  std::string record;
  std::string params;  // the block up to and including its final NUL
  void* userData = nullptr;
  int calls = 0;
};

void RecordExternCall(HDC, const Ctrl* record, void* userData, const char* params) {
  ExternCall* call = static_cast<ExternCall*>(userData);
  ++call->calls;
  call->userData = userData;
  call->record = record->m_name.GetText();
  call->params.clear();
  if (!params) return;
  // Name, NUL, value, NUL per parameter; an empty name ends the block.
  const char* at = params;
  while (*at) {
    for (int part = 0; part < 2; ++part) {
      call->params.append(at, strlen(at) + 1);
      at += strlen(at) + 1;
    }
  }
  call->params += '\0';
}

}  // namespace

TEST_F(DesignerPaintTest, ExternalControlsHandTheirParametersToTheHostsDrawing) {
  ASSERT_TRUE(
      Load(Colored("#0000FF", Section("EXTERN", 1, "CLOCK", 23, 40, 60, 30, "WS_VISIBLE ",
                                      "EXTERN_NAME=clock\r\nEXTERN_FILENAME=clock.ocx\r\n"))));
  Ctrl* clock = Named("CLOCK");
  ASSERT_TRUE(clock && clock->m_window);
  ASSERT_EQ(int(ControlKinds::KIND_EXTERN), clock->m_window->m_kind);
  SExternCtrl* external = static_cast<SExternCtrl*>(clock->m_window);
  ExternCall call;
  m_designer.m_externDraw = RecordExternCall;
  m_designer.m_externDrawData = &call;

  Paint();
  EXPECT_EQ(1, call.calls);
  EXPECT_EQ("CLOCK", call.record);
  EXPECT_EQ(std::string(1, '\0'), call.params) << "no parameters: one NUL";

  external->m_paramNames.Add("a");
  external->m_paramValues.Add("1");
  external->m_paramNames.Add("bb");
  external->m_paramValues.Add("");
  Paint();
  EXPECT_EQ(2, call.calls);
  EXPECT_EQ(&call, call.userData);
  EXPECT_EQ(std::string("a\0001\000bb\000\000\000", 9), call.params);
  m_designer.m_externDraw = nullptr;
}

TEST_F(DesignerPaintTest, ABrowserEventRedrawsTheDesigner) {
  ASSERT_TRUE(Load(Colored("#00FF00")));
  COLORREF green = m_designer.m_dialog->m_backColor;
  ASSERT_TRUE(Load(Colored("#0000FF")));
  m_designer.m_gridShown = false;
  m_designer.m_selection.RemoveAll();
  ::RedrawWindow(m_parent.m_hWnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  auto screen = [&](int x, int y) {
    HDC dc = ::GetDC(m_designer.m_hWnd);
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(m_designer.m_hWnd, dc);
    return Rgb(c);
  };
  ASSERT_EQ(0x0000FFu, screen(100, 100));
  // The document changes behind the window's back; the browser's message
  // brings the picture up to date.
  m_designer.m_dialog->m_backColor = green;
  ASSERT_EQ(0x0000FFu, screen(100, 100));
  ::SendMessageA(m_designer.m_hWnd, SWM_BROWSERCOMPLETE, 0, 0);
  EXPECT_EQ(0x00FF00u, screen(100, 100));
}
