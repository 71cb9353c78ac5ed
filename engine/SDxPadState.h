// The game pad as the game sees it, whatever the device: directions,
// buttons with their press times and double presses, triggers and sticks.
// The engine keeps the current and the previous frame's record.
#pragma once

#include "core/Platform.h"

#include <stdint.h>

struct SDxPadState {
  enum { BUTTON_COUNT = 6 };  // A, B, X, Y, left shoulder, right shoulder

  int32_t x;  // -1 left, 0, +1 right (d-pad, or a two-axis stick)
  int32_t y;  // -1 up, 0, +1 down
  uint8_t buttons[BUTTON_COUNT];
  float pressTimes[BUTTON_COUNT];  // game clock of the last press
  uint8_t doublePresses[BUTTON_COUNT];
  uint8_t start;
  uint8_t back;
  float leftTrigger, rightTrigger;  // 0 .. 1
  // -1 .. 1; y grows downwards, like the d-pad.
  float leftX, leftY, rightX, rightY;

  bool IsRight() const { return x > 0 || leftX > 0.0f || rightX > 0.0f; }
  bool IsLeft() const { return x < 0 || leftX < 0.0f || rightX < 0.0f; }
  bool IsDown() const { return y > 0 || leftY > 0.0f || rightY > 0.0f; }
  bool IsUp() const { return y < 0 || leftY < 0.0f || rightY < 0.0f; }
};
