// The image editor as a real child window: loading, centring and zoom, the
// brush cursor, brush strokes, the colour pick, the selection keys, and the
// selector and tool panel it holds.
#include "core/Platform.h"

#include "core/SFileMem.h"
#include "core/SImage.h"
#include "editors/EditorMessages.h"
#include "editors/SImageEditor.h"
#include "tests/support/GdiTestSupport.h"
#include "window/FrameworkMessages.h"
#include "window/SWndApp.h"

#include <gtest/gtest.h>

using namespace Gdiplus;

namespace {

// Counts the colour picks (slot 30) and the change notifications.
class PickingEditor : public SImageEditor {
public:
  void OnColorPicked(bool primary, uint32_t color) override {
    pickedPrimary = primary;
    picked = color;
    ++picks;
  }
  int picks = 0;
  bool pickedPrimary = false;
  uint32_t picked = 0;
};

class Parent : public SWnd {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SWM_CONTROLCHANGED) ++changes;
    return SWnd::WindowProc(message, wParam, lParam);
  }
  int changes = 0;
};

uint32_t PixelArgb(SImageEditor& editor, int x, int y) {
  Color color;
  editor.m_image.GetBitmap()->GetPixel(x, y, &color);
  return color.GetValue();
}

class SImageEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(parent.Create("parent", WS_POPUP | WS_VISIBLE, 0, &rect));
    RECT child = {0, 0, 200, 100};
    ASSERT_TRUE(editor.Create("", WS_CHILD | WS_VISIBLE, 0, &child, parent.m_hWnd));
  }
  void TearDown() override { ::DestroyWindow(editor.m_hWnd); }
  // A PNG of width x height in one opaque colour, loaded into the editor.
  bool LoadPng(int width, int height, uint32_t argb) {
    std::vector<uint32_t> pixels(size_t(width * height), argb);
    SImage image;
    image.CreateFromPixels(pixels.data(), width, height);
    SFileMem png;
    if (!image.Save(&png, SImage::FORMAT_PNG)) return false;
    png.Rewind();
    return editor.LoadFile(&png);
  }
  void Press(UINT message, int x, int y) { editor.SendMessage(message, 0, MAKELPARAM(x, y)); }

  Parent parent;
  PickingEditor editor;
};

TEST_F(SImageEditorTest, APngLoadsCentredAndALargerOneScrollsWithinTheZoomLimits) {
  ASSERT_TRUE(LoadPng(20, 10, 0xFF0000FF));
  int x, y, width, height;
  editor.GetImageRect(&x, &y, &width, &height);
  EXPECT_EQ(x, 90);
  EXPECT_EQ(y, 45);
  Dib32 canvas(200, 100, 0);
  editor.SendMessage(WM_PRINTCLIENT, WPARAM(canvas.GetDC()), PRF_CLIENT);
  EXPECT_EQ(canvas.Rgb(100, 50), 0x0000FFu);
  EXPECT_EQ(canvas.Rgb(91, 46), 0x0000FFu);
  // The hatch: light greys between 0xC0C0C0 and white (edges may blend).
  for (int i = 0; i < 8; ++i) {
    uint32_t outside = canvas.Rgb(10 + i, 10);
    EXPECT_TRUE((outside & 0xFF) >= 0xC0 && outside % 0x010101 == 0) << std::hex << outside;
  }

  SFileMem junk("no image here");
  EXPECT_FALSE(editor.LoadFile(&junk));
  EXPECT_EQ(editor.m_image.GetBitmap(), nullptr);
  EXPECT_FALSE(editor.LoadFile(nullptr));
  ASSERT_TRUE(LoadPng(300, 50, 0xFF00FF00));
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  ASSERT_TRUE(::GetScrollInfo(editor.m_hWnd, SB_HORZ, &info));
  EXPECT_EQ(info.nMax, 300);
  editor.SetZoom(2);
  ASSERT_TRUE(::GetScrollInfo(editor.m_hWnd, SB_HORZ, &info));
  EXPECT_EQ(info.nMax, 600);
  editor.GetImageRect(&x, &y, &width, &height);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(width, 600);
  // The wheel keeps the zoom within 1 to 32.
  for (int i = 0; i < 40; ++i) editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(editor.m_zoom, 32);
  for (int i = 0; i < 40; ++i) editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0);
  EXPECT_EQ(editor.m_zoom, 1);
}

TEST_F(SImageEditorTest, TheBrushCursorGrowsWithTheZoomedBrush) {
  struct Row {
    int zoom, size, cursor;
  } rows[] = {{1, 1, 32}, {1, 31, 64}, {4, 8, 64}, {8, 8, 128}, {32, 8, 256}};
  editor.m_tool = SImageEditor::TOOL_BRUSH;
  for (const Row& row : rows) {
    editor.m_brushSize = row.size;
    editor.m_zoom = row.zoom;
    editor.UpdateToolCursor();
    ICONINFO info;
    ASSERT_TRUE(::GetIconInfo(editor.m_brushCursor.GetHandle(), &info)) << row.size;
    BITMAP mask;
    ::GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, row.cursor) << row.zoom << " x " << row.size;
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
  }
}

TEST_F(SImageEditorTest, ABrushStrokePaintsPixelsClippedAtTheEdges) {
  ASSERT_TRUE(LoadPng(10, 10, 0xFFFFFFFF));
  editor.SetZoom(4);  // the image spans 40 x 40 from (80, 30)
  editor.m_tool = SImageEditor::TOOL_BRUSH;
  editor.m_brushShape = 1;
  editor.m_brushSize = 3;
  editor.m_primary = 0xFFFF0000;
  editor.m_secondary = 0xFF00FF00;
  int x, y, width, height;
  editor.GetImageRect(&x, &y, &width, &height);
  Press(WM_LBUTTONDOWN, x + 1, y + 1);  // pixel (0, 0): the square reaches off the image
  ::ReleaseCapture();
  EXPECT_EQ(PixelArgb(editor, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelArgb(editor, 1, 1), 0xFFFF0000u);
  EXPECT_EQ(PixelArgb(editor, 2, 2), 0xFFFFFFFFu);
  Press(WM_RBUTTONDOWN, x + 4 * 5 + 1, y + 4 * 5 + 1);  // pixel (5, 5)
  ::ReleaseCapture();
  EXPECT_EQ(PixelArgb(editor, 4, 6), 0xFF00FF00u);
  EXPECT_EQ(PixelArgb(editor, 7, 5), 0xFFFFFFFFu);
  // A drag step arrives in client coordinates.
  editor.SendMessage(SWM_CAPTUREMOVE, 1, MAKELPARAM(x + 4 * 9 + 1, y + 4 * 9 + 1));
  EXPECT_EQ(PixelArgb(editor, 9, 9), 0xFFFF0000u);
  EXPECT_EQ(parent.changes, 3);
  Press(WM_LBUTTONDOWN, 1, 1);  // outside the image: nothing
  EXPECT_EQ(parent.changes, 3);
}

TEST_F(SImageEditorTest, TheDropperAndTheSelectionKeys) {
  ASSERT_TRUE(LoadPng(4, 4, 0xFF123456));
  editor.m_tool = SImageEditor::TOOL_DROPPER;
  Press(WM_RBUTTONDOWN, 100, 50);
  EXPECT_EQ(editor.picks, 1);
  EXPECT_FALSE(editor.pickedPrimary);
  EXPECT_EQ(editor.picked, 0xFF123456u);
  EXPECT_EQ(editor.m_secondary, 0xFF123456u);
  EXPECT_EQ(editor.m_primary, 0xFF000000u);
  ASSERT_TRUE(LoadPng(8, 8, 0xFFFFFFFF));
  editor.m_tool = SImageEditor::TOOL_SELECTION;
  editor.m_selectionActive = true;
  editor.m_outline = new POINT[4]{{1, 1}, {4, 1}, {4, 3}, {1, 3}};
  editor.m_outlineCount = 4;
  EXPECT_TRUE(editor.IsInSelection(3, 2));
  EXPECT_FALSE(editor.IsInSelection(4, 2));
  editor.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  editor.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(editor.m_outline[0].x, 2);
  EXPECT_EQ(editor.m_outline[2].y, 4);
  EXPECT_TRUE(editor.IsInSelection(4, 3));
  editor.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_FALSE(editor.m_selectionActive);
  EXPECT_EQ(PixelArgb(editor, 2, 2), 0xFFFFFFFFu);
}

}  // namespace

TEST_F(SImageEditorTest, TheSelectorBelongsToThePopupAndThePanelShowsBothColours) {
  EXPECT_EQ(parent.m_hWnd, editor.m_selector.m_owner);
  // Without a tool panel a colour is only stored.
  EXPECT_EQ(nullptr, editor.m_panel);
  editor.SetColor(true, 0xFF102030);
  EXPECT_EQ(0xFF102030u, editor.m_primary);

  // The panel's group 1 shows the two colours as swatches.
  editor.m_panel = new SPanelCtrl;
  RECT rect = {200, 0, 300, 100};
  ASSERT_TRUE(editor.m_panel->Create("", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd));
  HWND panelWindow = editor.m_panel->m_hWnd;
  editor.m_panel->AddGroup(SImageEditor::PANEL_COLORS, "Colours");
  editor.m_panel->AddButton(0, "Primary");
  editor.m_panel->AddButton(1, "Secondary");
  editor.SetColor(true, 0x80FF0000);
  editor.SetColor(false, 0xFF0000FF);
  EXPECT_EQ(0xFF0000FFu, editor.m_secondary);
  Dib32 dib(100, 100);
  editor.m_panel->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.GetDC()), PRF_CLIENT);
  RECT primary = editor.m_panel->FindButton(1, 0)->m_rect;
  RECT secondary = editor.m_panel->FindButton(1, 1)->m_rect;
  EXPECT_EQ(0xFF0000u, dib.Rgb(primary.left + 12, primary.top + 12));
  EXPECT_EQ(0x0000FFu, dib.Rgb(secondary.left + 12, secondary.top + 12));

  // The editor owns its panel: deleting the editor deletes the panel.
  SImageEditor* owner = new SImageEditor;
  owner->m_panel = editor.m_panel;
  editor.m_panel = nullptr;
  delete owner;
  EXPECT_FALSE(::IsWindow(panelWindow));
}
