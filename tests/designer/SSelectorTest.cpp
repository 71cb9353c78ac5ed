#include "core/Platform.h"
#include "SurfaceTestSupport.h"

#include "designer/SSelector.h"

#include <functional>

namespace {

// The common dialogs answered by the test: the requests they saw, and what
// they put back.
struct DialogAnswers {
  CHOOSECOLORA color = {};
  CHOOSEFONTA font = {};
  LOGFONTA seenFont = {};
  bool confirm = true;
  COLORREF chosenColor = 0;
  INT pointSize = 0;  // tenths of a point
  LONG weight = FW_NORMAL;
  BYTE italic = 0;
};
DialogAnswers g_answers;

BOOL WINAPI AnswerColor(CHOOSECOLORA* request) {
  g_answers.color = *request;
  if (g_answers.confirm) request->rgbResult = g_answers.chosenColor;
  return g_answers.confirm;
}

BOOL WINAPI AnswerFont(CHOOSEFONTA* request) {
  g_answers.font = *request;
  g_answers.seenFont = *request->lpLogFont;
  if (!g_answers.confirm) return FALSE;
  request->iPointSize = g_answers.pointSize;
  request->lpLogFont->lfWeight = g_answers.weight;
  request->lpLogFont->lfItalic = g_answers.italic;
  strcpy(request->lpLogFont->lfFaceName, "Chosen");
  return TRUE;
}

class SelectorTest : public HostedTest {
public:
  void SetUp() override {
    OpenHost();
    g_answers = DialogAnswers();
    SSelector::s_chooseColor = AnswerColor;
    SSelector::s_chooseFont = AnswerFont;
  }
  void TearDown() override {
    SSelector::s_chooseColor = ::ChooseColorA;
    SSelector::s_chooseFont = ::ChooseFontA;
    HostedTest::TearDown();
  }
};

// What a timer does inside the system-colour window's modal run.
std::function<void(SSelector::_SWndColor*)> g_inWindow;

void CALLBACK ActInColorWindow(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  HWND found = ::FindWindowA(nullptr, "Pick a colour");
  auto* window = dynamic_cast<SSelector::_SWndColor*>(SWnd::FromHandle(found));
  if (window && g_inWindow) g_inWindow(window);
}

}  // namespace

TEST_F(SelectorTest, TheColourDialogStartsFromPlainColoursOnly) {
  SSelector selector(m_host.m_hWnd);
  struct Case {
    uint32_t initial;
    bool preventCustom;
    DWORD flags;
  } cases[] = {
      {0xFF000000, false, CC_FULLOPEN | CC_ANYCOLOR},
      {0xFE000005, false, CC_FULLOPEN | CC_ANYCOLOR},
      {0x00FF0000, false, CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT},
      {0x00FF0000, true, CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT | CC_PREVENTFULLOPEN},
  };
  for (const Case& c : cases) {
    g_answers.chosenColor = RGB(1, 2, 3);
    EXPECT_TRUE(selector.ChooseColor(c.initial, c.preventCustom));
    EXPECT_EQ(c.flags, g_answers.color.Flags) << std::hex << c.initial;
    EXPECT_EQ(c.initial, g_answers.color.rgbResult);
    EXPECT_EQ(m_host.m_hWnd, g_answers.color.hwndOwner);
    EXPECT_NE(nullptr, g_answers.color.lpCustColors);
    EXPECT_EQ(RGB(1, 2, 3), selector.m_color);
  }
  g_answers.confirm = false;
  g_answers.chosenColor = RGB(9, 9, 9);
  EXPECT_FALSE(selector.ChooseColor(0, false));
  EXPECT_EQ(RGB(1, 2, 3), selector.m_color);
}

TEST_F(SelectorTest, TheFontDialogKeepsWholePointsAndBoldOnlyAtWeight700) {
  SSelector selector(m_host.m_hWnd);
  struct Case {
    INT tenths;
    LONG weight;
    BYTE italic;
    int points, style;
  } cases[] = {{105, FW_NORMAL, 0, 10, 0}, {120, FW_BOLD, 1, 12, 3}, {90, 800, 0, 9, 0}};
  for (const Case& c : cases) {
    g_answers.pointSize = c.tenths;
    g_answers.weight = c.weight;
    g_answers.italic = c.italic;
    LOGFONTA font = {};
    strcpy(font.lfFaceName, "Start");
    int points = 0;
    EXPECT_TRUE(selector.ChooseFont(&font, &points));
    EXPECT_EQ(DWORD(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT), g_answers.font.Flags);
    EXPECT_STREQ("Start", g_answers.seenFont.lfFaceName);
    EXPECT_EQ(c.points, points);
    EXPECT_EQ(c.points, selector.m_pointSize);
    EXPECT_EQ(c.style, selector.m_fontStyle) << c.weight;
    EXPECT_EQ(SString("Chosen"), selector.m_faceName);
  }
  g_answers.confirm = false;
  LOGFONTA font = {};
  int points = 77;
  EXPECT_FALSE(selector.ChooseFont(&font, &points));
  EXPECT_EQ(77, points);
  EXPECT_EQ(9, selector.m_pointSize);
}

TEST_F(SelectorTest, TheSystemColourWindowAnswersWithTheChosenSystemColour) {
  EXPECT_FALSE(SSelector(nullptr).ChooseSystemColor("Pick a colour"));
  SSelector selector(m_host.m_hWnd);
  // WINDOW chosen, then Enter.
  RECT client = {}, combo = {};
  COLORREF preview = 0;
  int comboCount = 0;
  g_inWindow = [&](SSelector::_SWndColor* window) {
    ::GetClientRect(window->m_hWnd, &client);
    combo = RectIn(window->m_colors.m_hWnd);
    comboCount = int(window->m_colors.SendMessage(CB_GETCOUNT));
    int item = int(window->m_colors.SendMessage(CB_FINDSTRINGEXACT, WPARAM(-1),
                                                reinterpret_cast<LPARAM>("WINDOW")));
    window->m_colors.SetSelection(item);
    window->SendMessage(SWM_COMBOSELCHANGED, reinterpret_cast<WPARAM>(&window->m_colors), 0);
    preview = window->m_preview.m_backColor;
    window->SendMessage(SWM_MODALRETURN, 0, 0);
  };
  ::SetTimer(nullptr, 0, 10, ActInColorWindow);
  EXPECT_TRUE(selector.ChooseSystemColor("Pick a colour"));
  EXPECT_EQ(0xFE000000u + COLOR_WINDOW, selector.m_color);
  EXPECT_EQ(::GetSysColor(COLOR_WINDOW), preview);
  EXPECT_EQ(300, client.right);
  EXPECT_EQ(95, client.bottom);
  EXPECT_EQ((std::vector<LONG>{5, 35, 295}),
            (std::vector<LONG>{combo.left, combo.top, combo.right}));
  EXPECT_EQ(30, comboCount);
  EXPECT_EQ(nullptr, ::FindWindowA(nullptr, "Pick a colour"));

  // Escape, and the Cancel button, answer false and keep the colour; OK
  // answers the selected entry (the first, "3DDKSHADOW").
  g_inWindow = [](SSelector::_SWndColor* window) { window->SendMessage(SWM_MODALESCAPE, 0, 0); };
  ::SetTimer(nullptr, 0, 10, ActInColorWindow);
  EXPECT_FALSE(selector.ChooseSystemColor("Pick a colour"));
  g_inWindow = [](SSelector::_SWndColor* window) {
    window->SendMessage(SWM_BUTTONCLICKED, reinterpret_cast<WPARAM>(&window->m_cancel), 0);
  };
  ::SetTimer(nullptr, 0, 10, ActInColorWindow);
  EXPECT_FALSE(selector.ChooseSystemColor("Pick a colour"));
  EXPECT_EQ(0xFE000000u + COLOR_WINDOW, selector.m_color);
  g_inWindow = [](SSelector::_SWndColor* window) {
    window->SendMessage(SWM_BUTTONCLICKED, reinterpret_cast<WPARAM>(&window->m_ok), 0);
  };
  ::SetTimer(nullptr, 0, 10, ActInColorWindow);
  EXPECT_TRUE(selector.ChooseSystemColor("Pick a colour"));
  EXPECT_EQ(0xFE000000u + COLOR_3DDKSHADOW, selector.m_color);
  g_inWindow = nullptr;
}
