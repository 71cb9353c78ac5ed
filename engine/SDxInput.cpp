#include "core/Platform.h"
#include "engine/SDx.h"
#include "engine/SDxText.h"

#include "core/Utility.h"

#include <math.h>

namespace {

const float kOptionStep = 0.01f;  // brightness and music volume per key press
const float kOverlaySeconds = 3.0f;

// What an option key does to the live settings.
enum {
  OPTION_LIGHTING,
  OPTION_DARKER,
  OPTION_BRIGHTER,
  OPTION_AUDIO,
  OPTION_MUSIC,
  OPTION_QUIETER,
  OPTION_LOUDER,
  OPTION_FORCE_FEEDBACK,
};

struct OptionKey {
  int key;
  int action;
  int index;  // the setting's index for OnSettingChanged and its overlay line
};

const OptionKey kOptionKeys[] = {
    {VK_F1, OPTION_LIGHTING, 0}, {VK_F3, OPTION_DARKER, 1},         {VK_F4, OPTION_BRIGHTER, 1},
    {VK_F5, OPTION_AUDIO, 2},    {VK_F6, OPTION_MUSIC, 3},          {VK_F7, OPTION_QUIETER, 4},
    {VK_F8, OPTION_LOUDER, 4},   {VK_F9, OPTION_FORCE_FEEDBACK, 5},
};

// The overlay line of each setting: a switch shows ON or OFF, a level its
// value out of 100.
struct OptionLine {
  const char* label;
  bool level;
};

const OptionLine kOptionLines[] = {
    {"LIGHTING: ", false}, {"BRIGHTNESS: ", true},   {"AUDIO: ", false},
    {"MUSIC: ", false},    {"MUSIC VOLUME: ", true}, {"FORCE FEEDBACK: ", false},
};

// The mouse buttons' messages and the virtual keys they stand for.
struct ButtonMessage {
  UINT down, up;
  int key;
};

const ButtonMessage kButtonMessages[] = {
    {WM_LBUTTONDOWN, WM_LBUTTONUP, VK_LBUTTON},
    {WM_RBUTTONDOWN, WM_RBUTTONUP, VK_RBUTTON},
    {WM_MBUTTONDOWN, WM_MBUTTONUP, VK_MBUTTON},
};

}  // namespace

bool SDx::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_created) return false;
  int key = -1;
  bool down = false;
  if (message == WM_KEYDOWN || message == WM_KEYUP) {
    key = (int)(wParam & 0xFF);
    down = message == WM_KEYDOWN;
  }
  for (const ButtonMessage& button : kButtonMessages) {
    if (message == button.down || message == button.up) {
      key = button.key;
      down = message == button.down;
    }
  }
  if (key >= 0 && down) {
    m_keyPressTimes[key] = m_time;
    // A key message that says the key was down already is an auto-repeat,
    // also for a key held while the key states were reset (a mode that
    // loads quickly must not take the held key of the previous one for a
    // new press).
    bool repeat = m_keyDown[key] || (message == WM_KEYDOWN && (lParam & 0x40000000) != 0);
    // An auto-repeat before the next frame does not hide the first press
    // (a slow frame would otherwise lose it).
    if (!(m_keyDown[key] && m_keyEvents[key] == 1)) m_keyEvents[key] = repeat ? 2 : 1;
    m_keyDown[key] = 1;
  } else if (key >= 0) {
    m_keyEvents[key] = 1;
    m_keyDown[key] = 0;
  }
  if (message == WM_SIZE) OnSize();
  if (message != WM_KEYDOWN) return true;

  for (const OptionKey& option : kOptionKeys) {
    if (option.key != key) continue;
    switch (option.action) {
      case OPTION_LIGHTING:
        m_config.lighting = !m_config.lighting;
        m_lighting = m_config.lighting != 0;
        break;
      case OPTION_DARKER:
      case OPTION_BRIGHTER: {
        float step = option.action == OPTION_DARKER ? -kOptionStep : kOptionStep;
        m_config.brightness = ClampFloat(m_config.brightness + step, -1.0f, 1.0f);
        SetBrightness(m_brightness);
        break;
      }
      case OPTION_AUDIO:
        m_config.audio = !m_config.audio;
        StopAllSounds(nullptr, 0.0f);
        m_soundOn = m_config.audio != 0;
        break;
      case OPTION_MUSIC:
        m_config.music = !m_config.music;
        break;
      case OPTION_QUIETER:
      case OPTION_LOUDER: {
        float step = option.action == OPTION_QUIETER ? -kOptionStep : kOptionStep;
        m_config.musicVolume = ClampFloat(m_config.musicVolume + step, 0.0f, 1.0f);
        break;
      }
      case OPTION_FORCE_FEEDBACK:
        m_config.forceFeedback = !m_config.forceFeedback;
        SetForceFeedback(m_config.forceFeedback != 0);
        break;
    }
    OnSettingChanged(&m_config, option.index);
    ShowOverlayText(FormatOptionLine(option.index).GetText(), kOverlaySeconds);
    break;
  }
  return true;
}

SString SDx::FormatOptionLine(int index) const {
  if (index < 0 || index >= (int)(sizeof(kOptionLines) / sizeof(kOptionLines[0]))) return SString();
  const uint8_t switches[] = {m_config.lighting, 0, m_config.audio,
                              m_config.music,    0, m_config.forceFeedback};
  SString line(kOptionLines[index].label);
  if (!kOptionLines[index].level) return line + (switches[index] ? "ON" : "OFF");
  // Brightness -1 .. 1 and volume 0 .. 1 both show as 0 .. 100.
  float value = index == 1 ? 50.0f * m_config.brightness + 50.0f : 100.0f * m_config.musicVolume;
  return line + SString::FromDouble(RoundToNearest(value)) + "/100";
}

void SDx::ShowOverlayText(const char* text, float seconds) {
  m_overlayLine.Set(text ? text : "");
  if (!m_overlayText) return;
  m_overlayText->SetText(m_overlayLine.GetText(), false);
  if (seconds <= 0.0f) return;
  m_overlayText->SetAlpha(255);
  m_overlayText->m_fading = false;
  m_overlayText->SetDisplayTimer(seconds, 0.0f);
  m_overlayText->SetActive(true);
}
