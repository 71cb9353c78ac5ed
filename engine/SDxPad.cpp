#include "core/Platform.h"
#include "engine/SDx.h"

#include "core/Utility.h"

#include <math.h>
#include <string.h>
#include <xinput.h>

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

SDx::XInputGetStateProc SDx::s_xinputGetState = nullptr;
SDx::XInputSetStateProc SDx::s_xinputSetState = nullptr;

namespace {

const float kDoublePressInterval = 0.25f;
// DirectInput axes run from -10000 to 10000; a fixed dead zone of 3000.
const float kAxisDeadZone = 3000.0f;
const float kAxisSpan = 7000.0f;
const float kTriggerStart = 1000.0f;
const float kTriggerSpan = 9000.0f;
const LONG kStickThreshold = 3000;  // a two-axis stick's directions

// The XInput button bits of A, B, X, Y, left and right shoulder.
const WORD kButtonBits[SDxPadState::BUTTON_COUNT] = {XINPUT_GAMEPAD_A,
                                                     XINPUT_GAMEPAD_B,
                                                     XINPUT_GAMEPAD_X,
                                                     XINPUT_GAMEPAD_Y,
                                                     XINPUT_GAMEPAD_LEFT_SHOULDER,
                                                     XINPUT_GAMEPAD_RIGHT_SHOULDER};

// XInput 1.3 by ordinal (2 XInputGetState, 3 XInputSetState), unless a
// function is set in its place.
template <class Proc>
Proc XInputFunction(Proc replacement, int ordinal) {
  static HMODULE module = ::LoadLibraryA("xinput1_3.dll");
  if (replacement || !module) return replacement;
  return reinterpret_cast<Proc>((void*)::GetProcAddress(module, MAKEINTRESOURCEA(ordinal)));
}

void SetMotors(float left, float right) {
  SDx::XInputSetStateProc setState = XInputFunction(SDx::s_xinputSetState, 3);
  if (!setState) return;
  XINPUT_VIBRATION vibration;
  vibration.wLeftMotorSpeed = (WORD)(left * 65535.0f);
  vibration.wRightMotorSpeed = (WORD)(right * 65535.0f);
  setState(0, &vibration);
}

// A stick axis with its dead zone: the range is 32767 towards the raw
// maximum and 32768 towards the raw minimum; y is turned so that down is
// positive.
float StickValue(SHORT raw, float deadZone, bool turned) {
  float v = turned ? -(float)raw : (float)raw;
  if (fabsf(v) < deadZone) return 0.0f;
  float towardsMaximum = turned ? 32768.0f : 32767.0f;
  float towardsMinimum = turned ? 32767.0f : 32768.0f;
  return v > 0.0f ? (v - deadZone) / (towardsMaximum - deadZone)
                  : (v + deadZone) / (towardsMinimum - deadZone);
}

float TriggerValue(BYTE raw, float threshold) {
  return raw >= threshold ? ((float)raw - threshold) / (255.0f - threshold) : 0.0f;
}

float AxisValue(LONG raw) {
  float v = (float)raw;
  if (v >= kAxisDeadZone) return (v - kAxisDeadZone) / kAxisSpan;
  if (v <= -kAxisDeadZone) return (v + kAxisDeadZone) / kAxisSpan;
  return 0.0f;
}

int32_t Direction(LONG raw) { return raw < -kStickThreshold ? -1 : raw > kStickThreshold ? 1 : 0; }

uint8_t IsDown(BYTE button) { return (button & 0x80) ? 1 : 0; }

}  // namespace

void SDx::SetPadDeadZones(float leftStick, float rightStick, float leftTrigger,
                          float rightTrigger) {
  m_padDeadZones[0] = leftStick;
  m_padDeadZones[1] = rightStick;
  m_padDeadZones[2] = leftTrigger;
  m_padDeadZones[3] = rightTrigger;
}

void SDx::ResetPadState() {
  memset(&m_pad, 0, sizeof(m_pad));
  memset(&m_padPrevious, 0, sizeof(m_padPrevious));
}

void SDx::ResetInput() {
  ResetPadState();
  ResetKeyStates();
}

bool SDx::IsButtonPressed(int n) const {
  return n >= 0 && n < SDxPadState::BUTTON_COUNT && m_pad.buttons[n] && !m_padPrevious.buttons[n];
}
bool SDx::IsButtonReleased(int n) const {
  return n >= 0 && n < SDxPadState::BUTTON_COUNT && !m_pad.buttons[n] && m_padPrevious.buttons[n];
}
bool SDx::IsStartPressed() const { return m_pad.start && !m_padPrevious.start; }
bool SDx::IsBackPressed() const { return m_pad.back && !m_padPrevious.back; }
bool SDx::IsPadRightPressed() const { return m_pad.IsRight() && !m_padPrevious.IsRight(); }
bool SDx::IsPadLeftPressed() const { return m_pad.IsLeft() && !m_padPrevious.IsLeft(); }
bool SDx::IsPadUpPressed() const { return m_pad.IsUp() && !m_padPrevious.IsUp(); }
bool SDx::IsPadDownPressed() const { return m_pad.IsDown() && !m_padPrevious.IsDown(); }

// The press times of the buttons that went down in this frame, and whether
// each came soon after the one before.
static void UpdateDoublePresses(SDx* dx) {
  for (int n = 0; n < SDxPadState::BUTTON_COUNT; ++n) {
    if (!dx->IsButtonPressed(n)) {
      dx->m_pad.doublePresses[n] = 0;
      continue;
    }
    dx->m_pad.doublePresses[n] = dx->GetTimeSince(dx->m_pad.pressTimes[n]) < kDoublePressInterval;
    dx->m_pad.pressTimes[n] = dx->GetTime();
  }
}

void SDx::PollXInput() {
  m_padPrevious = m_pad;
  XInputGetStateProc getState = XInputFunction(s_xinputGetState, 2);
  XINPUT_STATE state;
  memset(&state, 0, sizeof(state));
  if (!getState || getState(0, &state) != ERROR_SUCCESS) {
    ResetPadState();
    return;
  }
  const XINPUT_GAMEPAD& pad = state.Gamepad;
  for (int n = 0; n < SDxPadState::BUTTON_COUNT; ++n)
    m_pad.buttons[n] = (pad.wButtons & kButtonBits[n]) ? 1 : 0;
  m_pad.start = (pad.wButtons & XINPUT_GAMEPAD_START) ? 1 : 0;
  m_pad.back = (pad.wButtons & XINPUT_GAMEPAD_BACK) ? 1 : 0;
  m_pad.x = (pad.wButtons & XINPUT_GAMEPAD_DPAD_LEFT)    ? -1
            : (pad.wButtons & XINPUT_GAMEPAD_DPAD_RIGHT) ? 1
                                                         : 0;
  m_pad.y = (pad.wButtons & XINPUT_GAMEPAD_DPAD_UP)     ? -1
            : (pad.wButtons & XINPUT_GAMEPAD_DPAD_DOWN) ? 1
                                                        : 0;
  m_pad.leftTrigger = TriggerValue(pad.bLeftTrigger, m_padDeadZones[2]);
  m_pad.rightTrigger = TriggerValue(pad.bRightTrigger, m_padDeadZones[3]);
  m_pad.leftX = StickValue(pad.sThumbLX, m_padDeadZones[0], false);
  m_pad.leftY = StickValue(pad.sThumbLY, m_padDeadZones[0], true);
  m_pad.rightX = StickValue(pad.sThumbRX, m_padDeadZones[1], false);
  m_pad.rightY = StickValue(pad.sThumbRY, m_padDeadZones[1], true);
  UpdateDoublePresses(this);
  if (m_rumbleStart != 0.0f && m_rumbleDuration > 0.0f &&
      GetTimeSince(m_rumbleStart) >= m_rumbleDuration) {
    SetRumble(0.0f, 0.0f, 0.0f);
  }
}

void SDx::ReadDirectInputState(const DIJOYSTATE2* state) {
  if (!state || m_padAxes < 2) return;
  m_padPrevious = m_pad;
  if (m_padAxes == 2) {
    // A simple stick: directions and two buttons.
    m_pad.buttons[0] = IsDown(state->rgbButtons[0]);
    m_pad.buttons[1] = IsDown(state->rgbButtons[1]);
    m_pad.x = Direction(state->lX);
    m_pad.y = Direction(state->lY);
  } else {
    for (int n = 0; n < SDxPadState::BUTTON_COUNT; ++n)
      m_pad.buttons[n] = IsDown(state->rgbButtons[n]);
    m_pad.leftX = AxisValue(state->lX);
    m_pad.leftY = AxisValue(state->lY);
    if (m_padAxes == 4) {
      // The fifth and sixth buttons are the triggers.
      m_pad.leftTrigger = m_pad.buttons[4] ? 1.0f : 0.0f;
      m_pad.rightTrigger = m_pad.buttons[5] ? 1.0f : 0.0f;
      m_pad.buttons[4] = m_pad.buttons[5] = 0;
      m_pad.rightX = AxisValue(state->lRz);
      m_pad.rightY = AxisValue(state->lZ);
    } else {
      // One Z axis for both triggers.
      float z = (float)state->lZ;
      m_pad.leftTrigger = z >= kTriggerStart ? (z - kTriggerStart) / kTriggerSpan : 0.0f;
      m_pad.rightTrigger = -z >= kTriggerStart ? (-z - kTriggerStart) / kTriggerSpan : 0.0f;
      m_pad.rightX = AxisValue(state->lRx);
      m_pad.rightY = AxisValue(state->lRy);
    }
  }
  UpdateDoublePresses(this);
}

void SDx::SetRumble(float left, float right, float seconds) {
  if (!m_xinput || !m_rumbleEnabled) return;
  left = left < 0.0f ? m_rumbleLeft : ClampFloat(left, 0.0f, 1.0f);
  right = right < 0.0f ? m_rumbleRight : ClampFloat(right, 0.0f, 1.0f);
  if (left > 0.0f || right > 0.0f) {
    m_rumbleStart = m_time;
    m_rumbleDuration = seconds;
    if (left == m_rumbleLeft && right == m_rumbleRight) return;
    m_rumbleLeft = left;
    m_rumbleRight = right;
    SetMotors(left, right);
  } else if (m_rumbleStart != 0.0f) {
    StopRumble();
  }
}

void SDx::StopRumble() {
  if (!m_xinput) return;
  m_rumbleStart = m_rumbleDuration = 0.0f;
  m_rumbleLeft = m_rumbleRight = 0.0f;
  SetMotors(0.0f, 0.0f);
}

void SDx::SetForceFeedback(bool on) {
  m_rumbleEnabled = on;
  StopRumble();
}
