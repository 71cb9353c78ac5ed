#include "core/Platform.h"
#include "core/STimer.h"

namespace {

const char kDigitRun[] =
    "012345601234560123456012345601234560123456012345601234560123456012345601234560123456"
    "012345601234560123456012345601234560123456012345601234560123456012345601234560123456";
static_assert(sizeof(kDigitRun) == 169, "a run holds 168 digits");

}  // namespace

STimer::STimer() : m_word(0) {
  for (uint32_t& w : m_words) w = 0;
  m_ones[0] = m_ones[1] = 1;
  m_tail[0] = m_tail[1] = 0;
  m_data = kDigitRun;
  m_data += kDigitRun;
}

STimer::~STimer() {}
