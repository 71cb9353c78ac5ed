#include "core/Platform.h"
#include "engine/SDx.h"
#include "engine/SDxText.h"

#include "EngineTestSupport.h"
#include "WaveTestSupport.h"
#include "core/TimeBase.h"
#include "engine/SDxSound.h"
#include "window/Framework.h"

#include <xinput.h>
#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include <utility>
#include <vector>

namespace {

// --- seams -------------------------------------------------------------------

XINPUT_STATE g_padState;
DWORD g_padAnswer = ERROR_SUCCESS;
std::vector<std::pair<int, int>> g_motors;
float g_now = 0.0f;

DWORD WINAPI FakeGetState(DWORD, XINPUT_STATE* state) {
  *state = g_padState;
  return g_padAnswer;
}
DWORD WINAPI FakeSetState(DWORD, XINPUT_VIBRATION* vibration) {
  g_motors.push_back({vibration->wLeftMotorSpeed, vibration->wRightMotorSpeed});
  return ERROR_SUCCESS;
}
float FakeClock() { return g_now; }

// --- keys and option keys ----------------------------------------------------

class RecordingEngine : public SDx {
public:
  std::vector<int> changed;
  void OnSettingChanged(SDxConfig*, int index) override { changed.push_back(index); }
};

class InputSuite : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    s_window = MakeEngineWindow().release();
    s_engine = new RecordingEngine;
    SDxConfig config;
    s_created = s_engine->Create(s_window, &config, nullptr);
  }
  static void TearDownTestSuite() {
    delete s_engine;
    delete s_window;
  }
  void SetUp() override { ASSERT_TRUE(s_created); }
  static void Key(UINT message, int key) { s_engine->OnMessage(message, (WPARAM)key, 0); }

  inline static SWnd* s_window = nullptr;
  inline static RecordingEngine* s_engine = nullptr;
  inline static bool s_created = false;
};

TEST_F(InputSuite, KeysAreSeenForOneFrameWithTheirRepeatsAndTheFrameStepPollsThePad) {
  SDx* dx = s_engine;
  Key(WM_KEYDOWN, 'A');
  Key(WM_KEYUP, 'A');
  EXPECT_FALSE(dx->IsKeyPressed('A')) << "pressed and released between frames";
  Key(WM_KEYDOWN, 'B');
  EXPECT_TRUE(dx->IsKeyPressedNoRepeat('B'));
  dx->OnMessage(WM_RBUTTONDOWN, MK_RBUTTON, 0);
  EXPECT_TRUE(dx->IsKeyPressedNoRepeat(VK_RBUTTON));
  Key(WM_KEYDOWN, 'C');
  Key(WM_KEYDOWN, 'C');
  EXPECT_TRUE(dx->IsKeyPressedNoRepeat('C')) << "repeated before the frame read the press";

  // A frame: the pad is polled and the key events end.
  g_engine = dx;
  dx->m_clock = FakeClock;
  SDx::s_xinputGetState = FakeGetState;
  memset(&g_padState, 0, sizeof(g_padState));
  g_padState.Gamepad.wButtons = XINPUT_GAMEPAD_X;
  dx->m_xinput = true;
  g_now = dx->m_lastFrameTime + 0.02f;
  SDx::Frame();
  EXPECT_TRUE(dx->IsButtonPressed(2));
  EXPECT_TRUE(dx->IsKeyDown('B'));
  EXPECT_FALSE(dx->IsKeyPressed('B')) << "held, no new message";
  Key(WM_KEYDOWN, 'B');  // auto-repeat
  EXPECT_TRUE(dx->IsKeyPressed('B'));
  EXPECT_FALSE(dx->IsKeyPressedNoRepeat('B'));
  dx->OnMessage(WM_RBUTTONUP, 0, 0);
  EXPECT_FALSE(dx->IsKeyDown(VK_RBUTTON));
  // A key held while the key states are reset: its next auto-repeat (the
  // message says the key was down) is no first press.
  dx->ResetKeyStates();
  dx->OnMessage(WM_KEYDOWN, 'B', 0x40000001);
  EXPECT_TRUE(dx->IsKeyPressed('B'));
  EXPECT_FALSE(dx->IsKeyPressedNoRepeat('B')) << "an auto-repeat taken for a first press";
  dx->m_xinput = false;
  dx->ResetInput();
  SDx::s_xinputGetState = nullptr;
  dx->m_clock = GetTimeSeconds;
  g_engine = nullptr;
}

TEST_F(InputSuite, OptionKeysChangeTheirSettingAndShowItsLine) {
  SDxConfig* config = s_engine->GetConfig();
  struct Row {
    int key;
    float brightness, volume;  // before the key
    const char* line;
    int index;
  } rows[] = {
      {VK_F4, 0.99f, 1.0f, "BRIGHTNESS: 100/100", 1},
      {VK_F4, 1.0f, 1.0f, "BRIGHTNESS: 100/100", 1},
      {VK_F3, 0.15f, 1.0f, "BRIGHTNESS: 57/100", 1},
      {VK_F3, -0.995f, 1.0f, "BRIGHTNESS: 0/100", 1},
      {VK_F7, 0.0f, 0.004f, "MUSIC VOLUME: 0/100", 4},
      {VK_F8, 0.0f, 0.56f, "MUSIC VOLUME: 57/100", 4},
      {VK_F8, 0.0f, 1.0f, "MUSIC VOLUME: 100/100", 4},
      {VK_F1, 0.0f, 1.0f, "LIGHTING: OFF", 0},
      {VK_F1, 0.0f, 1.0f, "LIGHTING: ON", 0},
      {VK_F6, 0.0f, 1.0f, "MUSIC: OFF", 3},
      {VK_F6, 0.0f, 1.0f, "MUSIC: ON", 3},
      {VK_F9, 0.0f, 1.0f, "FORCE FEEDBACK: OFF", 5},
      {VK_F9, 0.0f, 1.0f, "FORCE FEEDBACK: ON", 5},
  };
  for (const Row& row : rows) {
    config->brightness = row.brightness;
    config->musicVolume = row.volume;
    s_engine->changed.clear();
    Key(WM_KEYDOWN, row.key);
    EXPECT_STREQ(row.line, s_engine->m_overlayLine.GetText());
    EXPECT_EQ(std::vector<int>{row.index}, s_engine->changed) << row.line;
    // The overlay text item shows the line for three seconds.
    SDxText* overlay = s_engine->m_overlayText;
    ASSERT_NE(nullptr, overlay);
    EXPECT_STREQ(row.line, overlay->m_text.GetText());
    EXPECT_TRUE(overlay->IsActive());
    EXPECT_FLOAT_EQ(3.0f, overlay->m_displayDuration);
  }
  Key(WM_KEYDOWN, VK_F4);
  EXPECT_FLOAT_EQ(0.01f, s_engine->m_effectiveBrightness - s_engine->m_brightness) << "applied";
  s_engine->changed.clear();
  Key(WM_KEYDOWN, VK_F2);
  Key(WM_KEYUP, VK_F4);
  EXPECT_TRUE(s_engine->changed.empty());
}

TEST_F(InputSuite, AudioKeyStopsEverySoundAndTurningItOnStartsNothing) {
  SDx* dx = s_engine;
  SFileMem file;
  ASSERT_NE(nullptr, dx->LoadSound(Open(file, Wave(2, 44100, 1024)), true, false, 2));
  dx->PlaySound(0, false, -1.0f, -2.0f);
  dx->PlaySound(0, false, -1.0f, -2.0f);
  Key(WM_KEYDOWN, VK_F5);
  EXPECT_STREQ("AUDIO: OFF", dx->m_overlayLine.GetText());
  EXPECT_FALSE(dx->IsSoundPlaying(0));
  EXPECT_FALSE(dx->m_extraVoices[0]->IsPlaying());
  EXPECT_EQ(nullptr, dx->PlaySound(0, false, -1.0f, -2.0f));
  Key(WM_KEYDOWN, VK_F5);
  EXPECT_FALSE(dx->IsSoundPlaying(0));
  EXPECT_NE(nullptr, dx->PlaySound(0, false, -1.0f, -2.0f));
  dx->DeleteSounds();
}

// --- game pad ----------------------------------------------------------------

class PadTest : public ::testing::Test {
protected:
  void SetUp() override {
    SDx::s_xinputGetState = FakeGetState;
    SDx::s_xinputSetState = FakeSetState;
    memset(&g_padState, 0, sizeof(g_padState));
    g_padAnswer = ERROR_SUCCESS;
    g_motors.clear();
    dx.m_xinput = true;
  }
  void TearDown() override {
    SDx::s_xinputGetState = nullptr;
    SDx::s_xinputSetState = nullptr;
  }
  void Poll(float seconds = 0.0f) {
    dx.m_time += seconds;
    dx.PollXInput();
  }

  SDx dx;
};

TEST_F(PadTest, XInputSticksAndTriggersHaveTheirDeadZonesAndRanges) {
  struct Row {
    SHORT raw;
    BYTE trigger;
    float left, leftUp, right, triggerValue;  // left x, left y from raw y, right x
  } rows[] = {
      {7849, 30, 0.0f, 0.0f, 0.0f, 0.0f},
      {32767, 255, 1.0f, -1.0f, 1.0f, 1.0f},
      {-32768, 0, -1.0f, 1.0f, -1.0f, 0.0f},
      {8689, 142, 840.0f / 24918, -840.0f / 24918, 0.0f, 112.0f / 225},
      {20308, 29, 0.5f, -0.5f, 11619.0f / 24078, 0.0f},
  };
  for (const Row& row : rows) {
    g_padState.Gamepad.sThumbLX = g_padState.Gamepad.sThumbLY = g_padState.Gamepad.sThumbRX =
        row.raw;
    g_padState.Gamepad.bLeftTrigger = g_padState.Gamepad.bRightTrigger = row.trigger;
    Poll();
    EXPECT_NEAR(row.left, dx.m_pad.leftX, 1e-6f) << row.raw;
    EXPECT_NEAR(row.leftUp, dx.m_pad.leftY, 1e-6f) << row.raw;
    EXPECT_NEAR(row.right, dx.m_pad.rightX, 1e-6f) << row.raw;
    EXPECT_NEAR(row.triggerValue, dx.m_pad.rightTrigger, 1e-6f) << row.raw;
  }
}

TEST_F(PadTest, XInputButtonsDirectionsEdgesAndDoublePresses) {
  g_padState.Gamepad.wButtons =
      XINPUT_GAMEPAD_RIGHT_SHOULDER | XINPUT_GAMEPAD_START | XINPUT_GAMEPAD_DPAD_LEFT;
  Poll();
  EXPECT_TRUE(dx.IsButtonPressed(5));
  EXPECT_TRUE(dx.IsStartPressed());
  EXPECT_TRUE(dx.IsPadLeftPressed());
  EXPECT_FALSE(dx.IsPadDownPressed());
  Poll();
  EXPECT_FALSE(dx.IsButtonPressed(5)) << "held: no new edge";
  g_padState.Gamepad.wButtons = 0;
  g_padState.Gamepad.sThumbRY = 30000;  // up, on the right stick
  Poll();
  EXPECT_TRUE(dx.IsPadUpPressed());

  // A pressed again after 1, 0.2, 0.3 and 0.24 seconds.
  struct Press {
    float after;
    uint8_t twice;
  } presses[] = {{1.0f, 0}, {0.2f, 1}, {0.3f, 0}, {0.24f, 1}};
  for (const Press& press : presses) {
    g_padState.Gamepad.wButtons = 0;
    Poll(press.after / 2);
    g_padState.Gamepad.wButtons = XINPUT_GAMEPAD_A;
    Poll(press.after / 2);
    EXPECT_EQ(press.twice, dx.m_pad.doublePresses[0]) << press.after;
  }
  g_padAnswer = ERROR_DEVICE_NOT_CONNECTED;
  Poll();
  EXPECT_EQ(0, dx.m_pad.buttons[0]);
  EXPECT_EQ(0.0f, dx.m_pad.rightY);
}

TEST_F(PadTest, DirectInputPadsMapByTheirAxisCount) {
  DIJOYSTATE2 state;
  memset(&state, 0, sizeof(state));
  state.lX = 6500;
  state.lY = -10000;
  state.lZ = 5500;
  state.lRx = -3000;
  state.lRz = 10000;
  for (int b : {0, 1, 4, 5}) state.rgbButtons[b] = 0x80;
  struct Row {
    int axes;
    int x;
    float leftX, leftTrigger, rightTrigger, rightX, rightY;
    uint8_t fifth;
  } rows[] = {
      {4, 0, 0.5f, 1.0f, 1.0f, 1.0f, 2500.0f / 7000, 0},  // buttons 5 and 6 are the triggers
      {6, 0, 0.5f, 0.5f, 0.0f, 0.0f, 0.0f, 1},            // one Z axis for both triggers
      {2, 1, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0},            // a simple stick
  };
  for (const Row& row : rows) {
    SDx pad;
    pad.m_padAxes = row.axes;
    pad.ReadDirectInputState(&state);
    EXPECT_EQ(row.x, pad.m_pad.x) << row.axes;
    EXPECT_FLOAT_EQ(row.leftX, pad.m_pad.leftX) << row.axes;
    EXPECT_FLOAT_EQ(row.leftTrigger, pad.m_pad.leftTrigger) << row.axes;
    EXPECT_FLOAT_EQ(row.rightTrigger, pad.m_pad.rightTrigger) << row.axes;
    EXPECT_FLOAT_EQ(row.rightX, pad.m_pad.rightX) << row.axes;
    EXPECT_FLOAT_EQ(row.rightY, pad.m_pad.rightY) << row.axes;
    EXPECT_EQ(row.fifth, pad.m_pad.buttons[4]) << row.axes;
    EXPECT_TRUE(pad.IsButtonPressed(1)) << row.axes;
  }
}

TEST_F(PadTest, RumbleKeepsAMotorOnRequestAndStopsAfterItsTime) {
  dx.SetRumble(0.0f, 0.3f, 0.0f);
  dx.SetRumble(0.5f, -1.0f, 2.0f);
  dx.SetRumble(0.5f, 0.3f, 2.0f);  // the same strengths are not sent again
  Poll(1.99f);
  std::vector<std::pair<int, int>> expected = {{0, 19660}, {32767, 19660}};
  EXPECT_EQ(expected, g_motors);
  Poll(0.02f);
  expected.push_back({0, 0});
  EXPECT_EQ(expected, g_motors);

  dx.SetForceFeedback(false);
  dx.SetRumble(1.0f, 1.0f, 0.0f);
  dx.SetForceFeedback(true);
  dx.SetRumble(2.0f, 0.0f, 0.0f);
  Poll(100.0f);
  expected.insert(expected.end(), {{0, 0}, {0, 0}, {65535, 0}});
  EXPECT_EQ(expected, g_motors) << "nothing while off, no end without a duration";
}

// Before Create nothing is recorded; no pad exists here, and the device
// search says so without error.
TEST(PadDeviceTest, NothingBeforeCreateAndNoPadHere) {
  SDx dx;
  EXPECT_FALSE(dx.OnMessage(WM_KEYDOWN, VK_F4, 0));
  EXPECT_FALSE(dx.IsKeyDown(VK_F4));
  EXPECT_EQ(0.0f, dx.GetConfig()->brightness);
  dx.CreateInput();
  EXPECT_FALSE(dx.m_xinput);
  EXPECT_EQ(nullptr, dx.m_padDevice);
  EXPECT_FALSE(SDx::IsXInputDevice(0x028E045E));
}

}  // namespace
