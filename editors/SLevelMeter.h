// What a sound needs of a level meter: a display of one value per channel
// within a range. A level meter control implements it next to its SWnd base;
// the wave editor finds it there when the dialog links the two.
#pragma once

class SLevelMeter {
public:
  virtual ~SLevelMeter() {}
  // Resizes the per-channel values to count channels (at least 1).
  virtual void SetChannelCount(int count) = 0;
  // Sets one channel's value (-1: every channel).
  virtual void SetValue(int channel, int value) = 0;
  // The value range.
  virtual int GetMinimum() const = 0;
  virtual int GetMaximum() const = 0;
};
