// The engine's start-up settings, filled by the display-settings window and
// the application and copied whole into the engine by SDx::Create.
#pragma once

#include "core/Platform.h"

#include <stdint.h>

class SDxConfig {
public:
  enum { REGISTRY_KEY_SIZE = 64 };

  SDxConfig();
  virtual ~SDxConfig();

  // Copies the key path, cut to 63 characters; null gives the empty path.
  void SetRegistryKey(const char* key);

  int32_t width;          // back-buffer width
  int32_t height;         // back-buffer height
  float aspect;           // aspect ratio of the picture
  uint8_t fullScreen;     // a pop-up window over the largest display mode
  uint8_t optionByte1;    // the application's
  uint8_t frameLimit;     // skip a frame while less than 0.0167 s passed
  uint8_t input;          // create DirectInput and look for a game pad
  uint8_t forceFeedback;  // pad rumble allowed ("DxNoFFB")
  char registryKey[REGISTRY_KEY_SIZE];  // under HKEY_CURRENT_USER; empty: none
  uint8_t slowWarning;    // the render may show the slow-frame line
  uint8_t optionByte2;    // the application's
  uint8_t lighting;       // deferred lighting ("DxNoLighting")
  float brightness;       // in [-1, 1] ("DxBrightness")
  uint8_t audio;          // sound effects ("DxNoAudio")
  uint8_t music;          // music ("DxNoMusic")
  float musicVolume;      // in [0, 1] ("DxMusicVolume")
};
