#include "core/Platform.h"
#include "engine/SDx.h"

#include "EngineTestSupport.h"
#include "core/SFileMem.h"
#include "core/TimeBase.h"
#include "engine/SDxSound.h"
#include "window/Framework.h"
#include "WaveTestSupport.h"

#include <xinput.h>
#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include <string>
#include <vector>

namespace {

// --- keys and option keys --------------------------------------------------------

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
  void SetUp() override {
    ASSERT_TRUE(s_created);
    s_engine->ResetKeyStates();
    s_engine->changed.clear();
  }
  static void Key(UINT message, int key) { s_engine->OnMessage(message, (WPARAM)key, 0); }
  // The end of a frame: the key events are cleared.
  static void EndFrame() { memset(s_engine->m_keyEvents, 0, sizeof(s_engine->m_keyEvents)); }

  inline static SWnd* s_window = nullptr;
  inline static RecordingEngine* s_engine = nullptr;
  inline static bool s_created = false;
};

TEST(KeyTest, MessagesBeforeCreateAreRefusedAndRecordNothing) {
  SDx dx;
  EXPECT_FALSE(dx.OnMessage(WM_KEYDOWN, 'A', 0));
  EXPECT_FALSE(dx.OnMessage(WM_KEYDOWN, VK_F4, 0));
  EXPECT_FALSE(dx.IsKeyDown('A'));
  EXPECT_EQ(0.0f, dx.GetConfig()->brightness);
  EXPECT_EQ(0, dx.m_overlayLine.GetLength());
}

TEST_F(InputSuite, KeysAndButtonsAreSeenForOneFrameWithTheirRepeats) {
  SDx* dx = s_engine;
  Key(WM_KEYDOWN, 'A');
  Key(WM_KEYUP, 'A');
  EXPECT_FALSE(dx->IsKeyPressed('A')) << "pressed and released between frames";
  EXPECT_FALSE(dx->IsKeyDown('A'));
  EXPECT_EQ(dx->GetTime(), dx->m_keyPressTimes['A']);

  Key(WM_KEYDOWN, 'B');
  EXPECT_TRUE(dx->IsKeyPressed('B'));
  EXPECT_TRUE(dx->IsKeyPressedNoRepeat('B'));
  EndFrame();
  EXPECT_TRUE(dx->IsKeyDown('B'));
  EXPECT_FALSE(dx->IsKeyPressed('B')) << "held, no new message";
  Key(WM_KEYDOWN, 'B');  // auto-repeat
  EXPECT_TRUE(dx->IsKeyPressed('B'));
  EXPECT_FALSE(dx->IsKeyPressedNoRepeat('B'));
  EndFrame();

  struct Row {
    UINT down, up;
    int key;
  } buttons[] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, VK_LBUTTON},
                 {WM_RBUTTONDOWN, WM_RBUTTONUP, VK_RBUTTON},
                 {WM_MBUTTONDOWN, WM_MBUTTONUP, VK_MBUTTON}};
  for (const Row& row : buttons) {
    EXPECT_TRUE(dx->OnMessage(row.down, MK_LBUTTON, MAKELPARAM(5, 5)));
    EXPECT_TRUE(dx->IsKeyPressedNoRepeat(row.key)) << row.key;
    EXPECT_TRUE(dx->OnMessage(row.up, 0, 0));
    EXPECT_FALSE(dx->IsKeyDown(row.key)) << row.key;
  }
  EXPECT_TRUE(dx->OnMessage(WM_MOUSEMOVE, 0, 0));
  dx->ResetInput();
  EXPECT_FALSE(dx->IsKeyDown('B'));
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
      {VK_F7, 0.0f, 0.5f, "MUSIC VOLUME: 49/100", 4},
  };
  for (const Row& row : rows) {
    config->brightness = row.brightness;
    config->musicVolume = row.volume;
    s_engine->changed.clear();
    Key(WM_KEYDOWN, row.key);
    EXPECT_STREQ(row.line, s_engine->m_overlayLine.GetText());
    EXPECT_EQ(std::vector<int>{row.index}, s_engine->changed) << row.line;
    EXPECT_FLOAT_EQ(3.0f, s_engine->m_overlaySeconds);
    EXPECT_GE(config->brightness, -1.0f);
    EXPECT_LE(config->brightness, 1.0f);
    EXPECT_GE(config->musicVolume, 0.0f);
    EXPECT_LE(config->musicVolume, 1.0f);
  }
  config->brightness = 0.0f;
  Key(WM_KEYDOWN, VK_F4);
  EXPECT_FLOAT_EQ(0.01f, s_engine->m_effectiveBrightness - s_engine->m_brightness);

  // The switches, each pressed twice.
  struct Switch {
    int key;
    const char* on;
    const char* off;
    int index;
  } switches[] = {{VK_F1, "LIGHTING: ON", "LIGHTING: OFF", 0},
                  {VK_F5, "AUDIO: ON", "AUDIO: OFF", 2},
                  {VK_F6, "MUSIC: ON", "MUSIC: OFF", 3},
                  {VK_F9, "FORCE FEEDBACK: ON", "FORCE FEEDBACK: OFF", 5}};
  for (const Switch& row : switches) {
    Key(WM_KEYDOWN, row.key);
    EXPECT_STREQ(row.off, s_engine->m_overlayLine.GetText());
    Key(WM_KEYDOWN, row.key);
    EXPECT_STREQ(row.on, s_engine->m_overlayLine.GetText());
  }
  EXPECT_TRUE(s_engine->m_lighting);
  s_engine->changed.clear();
  s_engine->m_overlayLine.Set("");
  Key(WM_KEYDOWN, VK_F2);
  Key(WM_KEYUP, VK_F4);
  EXPECT_TRUE(s_engine->changed.empty());
  EXPECT_EQ(0, s_engine->m_overlayLine.GetLength());
}

TEST_F(InputSuite, AudioKeyStopsEverySoundAndTurningItOnStartsNothing) {
  if (!g_xaudio2) GTEST_SKIP() << "no XAudio2";
  SDx* dx = s_engine;
  SFileMem file;
  ASSERT_NE(nullptr, dx->LoadSound(Open(file, Wave(2, 44100, 1024)), true, false, 2));
  dx->PlaySound(0, false, -1.0f, -2.0f);
  dx->PlaySound(0, false, -1.0f, -2.0f);
  ASSERT_TRUE(dx->m_extraVoices[0]->IsPlaying());
  Key(WM_KEYDOWN, VK_F5);
  EXPECT_FALSE(dx->IsSoundPlaying(0));
  EXPECT_FALSE(dx->m_extraVoices[0]->IsPlaying());
  EXPECT_EQ(nullptr, dx->PlaySound(0, false, -1.0f, -2.0f));
  Key(WM_KEYDOWN, VK_F5);
  EXPECT_FALSE(dx->IsSoundPlaying(0));
  EXPECT_NE(nullptr, dx->PlaySound(0, false, -1.0f, -2.0f));
  dx->DeleteSounds();
}

// --- game pad --------------------------------------------------------------------

XINPUT_STATE g_padState;
DWORD g_padAnswer = ERROR_SUCCESS;
std::vector<std::pair<int, int>> g_motors;

DWORD WINAPI FakeGetState(DWORD pad, XINPUT_STATE* state) {
  EXPECT_EQ(0u, pad);
  *state = g_padState;
  return g_padAnswer;
}

DWORD WINAPI FakeSetState(DWORD pad, XINPUT_VIBRATION* vibration) {
  EXPECT_EQ(0u, pad);
  g_motors.push_back({vibration->wLeftMotorSpeed, vibration->wRightMotorSpeed});
  return ERROR_SUCCESS;
}

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
  // One XInput poll, after the clock moved on.
  void Poll(float seconds = 0.0f) {
    dx.m_time += seconds;
    dx.PollXInput();
  }

  SDx dx;
};

TEST_F(PadTest, XInputSticksAndTriggersHaveTheirDeadZonesAndRanges) {
  struct Row {
    SHORT raw;
    float left, leftUp, right;  // left x, left y from the raw y, right x
  } rows[] = {
      {7849, 0.0f, -0.0f, 0.0f},
      {32767, 1.0f, -1.0f, 1.0f},
      {-32768, -1.0f, 1.0f, -1.0f},
      {7848, 0.0f, 0.0f, 0.0f},
      {8689, 840.0f / 24918, -840.0f / 24918, 0.0f},
      {-7849, 0.0f, 0.0f, 0.0f},
      {20308, 0.5f, -0.5f, 11619.0f / 24078},
  };
  for (const Row& row : rows) {
    g_padState.Gamepad.sThumbLX = row.raw;
    g_padState.Gamepad.sThumbLY = row.raw;
    g_padState.Gamepad.sThumbRX = row.raw;
    Poll();
    EXPECT_FLOAT_EQ(row.left, dx.m_pad.leftX) << row.raw;
    EXPECT_NEAR(row.leftUp, dx.m_pad.leftY, 1e-6f) << row.raw;
    EXPECT_NEAR(row.right, dx.m_pad.rightX, 1e-6f) << row.raw;
  }
  struct Trigger {
    BYTE raw;
    float value;
  } triggers[] = {{0, 0.0f}, {29, 0.0f}, {30, 0.0f}, {255, 1.0f}, {142, 112.0f / 225}};
  for (const Trigger& row : triggers) {
    g_padState.Gamepad.bLeftTrigger = g_padState.Gamepad.bRightTrigger = row.raw;
    Poll();
    EXPECT_FLOAT_EQ(row.value, dx.m_pad.leftTrigger) << (int)row.raw;
    EXPECT_FLOAT_EQ(row.value, dx.m_pad.rightTrigger) << (int)row.raw;
  }
  dx.SetPadDeadZones(0.0f, 0.0f, 0.0f, 0.0f);
  g_padState.Gamepad.sThumbLX = 1;
  Poll();
  EXPECT_GT(dx.m_pad.leftX, 0.0f);
}

TEST_F(PadTest, XInputButtonsDirectionsEdgesAndDoublePresses) {
  g_padState.Gamepad.wButtons = XINPUT_GAMEPAD_B | XINPUT_GAMEPAD_RIGHT_SHOULDER |
                                XINPUT_GAMEPAD_START | XINPUT_GAMEPAD_DPAD_LEFT |
                                XINPUT_GAMEPAD_DPAD_DOWN;
  Poll();
  EXPECT_EQ(1, dx.m_pad.buttons[1]);
  EXPECT_EQ(1, dx.m_pad.buttons[5]);
  EXPECT_EQ(0, dx.m_pad.buttons[0]);
  EXPECT_TRUE(dx.IsButtonPressed(1));
  EXPECT_TRUE(dx.IsStartPressed());
  EXPECT_FALSE(dx.IsBackPressed());
  EXPECT_EQ(-1, dx.m_pad.x);
  EXPECT_EQ(1, dx.m_pad.y);
  EXPECT_TRUE(dx.IsPadLeftPressed());
  EXPECT_TRUE(dx.IsPadDownPressed());
  EXPECT_FALSE(dx.IsPadUpPressed());
  Poll();
  EXPECT_FALSE(dx.IsButtonPressed(1)) << "held: no new edge";
  EXPECT_FALSE(dx.IsPadLeftPressed());
  g_padState.Gamepad.wButtons = 0;
  g_padState.Gamepad.sThumbRY = 30000;  // up, on the right stick
  Poll();
  EXPECT_TRUE(dx.IsPadUpPressed());

  // A pressed at 0.2 s and 0.3 s intervals.
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
    EXPECT_EQ(dx.GetTime(), dx.m_pad.pressTimes[0]);
  }
  Poll(0.01f);
  EXPECT_EQ(0, dx.m_pad.doublePresses[0]) << "only in the frame of the press";

  g_padAnswer = ERROR_DEVICE_NOT_CONNECTED;
  Poll();
  EXPECT_EQ(0, dx.m_pad.buttons[0]);
  EXPECT_EQ(0.0f, dx.m_pad.pressTimes[0]);
  EXPECT_EQ(0.0f, dx.m_pad.rightY);
}

TEST_F(PadTest, DirectInputPadsMapByTheirAxisCount) {
  DIJOYSTATE2 state;
  memset(&state, 0, sizeof(state));
  state.lX = 6500;
  state.lY = -10000;
  state.lZ = 5500;
  state.lRx = -3000;
  state.lRy = 2999;
  state.lRz = 10000;
  for (int b : {0, 1, 4, 5}) state.rgbButtons[b] = 0x80;

  dx.m_padAxes = 4;
  dx.ReadDirectInputState(&state);
  EXPECT_FLOAT_EQ(0.5f, dx.m_pad.leftX);
  EXPECT_FLOAT_EQ(-1.0f, dx.m_pad.leftY);
  EXPECT_EQ(1.0f, dx.m_pad.leftTrigger) << "the fifth button";
  EXPECT_EQ(1.0f, dx.m_pad.rightTrigger) << "the sixth button";
  EXPECT_EQ(0, dx.m_pad.buttons[4]);
  EXPECT_EQ(0, dx.m_pad.buttons[5]);
  EXPECT_FLOAT_EQ(1.0f, dx.m_pad.rightX) << "Rz";
  EXPECT_FLOAT_EQ(2500.0f / 7000, dx.m_pad.rightY) << "Z";
  EXPECT_TRUE(dx.IsButtonPressed(0));

  dx.m_padAxes = 6;
  dx.ReadDirectInputState(&state);
  EXPECT_FLOAT_EQ(0.5f, dx.m_pad.leftTrigger);
  EXPECT_EQ(0.0f, dx.m_pad.rightTrigger);
  EXPECT_EQ(1, dx.m_pad.buttons[4]);
  EXPECT_EQ(0.0f, dx.m_pad.rightX) << "Rx at the dead zone";
  EXPECT_EQ(0.0f, dx.m_pad.rightY);
  state.lZ = -10000;
  dx.ReadDirectInputState(&state);
  EXPECT_EQ(1.0f, dx.m_pad.rightTrigger);

  SDx stick;
  stick.m_padAxes = 2;
  state.lX = -3001;
  state.lY = 3000;
  stick.ReadDirectInputState(&state);
  EXPECT_EQ(-1, stick.m_pad.x);
  EXPECT_EQ(0, stick.m_pad.y);
  EXPECT_EQ(1, stick.m_pad.buttons[0]);
  EXPECT_EQ(0, stick.m_pad.buttons[4]);
  EXPECT_EQ(0.0f, stick.m_pad.leftX);
  EXPECT_EQ(0.0f, stick.m_pad.leftTrigger);
  stick.m_padAxes = 1;
  state.lX = 5000;
  stick.ReadDirectInputState(&state);
  EXPECT_EQ(-1, stick.m_pad.x) << "fewer than two axes: nothing";
}

TEST_F(PadTest, RumbleKeepsAMotorOnRequestAndStopsAfterItsTime) {
  dx.SetRumble(0.0f, 0.3f, 0.0f);
  dx.SetRumble(0.5f, -1.0f, 2.0f);
  std::vector<std::pair<int, int>> expected = {{0, 19660}, {32767, 19660}};
  EXPECT_EQ(expected, g_motors);
  dx.SetRumble(0.5f, 0.3f, 2.0f);
  EXPECT_EQ(2u, g_motors.size()) << "the same strengths are not sent again";
  Poll(1.99f);
  EXPECT_EQ(2u, g_motors.size());
  Poll(0.02f);
  expected.push_back({0, 0});
  EXPECT_EQ(expected, g_motors);
  EXPECT_EQ(0.0f, dx.m_rumbleRight);

  dx.SetForceFeedback(false);
  g_motors.clear();
  dx.SetRumble(1.0f, 1.0f, 0.0f);
  EXPECT_TRUE(g_motors.empty()) << "force feedback off";
  dx.SetForceFeedback(true);
  dx.SetRumble(2.0f, 0.0f, 0.0f);
  Poll(100.0f);
  dx.StopRumble();
  expected = {{0, 0}, {65535, 0}, {0, 0}};
  EXPECT_EQ(expected, g_motors) << "no end without a duration";
  dx.m_xinput = false;
  dx.SetRumble(1.0f, 1.0f, 1.0f);
  EXPECT_EQ(3u, g_motors.size()) << "no rumble without XInput";
}

TEST(PadDeviceTest, NoPadHereIsFoundWithoutError) {
  SDx dx;
  dx.CreateInput();
  EXPECT_FALSE(dx.m_xinput);
  EXPECT_EQ(nullptr, dx.m_padDevice);
  dx.PollDirectInput();
  dx.PollXInput();
  EXPECT_EQ(0, dx.m_pad.buttons[0]);
  EXPECT_FALSE(SDx::IsXInputDevice(0x028E045E));
  dx.ReleaseInput();
  EXPECT_EQ(nullptr, dx.m_directInput);
}

}  // namespace

namespace {

float g_now = 0.0f;
float FakeClock() { return g_now; }

// The frame step polls the pad, steps the sounds and ends the key events.
TEST_F(InputSuite, FrameStepPollsThePadAndEndsTheKeyEvents) {
  SDx* dx = s_engine;
  g_engine = dx;
  dx->m_clock = FakeClock;
  SDx::s_xinputGetState = FakeGetState;
  memset(&g_padState, 0, sizeof(g_padState));
  g_padState.Gamepad.wButtons = XINPUT_GAMEPAD_X;
  g_padAnswer = ERROR_SUCCESS;
  dx->m_xinput = true;
  g_now = dx->m_lastFrameTime + 0.02f;
  Key(WM_KEYDOWN, 'Q');
  SDx::Frame();
  EXPECT_EQ(1, dx->m_pad.buttons[2]);
  EXPECT_TRUE(dx->IsButtonPressed(2));
  EXPECT_TRUE(dx->IsKeyDown('Q'));
  EXPECT_FALSE(dx->IsKeyPressed('Q'));
  dx->m_xinput = false;
  dx->ResetInput();
  SDx::s_xinputGetState = nullptr;
  dx->m_clock = GetTimeSeconds;
  g_engine = nullptr;
}

}  // namespace
