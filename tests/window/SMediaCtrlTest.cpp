#include "core/Platform.h"
#include "window/ControlKinds.h"
#include "window/SMediaCtrl.h"

#include "PaintSupport.h"
#include "RecordingWnd.h"
#include "tests/window/DialogTextCorpus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A parent that keeps the link texts it is told of.
class MediaParent : public RecordingWnd {
public:
  std::vector<std::string> links;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SWM_MEDIALINK && lParam) links.push_back(reinterpret_cast<const char*>(lParam));
    return RecordingWnd::WindowProc(message, wParam, lParam);
  }
};

// What the link opener was asked to open.
struct Opened {
  std::string target;
  bool mail;
};
std::vector<Opened> g_opened;

void RecordOpen(SMediaCtrl*, const char* target, bool mail) { g_opened.push_back({target, mail}); }

const int kWidth = 300;
const int kHeight = 120;

class SMediaCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 400, 300};
    ASSERT_TRUE(parent.Create("", 0, 0, &rect));
    RECT child = {10, 10, 10 + kWidth, 10 + kHeight};
    ASSERT_TRUE(media.Create(WS_VISIBLE, "", 0, &child, parent.m_hWnd, 5));
    media.m_linkOpener = &RecordOpen;
    g_opened.clear();
  }

  // Tag mode with the text laid out.
  void Tagged(const char* text) {
    media.SetTags(true);
    media.SetText(text);
  }

  SMediaCtrl::_SLine* Line(int i) { return media.m_lines[i]; }
  SMediaCtrl::_SText* Run(int line, int i) { return media.m_lines[line]->m_runs[i]; }
  std::string RunText(int line, int i) {
    SMediaCtrl::_SText* run = Run(line, i);
    return media.m_text.Mid(run->m_start, run->m_length).GetText();
  }

  // The client area printed on a background of the given colour.
  void Print(Dib32* canvas, COLORREF back) {
    media.SetBackColor(back);
    canvas->Fill(0x00FF00FF);
    media.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->GetDC()), PRF_CLIENT);
  }

  MediaParent parent;
  SMediaCtrl media;
};

int R(uint32_t rgb) { return (rgb >> 16) & 0xFF; }
int G(uint32_t rgb) { return (rgb >> 8) & 0xFF; }
int B(uint32_t rgb) { return rgb & 0xFF; }

// The pixel of [x0, x1) x [y0, y1) with the lowest value in the channel.
uint32_t Strongest(const Dib32& canvas, int x0, int y0, int x1, int y1, int (*channel)(uint32_t)) {
  uint32_t best = 0xFFFFFF;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if (channel(canvas.Rgb(x, y)) < channel(best)) best = canvas.Rgb(x, y);
    }
  }
  return best;
}

}  // namespace

TEST_F(SMediaCtrlTest, CreationAndTheAlignmentAndMarginRules) {
  // The after-create step takes the creation title as the text; the kind
  // draws its text into layered parents.
  SMediaCtrl titled;
  RECT rect = {0, 0, 50, 20};
  ASSERT_TRUE(titled.Create(0, "hello", 0, &rect, parent.m_hWnd, 9));
  EXPECT_EQ(5, titled.m_wideLength);
  const SControlKind* kind = FindControlKind(titled.m_kind);
  ASSERT_NE(nullptr, kind);
  EXPECT_NE(nullptr, kind->drawLayer);

  media.SetAlignment(7);
  EXPECT_EQ(3, media.m_alignment) << "both low bits: justify; bit 2 is dropped";
  media.SetAlignment(0x32);
  EXPECT_EQ(0x22, media.m_alignment) << "bottom wins over middle";
  media.SetMargins(-5, 2, -1, 7);
  EXPECT_EQ(0, media.m_leftMargin);
  EXPECT_EQ(0, media.m_rightMargin);
}

TEST_F(SMediaCtrlTest, TagNamesIgnoreCaseAndUnknownTagsStayText) {
  Tagged("<b>x</B>y");
  ASSERT_EQ(2, Line(0)->m_runs.GetCount());
  EXPECT_EQ("x", RunText(0, 0));
  EXPECT_EQ(700, Run(0, 0)->m_font.lfWeight);
  EXPECT_EQ(400, Run(0, 1)->m_font.lfWeight);
  EXPECT_FLOAT_EQ(Run(0, 0)->m_x + Run(0, 0)->m_width, Run(0, 1)->m_x) << "runs follow each other";

  Tagged("<q>hi</q> <i>it</i><U>u</u>");
  ASSERT_EQ(3, Line(0)->m_runs.GetCount());
  EXPECT_EQ("<q>hi</q> ", RunText(0, 0));
  EXPECT_EQ(1, Run(0, 1)->m_font.lfItalic);
  EXPECT_EQ(1, Run(0, 2)->m_font.lfUnderline);
  EXPECT_EQ(0, Run(0, 2)->m_font.lfItalic);

  // A '>' before the first '<' ends recognition on that line only.
  Tagged("1 > 0 <b>x</b>\n<b>y</b>");
  ASSERT_EQ(2, media.m_lines.GetCount());
  EXPECT_EQ("1 > 0 <b>x</b>", RunText(0, 0));
  EXPECT_EQ(700, Run(1, 0)->m_font.lfWeight);

  // Unbalanced closing tags are harmless.
  Tagged("</b></b>a<b>b</b></#>c");
  ASSERT_EQ(3, Line(0)->m_runs.GetCount());
  EXPECT_EQ(400, Run(0, 0)->m_font.lfWeight);
  EXPECT_EQ(400, Run(0, 2)->m_font.lfWeight);
  EXPECT_EQ(media.m_textColor, Run(0, 2)->m_color);
}

TEST_F(SMediaCtrlTest, ColourTagsFollowTheAlphaRule) {
  Tagged("<#FF0000>r</#><#00ff0080>g</#><#0000FFFF>b</#><#0A0B0C>z<#123>w</#>k");
  ASSERT_EQ(6, Line(0)->m_runs.GetCount());
  EXPECT_EQ(0xFEFF0000u, Run(0, 0)->m_color) << "six digits: opaque 0xFE";
  EXPECT_EQ(0x8000FF00u, Run(0, 1)->m_color) << "alpha 80 stays";
  EXPECT_EQ(0xFE0000FFu, Run(0, 2)->m_color) << "alpha FF is stored as FE";
  EXPECT_EQ(0xFE0A0B0Cu, Run(0, 3)->m_color) << "a pair's leading zero is a digit";
  EXPECT_EQ(0xFE120000u, Run(0, 4)->m_color) << "missing digits read as 0";
  EXPECT_EQ(0xFE0A0B0Cu, Run(0, 5)->m_color) << "closing pops one colour";

  // Drawn colours at the runs' places, on white. Text may be antialiased
  // here, so each run is judged by its most strongly inked pixel.
  Tagged("<#FF0000>MMMM</#> <#00FF0080>MMMM</#> <#0000FFFF>MMMM</#>");
  Dib32 canvas(kWidth, kHeight);
  Print(&canvas, RGB(255, 255, 255));
  int top = (kHeight - media.m_contentHeight) / 2;  // middle alignment
  auto inked = [&](int i, int (*channel)(uint32_t)) {
    SMediaCtrl::_SText* run = Run(0, i);
    int x0 = 1 + static_cast<int>(run->m_x);
    return Strongest(canvas, x0, top, x0 + static_cast<int>(run->m_width), top + Line(0)->m_height,
                     channel);
  };
  uint32_t red = inked(0, G), green = inked(2, R), blue = inked(4, R);
  EXPECT_TRUE(R(red) >= 250 && G(red) <= 60) << std::hex << red;
  EXPECT_TRUE(R(green) >= 120 && R(green) <= 180 && G(green) >= 250)
      << std::hex << green << ": alpha 0x80 never covers more than half";
  EXPECT_TRUE(B(blue) >= 250 && R(blue) <= 60) << std::hex << blue;
}

TEST_F(SMediaCtrlTest, LinesAndAlignment) {
  media.SetAlignment(0);  // left, top
  Tagged("a\n\nb");
  ASSERT_EQ(3, media.m_lines.GetCount());
  EXPECT_EQ(Line(0)->m_height, Line(1)->m_height) << "an empty line has the font's height";
  EXPECT_EQ(3 * Line(0)->m_height, media.m_contentHeight);

  Tagged("a\r\nb\n");
  EXPECT_EQ(2, media.m_lines.GetCount()) << "a break at the end adds no line";

  int area = kWidth - 2;
  Tagged("plain <c>mid</c> end\nnext");
  ASSERT_EQ(2, media.m_lines.GetCount());
  EXPECT_EQ(1, Line(0)->m_alignment) << "the whole line is centred";
  EXPECT_EQ(-1, Line(1)->m_alignment);
  EXPECT_FLOAT_EQ(static_cast<float>(static_cast<int>(area / 2.0 - Line(0)->m_width / 2.0)),
                  Run(0, 0)->m_x);
  EXPECT_FLOAT_EQ(0.0f, Run(1, 0)->m_x);

  // Right over centre; the following line takes the control's alignment.
  media.SetAlignment(2);
  Tagged("<c>x <r>y</r></c> z\nnext");
  EXPECT_EQ(2, Line(0)->m_alignment);
  SMediaCtrl::_SText* last = Run(0, Line(0)->m_runs.GetCount() - 1);
  EXPECT_FLOAT_EQ(static_cast<float>(area), last->m_x + last->m_width);
  EXPECT_FLOAT_EQ(static_cast<float>(area), Run(1, 0)->m_x + Run(1, 0)->m_width);
  media.SetTags(false);
  EXPECT_EQ(0, media.m_lines.GetCount()) << "plain mode keeps no lines";
}

TEST_F(SMediaCtrlTest, LinksOpenTheirOwnText) {
  media.SetAlignment(0);
  Tagged("<link>me@example.org</link>  <link>site <b>bold</b></link>");
  Dib32 canvas(kWidth, kHeight);
  EXPECT_EQ(-1, media.HitTestLink(5, 5)) << "no links before the first paint";
  Print(&canvas, RGB(255, 255, 255));
  ASSERT_EQ(3, media.m_linkRects.GetCount());
  EXPECT_STREQ("site ", media.m_linkTexts.Get(1).GetText());
  EXPECT_EQ(media.m_linkColor, Run(0, 0)->m_color);

  auto press = [&](int link) {
    RECT r = *media.m_linkRects[link];
    media.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                      MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  };
  press(0);
  press(2);
  ASSERT_EQ(2u, g_opened.size());
  EXPECT_TRUE(g_opened[0].mail);
  EXPECT_EQ("bold", g_opened[1].target);
  EXPECT_FALSE(g_opened[1].mail);
  ASSERT_EQ(2u, parent.links.size());
  EXPECT_EQ("me@example.org", parent.links[0]);
  EXPECT_EQ((std::vector<uint32_t>{0x09, 0x09}), parent.MouseFlags(SWM_MEDIAMOUSE));

  // A parent that takes the link stops the control from opening it.
  parent.answers[SWM_MEDIALINK] = 1;
  press(1);
  EXPECT_EQ(2u, g_opened.size());
  EXPECT_EQ(3u, parent.links.size());

  // Over a link the cursor is the hand. Outside every link, and in plain
  // mode, a press opens nothing.
  parent.answers.clear();
  RECT first = *media.m_linkRects[0];
  media.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(first.left + 1, first.top + 1));
  EXPECT_EQ(::LoadCursor(nullptr, IDC_HAND), media.m_cursor);
  media.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kWidth - 2, kHeight - 2));
  media.SetTags(false);
  media.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.left + 1, first.top + 1));
  EXPECT_EQ(2u, g_opened.size());
  EXPECT_EQ(3u, parent.links.size());
}

TEST_F(SMediaCtrlTest, LinesArePlacedByTheVerticalAlignment) {
  Dib32 canvas(kWidth, kHeight);
  Tagged("<link>x</link>");
  int height = media.m_contentHeight;
  struct {
    int alignment;
    int top;
  } cases[] = {
      {0x00, 1},
      {0x10, static_cast<int>((1 + 118 + 1) / 2.0 - height / 2)},
      {0x20, 1 + 118 - height},
  };
  for (const auto& c : cases) {
    media.SetAlignment(c.alignment);
    Print(&canvas, RGB(255, 255, 255));
    ASSERT_EQ(1, media.m_linkRects.GetCount());
    EXPECT_EQ(c.top, media.m_linkRects[0]->top) << c.alignment;
    EXPECT_EQ(c.top + height + 1, media.m_linkRects[0]->bottom);
  }
  // Only the lines inside the text area are drawn (and give links): scrolled
  // up by ten lines and a half, the half-hidden line is the first drawn.
  media.SetAlignment(0);
  std::string many;
  for (int i = 0; i < 40; ++i) many += "<link>line</link>\n";
  Tagged(many.c_str());
  int lineHeight = Line(0)->m_height;
  media.m_scrollY = -10 * lineHeight - lineHeight / 2;
  Print(&canvas, RGB(255, 255, 255));
  ASSERT_GT(media.m_linkRects.GetCount(), 0);
  EXPECT_LE(media.m_linkRects.GetCount(), 118 / lineHeight + 2) << "nothing below the area";
  EXPECT_EQ(1 + media.m_scrollY + 10 * lineHeight, media.m_linkRects[0]->top);
  media.m_scrollY = 0;
}

TEST_F(SMediaCtrlTest, MouseRecordsAndButtonClicks) {
  media.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(4, 6));
  media.SendMessage(WM_MBUTTONDBLCLK, 0, MAKELPARAM(1, 2));
  media.SendMessage(SWM_RCLICK, 0, MAKELPARAM(4, 6));
  media.SendMessage(SWM_LCLICK, 0, MAKELPARAM(3, 3));
  EXPECT_EQ((std::vector<uint32_t>{0x14, 0x42, 0x24, 0x21}), parent.MouseFlags(SWM_MEDIAMOUSE));
  EXPECT_EQ(6, parent.Nth(SWM_MEDIAMOUSE, 0).mouse.y);

  EXPECT_EQ(0, parent.Count(SWM_MEDIACLICKED)) << "not a button";
  media.m_stateImagesOn = true;
  media.SendMessage(SWM_LCLICK, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(1, parent.Count(SWM_MEDIACLICKED));
  EXPECT_EQ(reinterpret_cast<WPARAM>(&media), parent.Nth(SWM_MEDIACLICKED).wParam);
  ::EnableWindow(media.m_hWnd, FALSE);
  media.SendMessage(SWM_LCLICK, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(1, parent.Count(SWM_MEDIACLICKED)) << "disabled";
}

TEST_F(SMediaCtrlTest, InkStaysInsideTheMargins) {
  const int margin = 20;
  media.m_textColor = 0xFEFF0000;
  media.SetWrapping(true);
  media.SetMargins(margin, margin, margin, margin);
  std::string long_text;
  for (int i = 0; i < 60; ++i) long_text += "MMMM WWWW ";
  Dib32 canvas(kWidth, kHeight);
  auto red = [](uint32_t c) { return R(c) >= 250 && G(c) <= 160 && G(c) == B(c); };
  for (bool tags : {false, true}) {
    media.SetTags(tags);
    media.SetText(tags ? ("<b>" + long_text + "</b>").c_str() : long_text.c_str());
    Print(&canvas, RGB(255, 255, 255));
    int inside = canvas.Count(margin, margin, kWidth - margin, kHeight - margin, red);
    EXPECT_GT(inside, 100) << tags;
    EXPECT_EQ(inside, canvas.Count(0, 0, kWidth, kHeight, red)) << tags;
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(margin / 2, margin / 2)) << "the background is painted";
  }
}

TEST_F(SMediaCtrlTest, ImagesLoadOncePerName) {
  SFileMem png, junk;
  WritePng(&png, 6, 5, 0xFFFF0000);
  junk.WriteStringZ("not an image");
  TestArchive archive({{"image\\dot.png", &png}, {"image\\bad.png", &junk}});
  ASSERT_TRUE(archive.IsOpen());
  const char* text = "<img>dot.png</img>x<IMG>DOT.PNG</img><img>bad.png</img><img>none</img>";

  Tagged(text);
  EXPECT_EQ("dot.png", RunText(0, 0)) << "no archive: names are text";

  media.m_archive = archive.Get();
  media.ParseText();
  ASSERT_EQ(5, Line(0)->m_runs.GetCount());
  EXPECT_EQ(1, media.m_images.GetCount()) << "the second name in other case reuses the first";
  EXPECT_EQ(Run(0, 0)->m_image, Run(0, 2)->m_image);
  EXPECT_FLOAT_EQ(5.0f, Run(0, 0)->m_height);
  EXPECT_EQ(nullptr, Run(0, 3)->m_image) << "undecodable bytes";

  // The image is drawn at its run's place.
  media.SetAlignment(0);
  Dib32 canvas(kWidth, kHeight);
  Print(&canvas, RGB(255, 255, 255));
  EXPECT_EQ(0xFF0000u, canvas.Rgb(1 + static_cast<int>(Run(0, 2)->m_x) + 2, 1 + 2));
  media.m_archive = nullptr;
}

TEST_F(SMediaCtrlTest, AutoScrollLoopsAndStopsOnNewText) {
  media.SetText("scrolling text");
  int area = kHeight - 2;

  media.SetAutoScroll(0.0, -100.0);
  EXPECT_TRUE(media.m_scrolling);
  EXPECT_EQ(area, media.m_scrollY) << "enters from the bottom";

  // A step half a second late moves by elapsed time, not by ticks: at least
  // the half second's 50 pixels (more on a loaded machine).
  media.m_lastStepTime = ::timeGetTime() - 500;
  media.StepAutoScroll();
  EXPECT_LE(media.m_scrollY, area - 49);
  EXPECT_GT(media.m_scrollY, 0);
  // Past the top, the text comes back at the bottom.
  media.m_lastStepTime = ::timeGetTime() - 2000;
  media.StepAutoScroll();
  EXPECT_EQ(kHeight - 1, media.m_scrollY);

  media.SetText("new text");
  EXPECT_FALSE(media.m_scrolling);
  EXPECT_EQ(0, media.m_scrollY);

  media.SetAutoScroll(-100.0, 0.0);
  EXPECT_EQ(kWidth - 2, media.m_scrollX) << "enters from the right";
  media.SetAutoScroll(0.0, 0.0);
  EXPECT_EQ(0, media.m_scrollX);
  // Speeds from outside that are not numbers stop nothing and move nothing.
  media.SetAutoScroll(NAN, 1.0e308 * 10);
  EXPECT_FALSE(media.m_scrolling);
}

TEST_F(SMediaCtrlTest, WideTextFollowsTheCodePage) {
  // Shift-JIS: two double-byte characters around a bold tag.
  const char* sjis = "\x82\xa0<b>\x82\xa2</b>";
  SArray<int> map;
  int length = 0;
  wchar_t* wide = SMediaCtrl::ConvertText(sjis, 11, 932, &length, &map);
  EXPECT_EQ(9, length);
  EXPECT_EQ(0x3044, wide[4]);
  ASSERT_EQ(12, map.GetCount());
  EXPECT_EQ(0, map[1]) << "a trail byte belongs to its character";
  EXPECT_EQ(4, map[5]);
  EXPECT_EQ(9, map[11]);
  delete[] wide;

  // A lead byte cut off at the end still gives one character.
  wide = SMediaCtrl::ConvertText("a\x82", 2, 932, &length, &map);
  EXPECT_EQ(2, length);
  EXPECT_EQ(2, map[2]);
  delete[] wide;
  // UTF-8 with a cut sequence.
  wide = SMediaCtrl::ConvertText("\xc3\xa9\xe2\x82", 4, CP_UTF8, &length, &map);
  EXPECT_EQ(3, length);
  EXPECT_EQ(1, map[2]);
  delete[] wide;

  // The view's runs index the wide text by character, not by byte.
  media.m_codePage = 932;
  Tagged(sjis);
  ASSERT_EQ(2, Line(0)->m_runs.GetCount());
  int start, count;
  media.GetWideRange(Run(0, 1)->m_start, Run(0, 1)->m_length, &start, &count);
  EXPECT_EQ(4, start);
  EXPECT_EQ(1, count);

  // One byte per character: no map is kept.
  media.m_codePage = 1252;
  Tagged("caf\xe9 <b>\xe0 la</b>");
  EXPECT_EQ(media.m_text.GetLength(), media.m_wideLength);
  EXPECT_EQ(0, media.m_wideIndex.GetCount());
}

namespace {

// Checks what a layout left behind: runs inside the text, one rectangle per
// link text.
void ExpectSoundLayout(SMediaCtrl& media, const std::string& text) {
  int n = media.m_text.GetLength();
  for (int l = 0; l < media.m_lines.GetCount(); ++l) {
    SMediaCtrl::_SLine* line = media.m_lines[l];
    for (int r = 0; r < line->m_runs.GetCount(); ++r) {
      SMediaCtrl::_SText* run = line->m_runs[r];
      ASSERT_GE(run->m_start, 0) << text;
      ASSERT_GT(run->m_length, 0) << text;
      ASSERT_LE(run->m_start + run->m_length, n) << text;
    }
  }
  ASSERT_EQ(media.m_linkTexts.GetCount(), media.m_linkRects.GetCount()) << text;
  ASSERT_LE(media.m_wideLength, 2 * n) << text;
}

}  // namespace

TEST_F(SMediaCtrlTest, MalformedAndMutatedTextsNeverBreakTheView) {
  SFileMem png;
  WritePng(&png, 3, 3, 0xFF00FF00);
  TestArchive archive({{"image\\x", &png}});
  media.m_archive = archive.Get();
  Dib32 canvas(kWidth, kHeight);

  std::string deep;
  for (int i = 0; i < 300; ++i) deep += "<b><#FF0000><link><c>";
  deep += "x";
  for (int i = 0; i < 300; ++i) deep += "</#></r>";
  // clang-format off
  const std::string cases[] = {
      "", "<", ">", "<>", "</>", "<<>>", "<b", "abc<b", "x</", "<#12", "<#FF00", "</#",
      "<#>x", "<#FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF>x", "<#99999999999999999999>y",
      "<#GGHHII>z", "<img></img>", "<img>", "<img>x", "<link></link>", "<link>", "</link>x",
      "\r\n\r\n", "\r\r\n\n", "\n<b>\n</b>\n", "<c><r><l>x", "</c></r></l>y",
      "<IMG>" + std::string(5000, 'n') + "</IMG>", deep, std::string(3000, '<'),
      std::string(3000, '>') + "<b>x</b>", "\xff\xfe<b>\x80\x81</b>\x82",
  };
  // clang-format on

  for (bool wrap : {false, true}) {
    media.SetWrapping(wrap);
    for (const std::string& text : cases) {
      Tagged(text.c_str());
      Print(&canvas, RGB(255, 255, 255));
      ExpectSoundLayout(media, text);
      media.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 60));
      media.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 60));
      media.SetTags(false);
      Print(&canvas, RGB(255, 255, 255));
    }
  }

  // Seeded mutations of a text using every tag, in every code page.
  const std::vector<const char*> fragments = {
      "<b>",         "</b>",     "<I>",  "</i>",     "<u>",      "</U>",     "<#FF0000>",
      "<#00ff0080>", "</#>",     "<#",   "<link>",   "</link>",  "<img>",    "</img>",
      "<c>",         "</C>",     "<r>",  "</right>", "<LEFT>",   "<center>", "a@b",
      "word ",       "\r\n",     "\n",   "\r",       "<",        ">",        "/",
      "#",           "\x82\xa0", "\xe9", "\xc3\xa9", "\xe2\x82", "x"};
  const UINT codePages[] = {CP_ACP, 932, CP_UTF8};
  DialogTextMutator mutator(20261206, fragments);
  media.SetTags(true);
  std::string text = "<b>bold</b> <#FF0000>red</#>\n<c><link>a@b</link></c><img>x</img>";
  for (int done = 0; done < 1000; ++done) {
    text = mutator.Mutate(text);
    if (text.empty()) text = "<b>x</b>";
    // Long texts only slow the run down.
    if (text.size() > 300) text.erase(size_t(mutator.Below(150)), 150);
    if (done % 50 == 0) {
      media.m_codePage = codePages[mutator.Below(3)];
      media.SetWrapping(mutator.Below(2) != 0);
      media.SetAlignment(mutator.Below(0x40));
      media.SetMargins(mutator.Below(40) - 5, mutator.Below(40) - 5, mutator.Below(40) - 5,
                       mutator.Below(40) - 5);
    }
    media.SetText(text.c_str());
    if (done % 5 == 0) {
      Print(&canvas, RGB(255, 255, 255));
      ExpectSoundLayout(media, text);
      int x = mutator.Below(kWidth), y = mutator.Below(kHeight);
      media.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
      media.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
  }
  media.m_archive = nullptr;
}
