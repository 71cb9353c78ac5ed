#include "core/Platform.h"
#include "engine/SDxConfig.h"

SDxConfig::SDxConfig()
    : width(800),
      height(450),
      aspect(16.0f / 9.0f),
      fullScreen(0),
      optionByte1(1),
      frameLimit(1),
      input(1),
      forceFeedback(1),
      slowWarning(1),
      optionByte2(0),
      lighting(1),
      brightness(0.0f),
      audio(1),
      music(1),
      musicVolume(1.0f) {
  registryKey[0] = 0;
}

SDxConfig::~SDxConfig() {}

void SDxConfig::SetRegistryKey(const char* key) {
  if (!key) key = "";
  size_t n = strlen(key);
  if (n > REGISTRY_KEY_SIZE - 1) n = REGISTRY_KEY_SIZE - 1;
  memcpy(registryKey, key, n);
  registryKey[n] = 0;
}
