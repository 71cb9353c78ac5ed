// A small value object of the framework whose constructor fills its fields;
// the font and colour selector panel holds one.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

#include <stdint.h>

class STimer {
public:
  STimer();
  virtual ~STimer();

private:
  uint32_t m_words[9];
  uint32_t m_ones[2];
  uint32_t m_word;
  SString m_data;  // two runs of 168 digits 0 to 6
  uint32_t m_tail[2];
};
