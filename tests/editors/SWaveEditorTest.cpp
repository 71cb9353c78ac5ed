// The wave editor as a real child window: keys, mouse selection, edits and
// their notifications, the progress bar, mouse records to the parent, the
// dialog control class, and every sound of the game's archive.
#include "core/Platform.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "core/SResource.h"
#include "editors/EditorControls.h"
#include "window/SLevelCtrl.h"
#include "editors/SWaveEditor.h"
#include "tests/data/GameArchives.h"
#include "tests/editors/WaveTestSupport.h"
#include "tests/support/GdiTestSupport.h"
#include "window/ControlFactory.h"
#include "window/Framework.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

using namespace WaveTest;

namespace {

// The key state the editor polls: the keys held, and the left button held
// for a number of polls, the cursor jumping to a point at the first poll.
std::set<int> g_held;
int g_buttonPolls = 0;
POINT g_dragTo = {0, 0};

SHORT WINAPI FakeKeyState(int key) {
  if (key == VK_LBUTTON) {
    if (g_buttonPolls <= 0) return 0;
    --g_buttonPolls;
    ::SetCursorPos(g_dragTo.x, g_dragTo.y);
    return SHORT(0x8000);
  }
  return g_held.count(key) ? SHORT(0x8000) : 0;
}

// The parent: counts change notifications and keeps the mouse records.
class Parent : public SWnd {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SWM_CONTROLCHANGED) ++changes;
    if (message == SWM_WAVEEDITORMOUSE) mouse.push_back(*reinterpret_cast<MOUSERECORD*>(lParam));
    return SWnd::WindowProc(message, wParam, lParam);
  }
  int changes = 0;
  std::vector<MOUSERECORD> mouse;
};

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  COLORREF color = ::GetPixel(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return color;
}

class SWaveEditorTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!g_directSound) CreateDirectSound();
  }
  void SetUp() override {
    g_held.clear();
    g_buttonPolls = 0;
    SWaveEditor::s_keyState = FakeKeyState;
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(parent.Create("parent", WS_POPUP | WS_VISIBLE, 0, &rect));
    RECT child = {0, 0, 200, 100};
    ASSERT_TRUE(editor.Create("", WS_CHILD | WS_VISIBLE, 0, &child, parent.m_hWnd));
    editor.SetBackColors(0xFFFFFF, 0xC0C0C0);
  }
  void TearDown() override {
    editor.m_wave.Stop();
    ::DestroyWindow(editor.m_hWnd);
    SWaveEditor::s_keyState = ::GetAsyncKeyState;
  }
  bool LoadRamp(int frames) {
    SFileMem file;
    Fill(file, RampFile(frames));
    return editor.LoadFile(&file);
  }
  void Key(int key, std::initializer_list<int> modifiers = {}) {
    g_held = modifiers;
    editor.SendMessage(WM_KEYDOWN, WPARAM(key), 0);
    g_held.clear();
  }

  Parent parent;
  SWaveEditor editor;
};

TEST_F(SWaveEditorTest, EmptyAndShortWavesIgnoreKeysAndDraw) {
  EXPECT_EQ(editor.m_commandMask, 0x3Eu);
  Key('N', {VK_CONTROL});
  Key(VK_SPACE);
  Key(VK_END);
  EXPECT_FALSE(editor.m_wave.IsLoaded());
  EXPECT_EQ(parent.changes, 0);
  Dib32 canvas(200, 100, 0);
  editor.SendMessage(WM_PRINTCLIENT, WPARAM(canvas.GetDC()), PRF_CLIENT);
  EXPECT_EQ(canvas.Rgb(100, 20), 0xFFFFFFu);
  editor.SetLineColors(0x00FF00, 0x0000FF, 0xFF000000);
  for (int channels : {0, 1}) {
    if (channels)
      ASSERT_TRUE(editor.NewWave(1));
    else
      ASSERT_TRUE(LoadRamp(100));
    Dib32 canvas(200, 100, 0);
    editor.SendMessage(WM_PRINTCLIENT, WPARAM(canvas.GetDC()), PRF_CLIENT);
    int strip = 100 / editor.m_wave.GetChannels();
    EXPECT_EQ(canvas.Rgb(199, strip / 2), 0x00FF00u) << channels;  // the line, red low in COLORREF
    EXPECT_EQ(editor.XFromFrame(0), 0);
  }
}

// Waves under a second and empty ones draw their centre line and caret.
TEST_F(SWaveEditorTest, KeysMoveTheSelectionAndTheFocusChannel) {
  ASSERT_TRUE(LoadRamp(20000));  // one step = 20000 / 200 = 100 frames
  struct Row {
    int key;
    std::initializer_list<int> modifiers;
    uint32_t start, length;
    int focus;
    uint32_t newStart, newLength;
    int newFocus;
  } rows[] = {
      {VK_ESCAPE, {}, 500, 300, -1, 500, 0, -1},
      {VK_HOME, {VK_CONTROL}, 500, 0, -1, 0, 0, -1},
      {VK_END, {}, 500, 0, -1, 20000, 0, -1},
      {VK_LEFT, {VK_SHIFT}, 500, 300, -1, 400, 400, -1},
      {VK_LEFT, {VK_SHIFT}, 50, 0, -1, 0, 50, -1},
      {VK_LEFT, {}, 500, 300, -1, 500, 0, -1},
      {VK_LEFT, {}, 0, 0, -1, 0, 0, -1},
      {VK_LEFT, {VK_CONTROL}, 500, 0, -1, 400, 0, -1},
      {VK_RIGHT, {VK_SHIFT}, 500, 300, -1, 500, 400, -1},
      {VK_RIGHT, {}, 500, 300, -1, 800, 0, -1},
      {VK_RIGHT, {}, 19950, 0, -1, 20000, 0, -1},
      {VK_UP, {}, 0, 0, -1, 0, 0, 1},
      {VK_UP, {}, 0, 0, 0, 0, 0, -1},
      {VK_DOWN, {}, 0, 0, -1, 0, 0, 0},
      {VK_DOWN, {}, 0, 0, 1, 0, 0, -1},
      {VK_NUMPAD2, {}, 0, 0, -1, 0, 0, 1},
      {VK_NUMPAD2, {}, 0, 0, 1, 0, 0, -1},
      {VK_NUMPAD6, {}, 0, 0, 0, 0, 0, -1},
      {VK_NUMPAD0, {}, 0, 0, 1, 0, 0, -1},
  };
  for (const Row& row : rows) {
    editor.SetSelection(row.start, row.length);
    editor.SetFocusChannel(row.focus);
    Key(row.key, row.modifiers);
    EXPECT_EQ(editor.m_selectionStart, row.newStart) << row.key << " from " << row.start;
    EXPECT_EQ(editor.m_selectionLength, row.newLength) << row.key << " from " << row.start;
    EXPECT_EQ(editor.m_focusChannel, row.newFocus) << row.key << " from " << row.focus;
  }
  EXPECT_EQ(parent.changes, 0);
}

TEST_F(SWaveEditorTest, PlaysFromTheMenuStopsWithSpaceAndPlaysNothingWhenAllIsMuted) {
  ASSERT_TRUE(LoadRamp(44100 * 4));
  Key(VK_NUMPAD1, {VK_CONTROL});
  Key(VK_NUMPAD2, {VK_CONTROL});
  EXPECT_EQ(editor.m_muted.GetCount(), 2);
  Key(VK_SPACE);
  EXPECT_FALSE(editor.m_wave.IsPlaying());
  Key(VK_NUMPAD0, {VK_CONTROL});
  EXPECT_EQ(editor.m_muted.GetCount(), 0);
  editor.SendMessage(SWM_MENUCOMMAND, 0, SWaveEditor::MENU_PLAY);
  EXPECT_TRUE(editor.m_wave.IsPlaying());
  editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(editor.m_wave.GetFrequency(), 44600);
  EXPECT_EQ(parent.changes, 1);
  Key(VK_SPACE);
  EXPECT_FALSE(editor.m_wave.IsPlaying());
}

TEST_F(SWaveEditorTest, EditsNotifyOnlyWhenTheyChangedTheData) {
  ASSERT_TRUE(LoadRamp(20000));
  editor.SetSelection(100, 50);
  editor.Delete();
  EXPECT_EQ(editor.m_wave.GetFrames(), 19950u);
  EXPECT_TRUE(editor.m_selectionStart == 100u && editor.m_selectionLength == 0u);
  EXPECT_EQ(parent.changes, 1);
  editor.Delete();  // nothing selected: refused
  EXPECT_EQ(parent.changes, 1);

  // Escape held: the edit is cancelled before its first block.
  editor.SetSelection(0, 1000);
  Key(VK_ADD, {VK_ESCAPE});
  EXPECT_EQ(editor.m_wave.GetSample(0, nullptr, 999), 1049);
  EXPECT_EQ(parent.changes, 1);
  Key(VK_ADD);
  EXPECT_EQ(editor.m_wave.GetSample(0, nullptr, 999), 1573);
  EXPECT_EQ(parent.changes, 2);

  Key('N', {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(editor.m_wave.GetChannels(), 6);
  EXPECT_EQ(parent.changes, 3);
}

TEST_F(SWaveEditorTest, ThePastedFramesBecomeTheSelection) {
  ASSERT_TRUE(LoadRamp(1000));
  editor.SetSelection(10, 100);
  editor.Copy();
  EXPECT_EQ(SWaveEditor::GetClipboard()->GetSize(), 400);
  editor.SetSelection(500, 0);
  editor.Paste();
  EXPECT_EQ(editor.m_wave.GetFrames(), 1100u);
  EXPECT_TRUE(editor.m_selectionStart == 500u && editor.m_selectionLength == 100u);
  EXPECT_EQ(editor.m_wave.GetSample(0, nullptr, 500), 10);

  // One focused channel: the clipboard holds its samples.
  editor.SetFocusChannel(1);
  editor.SetSelection(0, 100);
  editor.Cut();
  EXPECT_EQ(SWaveEditor::GetClipboard()->GetSize(), 200);
  editor.SetSelection(0, 0);
  editor.Paste();
  EXPECT_EQ(editor.m_selectionLength, 100u);
  EXPECT_EQ(parent.changes, 3);
}

TEST_F(SWaveEditorTest, TheProgressBarSpansTheSelectionOrTheWholeWidth) {
  ASSERT_TRUE(LoadRamp(20000));
  struct Row {
    uint32_t start, length;
    COLORREF atLeftEdge;  // x 20: outside a wide selection, inside a full bar
  } rows[] = {{5000, 10000, 0xFFFFFF}, {5000, 500, 0x80FF80}};
  for (const Row& row : rows) {
    editor.SetSelection(row.start, row.length);
    editor.BeginProgress();
    editor.DrawProgress(50);
    int left = row.length >= 10000 ? 50 : 0, right = row.length >= 10000 ? 150 : 200;
    int y = 100 - 8;
    COLORREF start = PixelOf(editor.m_backBuffer, left + 2, y);
    EXPECT_GT(GetGValue(start), 0xE0) << row.length;  // near 0x80FF80 at the bar's left
    EXPECT_EQ(PixelOf(editor.m_backBuffer, right - 3, y), 0x205C20u) << row.length;
    COLORREF edge = PixelOf(editor.m_backBuffer, 20, y);
    EXPECT_EQ(edge == 0xFFFFFF, row.atLeftEdge == 0xFFFFFF) << row.length;
    editor.EndProgress();
    EXPECT_EQ(editor.m_cursor, nullptr);
  }
}

TEST_F(SWaveEditorTest, MouseButtonsReachTheParentAndDragsPastAnEdgeSelectToThatEnd) {
  struct Row {
    UINT message;
    uint32_t code;
  } rows[] = {{WM_RBUTTONUP, 0x14},
              {WM_MBUTTONDBLCLK, 0x42},
              {SWM_LCLICK, 0x21},
              {WM_LBUTTONUP, 0x11},
              {WM_MOUSEMOVE, 0}};
  for (const Row& row : rows) {
    parent.mouse.clear();
    editor.SendMessage(row.message, 0, MAKELPARAM(30, 40));
    if (!row.code) {
      EXPECT_TRUE(parent.mouse.empty());
      continue;
    }
    ASSERT_EQ(parent.mouse.size(), 1u) << row.message;
    POINT screen = {30, 40};
    ::ClientToScreen(editor.m_hWnd, &screen);
    const MOUSERECORD& m = parent.mouse[0];
    EXPECT_EQ((std::vector<LONG>{LONG(row.code), 30, 40, screen.x, screen.y}),
              (std::vector<LONG>{LONG(m.flags), m.x, m.y, m.screenX, m.screenY}));
  }
  // Dragging past an edge selects to that end of the wave.
  ASSERT_TRUE(LoadRamp(20000));
  struct Drag {
    int toX;
    uint32_t start, length;
  } drags[] = {{400, 10000, 10000}, {-50, 0, 10000}};
  for (const Drag& row : drags) {
    POINT anchor = {100, 50}, to = {row.toX, 50};
    ::ClientToScreen(editor.m_hWnd, &anchor);
    ::ClientToScreen(editor.m_hWnd, &to);
    ::SetCursorPos(anchor.x, anchor.y);
    g_dragTo = to;
    g_buttonPolls = 3;
    editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    EXPECT_TRUE(editor.m_selectionStart == row.start && editor.m_selectionLength == row.length)
        << row.toX;
  }
}

// --- the dialog control class and the game's sounds ----------------------------------

TEST_F(SWaveEditorTest, TheFactoryBuildsItFromAnArchiveEntryAndItsKeys) {
  RegisterEditorControls();
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "snd"));
  SDialogEditor::_SCtrl record;
  record.m_type = SDialogEditor::TYPE_WAVEEDITOR;
  record.m_id = 7;
  record.m_style = WS_VISIBLE;
  record.m_width = 200;
  record.m_height = 100;
  SDialogEditor::SetProperty(&record, "WAVEEDITOR_FILE", "alarm.wav");
  SDialogEditor::SetProperty(&record, "WAVEEDITOR_COLORLINE", "#FF0000");
  SDialogEditor::SetProperty(&record, "WAVEEDITOR_POPUPMENU", "0");
  std::unique_ptr<SWnd> control(
      CreateDialogControl(parent.m_hWnd, &record, &archive, true, nullptr));
  ASSERT_NE(control, nullptr);
  ASSERT_EQ(control->m_kind, 47);
  SWaveEditor* built = static_cast<SWaveEditor*>(control.get());
  EXPECT_TRUE(built->m_wave.IsLoaded());
  EXPECT_EQ(built->m_line, 0x0000FFu);
  EXPECT_EQ(built->m_caret, ::GetSysColor(COLOR_BTNTEXT));
  EXPECT_FALSE(built->m_popupMenu);
}

TEST_F(SWaveEditorTest, ALinkedLevelMeterShowsThePlayingChannels) {
  RegisterEditorControls();
  ASSERT_TRUE(LoadRamp(44100 * 4));
  SLevelCtrl meter;  // range 0 to 1000
  FindDialogControlClass(SDialogEditor::TYPE_WAVEEDITOR)->link(&editor, &meter);
  ASSERT_EQ(meter.GetChannelCount(), 2);
  Key(VK_NUMPAD2, {VK_CONTROL});
  editor.Play();
  editor.m_wave.SetPlayPosition(20000);
  editor.m_wave.Update();
  EXPECT_GT(meter.m_values[0], 500);  // samples near 20000 of 32768
  EXPECT_EQ(meter.m_values[1], 0);    // muted
  editor.m_wave.Stop();
  EXPECT_EQ(meter.m_values[0], 0);
  FindDialogControlClass(SDialogEditor::TYPE_WAVEEDITOR)->link(&editor, &parent);
  EXPECT_EQ(editor.m_wave.m_levelMeter, nullptr);
}

TEST_F(SWaveEditorTest, EverySoundOfTheGameLoadsWithItsSamples) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "snd"));
  int waves = 0;
  for (const std::string& name : GameArchives::Names(archive)) {
    SFileMem original;
    ASSERT_TRUE(GameArchives::Load(archive, name, original)) << name;
    bool wave = GameArchives::Lower(name).rfind(".wav") == name.size() - 4;
    ASSERT_EQ(editor.LoadFile(&original), wave) << name;  // the tunes are MP3
    if (!wave) continue;
    ++waves;
    // The game's files hold "fmt " then "data": the samples are their tail.
    std::string bytes = Content(original);
    std::string samples(editor.m_wave.m_dataSize, '\0');
    editor.m_wave.m_data->Seek(0);
    ASSERT_EQ(editor.m_wave.m_data->ReadData(&samples[0], int(samples.size())),
              int(samples.size())) << name;
    EXPECT_EQ(bytes.substr(bytes.size() - samples.size()), samples) << name;
  }
  EXPECT_GE(waves, 60);
}

}  // namespace
