#include "core/Platform.h"
#include "window/ControlKinds.h"
#include "window/SWnd.h"

#include "tests/window/PaintSupport.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const uint32_t kWhite = 0xFFFFFF;
// Expected pixels as 0xRRGGBB.
const uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
const uint32_t kGrey = 0x808080;

// A framework child of the parent at (x, y), size w x h.
std::unique_ptr<SWnd> MakeChild(SWnd& parent, int x, int y, int w, int h, bool visible = true) {
  std::unique_ptr<SWnd> child(new SWnd);
  RECT r = MakeRect(x, y, w, h);
  child->Create("", WS_CHILD | (visible ? WS_VISIBLE : 0), 0, &r, parent.m_hWnd);
  return child;
}

// A visible borderless popup whose client is w x h.
bool MakePopup(SWnd& wnd, int w, int h, DWORD style = 0, DWORD exStyle = 0) {
  RECT r = MakeRect(0, 0, w, h);
  return wnd.Create("", WS_POPUP | WS_VISIBLE | style, exStyle, &r);
}

// One erase as the window procedure runs it: paint, then copy.
void Erase(SWnd& wnd, HDC dc) {
  LPARAM memory = wnd.BeginErase(dc);
  wnd.EndErase(dc, memory);
}

}  // namespace

TEST(SWndPaint, SolidColourIsDoubleBufferedWithChildrenCutOut) {
  SWnd parent;
  ASSERT_TRUE(MakePopup(parent, 300, 60));
  parent.SetBackColor(0x00FF0000);  // blue in COLORREF order
  auto plain = MakeChild(parent, 10, 10, 30, 30);
  auto radio = MakeChild(parent, 50, 10, 30, 30);
  radio->m_kind = ControlKinds::KIND_RADIO;  // cut out of the paint HDC
  auto button = MakeChild(parent, 90, 10, 30, 30);
  button->m_kind = ControlKinds::KIND_BUTTON;  // cut out only while sizing
  auto hollow = MakeChild(parent, 130, 10, 30, 30);
  hollow->SetBackColor(SImage::COLOR_HOLLOW);
  auto hidden = MakeChild(parent, 170, 10, 30, 30, false);
  // A shaped child: only its region (the left half) is cut out.
  auto shaped = MakeChild(parent, 210, 10, 30, 30);
  ::SetWindowRgn(shaped->m_hWnd, ::CreateRectRgn(0, 0, 15, 30), FALSE);

  Dib32 screen(300, 60);
  LPARAM memory = parent.BeginErase(screen.GetDC());
  ASSERT_NE(0, memory);
  EXPECT_EQ(kWhite, screen.Rgb(5, 5)) << "painted off screen first";
  EXPECT_EQ(1, parent.EndErase(screen.GetDC(), memory));
  EXPECT_EQ(0, parent.m_eraseDepth);

  EXPECT_EQ(kBlue, screen.Rgb(299, 59));
  EXPECT_EQ(kWhite, screen.Rgb(10, 10));
  EXPECT_EQ(kWhite, screen.Rgb(39, 39));
  EXPECT_EQ(kBlue, screen.Rgb(40, 40));
  EXPECT_EQ(kWhite, screen.Rgb(65, 25)) << "radio";
  EXPECT_EQ(kBlue, screen.Rgb(105, 25)) << "button, not sizing";
  EXPECT_EQ(kBlue, screen.Rgb(145, 25)) << "hollow child";
  EXPECT_EQ(kBlue, screen.Rgb(185, 25)) << "hidden child";
  EXPECT_EQ(kWhite, screen.Rgb(215, 25)) << "shaped child";
  EXPECT_EQ(kBlue, screen.Rgb(232, 25)) << "outside its region";

  parent.m_sizeMove = true;
  screen.Fill(kWhite);
  Erase(parent, screen.GetDC());
  EXPECT_EQ(kWhite, screen.Rgb(105, 25)) << "button while sizing";
}

TEST(SWndPaint, NestedErasesPaintNothing) {
  RecordingWnd wnd;
  ASSERT_TRUE(MakePopup(wnd, 40, 20));
  wnd.SetBackColor(0x0000FF00);  // green
  Dib32 outer(40, 20), inner(40, 20);
  bool nested = false;
  wnd.actions[WM_ERASEBKGND] = [&] {
    if (nested) return;
    nested = true;
    EXPECT_EQ(1, wnd.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(inner.GetDC()), 0));
  };
  EXPECT_EQ(1, wnd.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(outer.GetDC()), 0));
  EXPECT_TRUE(nested);
  EXPECT_EQ(kGreen, outer.Rgb(20, 10));
  EXPECT_EQ(kWhite, inner.Rgb(20, 10));
  EXPECT_EQ(0, wnd.m_eraseDepth);
}

TEST(SWndPaint, NineSliceKeepsCornersTilesEdgesAndFillsTheCentre) {
  // Corners red, edges green with a yellow first column on the top edge,
  // centre blue.
  std::unique_ptr<Gdiplus::Bitmap> image(MakeBitmap(16, 16, [](int x, int y) -> uint32_t {
    bool edgeX = x < 4 || x >= 12, edgeY = y < 4 || y >= 12;
    if (edgeX && edgeY) return 0xFFFF0000;
    if (y < 4 && x == 4) return 0xFFFFFF00;
    if (edgeX || edgeY) return 0xFF00FF00;
    return 0xFF0000FF;
  }));
  SWnd wnd;  // no window is needed to draw
  wnd.SetBackgroundImage(image.get(), SImage::COLOR_NONE);
  SWnd::SetImageDrawMode(&wnd, SImage::DRAW_TILE);
  wnd.m_nineSlice = {4, 4, 12, 12};
  Dib32 canvas(100, 40);
  wnd.DrawBackgroundImage(canvas.GetDC(), 100, 40);

  const POINT corners[] = {{0, 0}, {3, 3}, {96, 0}, {99, 3}, {0, 36}, {3, 39}, {96, 36}, {99, 39}};
  for (POINT p : corners) EXPECT_EQ(kRed, canvas.Rgb(p.x, p.y)) << p.x << "," << p.y;
  // The centre is (4, 4, 92, 32).
  const POINT centre[] = {{4, 4}, {95, 4}, {4, 35}, {95, 35}, {50, 20}};
  for (POINT p : centre) EXPECT_EQ(kBlue, canvas.Rgb(p.x, p.y)) << p.x << "," << p.y;
  const POINT edges[] = {{3, 20}, {96, 20}, {50, 36}, {50, 39}, {5, 3}, {13, 0}};
  for (POINT p : edges) EXPECT_EQ(kGreen, canvas.Rgb(p.x, p.y)) << p.x << "," << p.y;
  // The top strip is tiled every 8 pixels, not stretched.
  const POINT tiled[] = {{4, 0}, {12, 1}, {20, 2}, {92, 3}};
  for (POINT p : tiled) EXPECT_EQ(kYellow, canvas.Rgb(p.x, p.y)) << p.x << "," << p.y;

  // A stretched centre fills the same rectangle.
  SWnd::SetImageDrawMode(&wnd, SImage::DRAW_STRETCH);
  canvas.Fill(kWhite);
  wnd.DrawBackgroundImage(canvas.GetDC(), 100, 40);
  EXPECT_EQ(kBlue, canvas.Rgb(10, 10));
  EXPECT_EQ(kRed, canvas.Rgb(98, 38));

  // Modes out of range fall back to the top-left mode.
  SWnd::SetImageDrawMode(&wnd, 13);
  EXPECT_EQ(SImage::DRAW_TOPLEFT, wnd.m_backgroundImage.m_drawMode);
}

TEST(SWndPaint, StateImagesFollowThePriorityRule) {
  SWnd wnd;
  ASSERT_TRUE(MakePopup(wnd, 10, 10));
  std::unique_ptr<Gdiplus::Bitmap> grey(SolidBitmap(10, 10, 0xFF808080));
  wnd.SetBackgroundImage(grey.get(), SImage::COLOR_NONE);
  SImage images[4];
  const uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
  for (int i = 0; i < 4; ++i) {
    std::unique_ptr<Gdiplus::Bitmap> bitmap(SolidBitmap(10, 10, colours[i]));
    images[i].CopyRect(bitmap.get(), 0, 0, -1, -1);
  }
  wnd.SetStateImages(&images[0], &images[1], &images[2], &images[3]);
  ASSERT_NE(nullptr, wnd.m_stateImages);

  struct Case {
    bool on, hover, pressed, checked, enabled;
    uint32_t expected;
  } cases[] = {
      {true, false, false, false, true, kGrey}, {true, true, false, false, true, kRed},
      {true, true, true, false, true, kGreen},  {true, false, true, false, true, kGrey},
      {true, true, true, true, true, kBlue},    {true, true, true, true, false, kYellow},
      {false, true, true, true, false, kGrey},
  };
  Dib32 canvas(10, 10);
  for (const Case& c : cases) {
    wnd.m_stateImagesOn = c.on;
    wnd.m_hover = c.hover;
    wnd.m_pressed = c.pressed;
    wnd.m_checked = c.checked;
    ::EnableWindow(wnd.m_hWnd, c.enabled);
    canvas.Fill(kWhite);
    wnd.DrawBackgroundImage(canvas.GetDC(), 10, 10);
    EXPECT_EQ(c.expected, canvas.Rgb(5, 5))
        << c.on << c.hover << c.pressed << c.checked << c.enabled;
  }
  ::EnableWindow(wnd.m_hWnd, TRUE);

  // Images without bitmaps give no state images.
  SImage empty;
  wnd.SetStateImages(&empty, nullptr, nullptr, nullptr);
  EXPECT_EQ(nullptr, wnd.m_stateImages);

  // From an archive: a missing entry stays empty and draws nothing.
  SFileMem red;
  WritePng(&red, 10, 10, 0xFFFF0000);
  TestArchive archive({{"hover.png", &red}});
  wnd.LoadStateImages(archive.Get(), "hover.png", "missing.png", "", "");
  ASSERT_NE(nullptr, wnd.m_stateImages);
  EXPECT_NE(nullptr, wnd.m_stateImages[0].GetBitmap());
  wnd.m_stateImagesOn = wnd.m_hover = wnd.m_pressed = true;
  wnd.m_checked = false;
  canvas.Fill(kWhite);
  wnd.DrawBackgroundImage(canvas.GetDC(), 10, 10);
  EXPECT_EQ(kWhite, canvas.Rgb(5, 5));
}

TEST(SWndPaint, ColourKeyShapesTheWindow) {
  // Left half magenta (the key), right half white.
  std::unique_ptr<Gdiplus::Bitmap> image(
      MakeBitmap(40, 40, [](int x, int) -> uint32_t { return x < 20 ? 0xFFFF00FF : 0xFFFFFFFF; }));
  SWnd wnd;
  ASSERT_TRUE(MakePopup(wnd, 40, 40));
  wnd.SetBackgroundImage(image.get(), 0x00FF00FF);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, ::GetWindowRgn(wnd.m_hWnd, region));
  EXPECT_FALSE(::PtInRegion(region, 5, 5));
  EXPECT_FALSE(::PtInRegion(region, 19, 39));
  EXPECT_TRUE(::PtInRegion(region, 20, 0));
  EXPECT_TRUE(::PtInRegion(region, 39, 39));

  // With a frame the keyed pixels move by the frame margins; the frame stays.
  SWnd framed;
  ASSERT_TRUE(MakePopup(framed, 42, 42, WS_BORDER));
  int left = 0, top = 0;
  ASSERT_TRUE(framed.GetActualFrameMargins(&left, &top, nullptr, nullptr));
  ASSERT_GT(left, 0);
  framed.SetBackgroundImage(image.get(), 0x00FF00FF);
  ASSERT_NE(ERROR, ::GetWindowRgn(framed.m_hWnd, region));
  EXPECT_TRUE(::PtInRegion(region, 0, 0));
  EXPECT_FALSE(::PtInRegion(region, left + 5, top + 5));
  EXPECT_TRUE(::PtInRegion(region, left + 25, top + 5));

  // Without a key the window is rectangular again.
  wnd.SetBackgroundImage(image.get(), SImage::COLOR_NONE);
  EXPECT_EQ(ERROR, ::GetWindowRgn(wnd.m_hWnd, region));
  ::DeleteObject(region);
}

namespace {

struct LayerCall {
  int calls = 0;
  HWND window = nullptr;
  SIZE size = {0, 0};
  DWORD flags = 0;
  BLENDFUNCTION blend = {};
  COLORREF background = 0, text = 0, child = 0;
  BOOL result = FALSE;
} g_layer;

UpdateLayeredWindowProc g_realUpdateLayeredWindow = nullptr;

BOOL WINAPI RecordLayer(HWND window, HDC target, POINT* position, SIZE* size, HDC source,
                        POINT* origin, COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
  ++g_layer.calls;
  g_layer.window = window;
  g_layer.size = *size;
  g_layer.flags = flags;
  g_layer.blend = *blend;
  g_layer.background = ::GetPixel(source, 2, 2);
  g_layer.child = ::GetPixel(source, 12, 7);
  g_layer.text = ::GetPixel(source, 21, 11);
  g_layer.result =
      g_realUpdateLayeredWindow(window, target, position, size, source, origin, key, blend, flags);
  return g_layer.result;
}

}  // namespace

TEST(SWndPaint, LayeredWindowIsComposedAndPushed) {
  FARPROC entry = ::GetProcAddress(::GetModuleHandleA("user32.dll"), "UpdateLayeredWindow");
  g_realUpdateLayeredWindow =
      reinterpret_cast<UpdateLayeredWindowProc>(reinterpret_cast<void (*)()>(entry));
  ASSERT_NE(nullptr, g_realUpdateLayeredWindow);
  g_layer = LayerCall();
  struct Guard {
    ~Guard() { g_updateLayeredWindow = nullptr; }
  } guard;
  // A kind of its own (code 46 is used by no class) draws its content into the
  // layer: a blue square at (10, 5) of the child, drawn with GDI+ as the
  // rich-text control draws.
  static const SControlKind kLayerKind = {
      46,
      CUT_CLIP,
      nullptr,
      nullptr,
      nullptr,
      nullptr,
      nullptr,
      nullptr,
      nullptr,
      [](SWnd*, HDC dc) {
        Gdiplus::Graphics graphics(dc);
        std::unique_ptr<Gdiplus::Bitmap> blue(SolidBitmap(4, 4, 0xFF0000FF));
        graphics.DrawImage(blue.get(), Gdiplus::Rect(10, 5, 4, 4), 0, 0, 4, 4, Gdiplus::UnitPixel);
      }};
  RegisterControlKind(&kLayerKind);

  SWnd layered;
  ASSERT_TRUE(MakePopup(layered, 50, 30, 0, WS_EX_LAYERED));
  std::unique_ptr<Gdiplus::Bitmap> green(SolidBitmap(50, 30, 0xFF00FF00));
  std::unique_ptr<Gdiplus::Bitmap> red(SolidBitmap(20, 10, 0xFFFF0000));
  auto text = MakeChild(layered, 10, 5, 20, 10);
  text->m_kind = kLayerKind.kind;
  text->SetBackgroundImage(red.get(), SImage::COLOR_NONE);
  layered.SetBackgroundImage(green.get(), SImage::COLOR_NONE);

  // Without the looked-up entry nothing is pushed.
  layered.RedrawLayer();
  EXPECT_EQ(0, g_layer.calls);

  g_updateLayeredWindow = RecordLayer;
  layered.RedrawLayer();
  EXPECT_EQ(1, g_layer.calls);
  EXPECT_EQ(layered.m_hWnd, g_layer.window);
  EXPECT_EQ(50, g_layer.size.cx);
  EXPECT_EQ(static_cast<DWORD>(ULW_ALPHA), g_layer.flags);
  EXPECT_EQ(AC_SRC_ALPHA, g_layer.blend.AlphaFormat);
  EXPECT_TRUE(g_layer.result);
  EXPECT_EQ(RGB(0, 255, 0), g_layer.background);
  EXPECT_EQ(RGB(255, 0, 0), g_layer.child);
  EXPECT_EQ(RGB(0, 0, 255), g_layer.text);

  // A child's redraw rebuilds the parent's layer instead.
  EXPECT_TRUE(text->Redraw());
  EXPECT_EQ(2, g_layer.calls);
}

TEST(SWndPaint, AnEraseOfPartOfTheWindowPaintsThatPartAsAWholeEraseWould) {
  // A stretched image (GDI+) in four coloured quarters over a solid colour,
  // a child cut out, and content drawn at client coordinates.
  std::unique_ptr<Gdiplus::Bitmap> image(MakeBitmap(8, 8, [](int x, int y) -> uint32_t {
    return x < 4 ? (y < 4 ? 0xFFFF0000 : 0xFF00FF00) : (y < 4 ? 0xFF0000FF : 0xFFFFFF00);
  }));
  SWnd parent;
  ASSERT_TRUE(MakePopup(parent, 160, 80));
  parent.SetBackColor(0x00808080);
  parent.SetBackgroundImage(image.get(), SImage::COLOR_NONE);
  SWnd::SetImageDrawMode(&parent, SImage::DRAW_STRETCH);
  // Children cut out of the painted HDC: a plain one and a shaped one
  // whose region is its left half.
  auto child = MakeChild(parent, 70, 30, 20, 20);
  child->m_kind = ControlKinds::KIND_RADIO;
  auto shaped = MakeChild(parent, 100, 5, 20, 20);
  shaped->m_kind = ControlKinds::KIND_RADIO;
  ::SetWindowRgn(shaped->m_hWnd, ::CreateRectRgn(0, 0, 10, 20), FALSE);
  auto paint = [&](Dib32& screen) {
    LPARAM memory = parent.BeginErase(screen.GetDC());
    ASSERT_NE(0, memory);
    RECT content = {20, 60, 150, 70};
    ::FillRect(reinterpret_cast<HDC>(memory), &content,
               static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    parent.EndErase(screen.GetDC(), memory);
  };
  Dib32 whole(160, 80, 0x123456);
  paint(whole);

  const RECT parts[] = {
      {0, 0, 160, 80}, {30, 10, 110, 65}, {75, 35, 85, 45}, {95, 0, 125, 30}, {159, 79, 160, 80}};
  for (const RECT& part : parts) {
    Dib32 screen(160, 80, 0x123456);
    ::IntersectClipRect(screen.GetDC(), part.left, part.top, part.right, part.bottom);
    paint(screen);
    for (int y = 0; y < 80; ++y) {
      for (int x = 0; x < 160; ++x) {
        POINT p = {x, y};
        uint32_t want = ::PtInRect(&part, p) ? whole.Rgb(x, y) : 0x123456u;
        ASSERT_EQ(want, screen.Rgb(x, y))
            << x << "," << y << " in " << part.left << "," << part.top;
      }
    }
  }
  EXPECT_EQ(kRed, whole.Rgb(10, 10));
  EXPECT_EQ(kYellow, whole.Rgb(120, 50));
  EXPECT_EQ(0x123456u, whole.Rgb(80, 40)) << "the child's place";
  EXPECT_EQ(0x123456u, whole.Rgb(105, 15)) << "the shaped child's region";
  EXPECT_EQ(kBlue, whole.Rgb(115, 15)) << "beside the shaped child's region";
  EXPECT_EQ(0u, whole.Rgb(100, 65)) << "content";
}
