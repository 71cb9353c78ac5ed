// A multi-channel level meter: one bar per channel over a colour ramp from
// the low to the high colour. A level that drops falls back smoothly (a full
// range in 2 seconds) and the highest value shows as a peak line for 500 ms.
// Horizontal bars grow to the right, channels stacked downwards; vertical
// bars grow upwards, channels side by side. A 10 ms timer redraws it. Mouse
// button events reach the parent as SWM_LEVELMOUSE records.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "window/SWnd.h"

#include <stdint.h>

class SLevelCtrl : public SWnd {
public:
  SLevelCtrl();
  ~SLevelCtrl() override;

  // Flags, colours, range, one channel at 0, fall rate and hold time to
  // their defaults; redraws.
  void Reset();
  // 0xFF000000 leaves a colour as it is.
  void SetColors(COLORREF back, COLORREF low, COLORREF high);
  // Every value becomes 0; a range whose maximum is not above its minimum
  // is empty and shows no level.
  void SetRange(int minimum, int maximum);
  // 1 to 1024; every channel starts at 0 without a peak.
  void SetChannelCount(int count);
  int GetChannelCount() const { return m_values.GetCount(); }
  // A negative channel sets every channel; a channel at or beyond the count
  // is ignored.
  void SetValue(int channel, int value, bool redraw);

  // Paints the ramp, the covered parts, peaks and separators into the DC;
  // the levels fall by the time since the last paint.
  void Paint(HDC dc);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  bool m_vertical;
  bool m_tick;
  COLORREF m_backColorLevel, m_lowColor, m_highColor;
  HBRUSH m_backBrush, m_lowBrush;
  int m_minimum, m_maximum;
  SArray<int> m_values;
  SArray<double> m_levels;             // falling levels
  SArray<unsigned long long> m_peaks;  // high 32 bits the value, low 32 the time; 0 none
  double m_fallRate;                   // part of the range per millisecond
  DWORD m_holdTime;                    // milliseconds
  DWORD m_lastPaint, m_frameTime;
  DWORD(WINAPI* m_clock)();  // the millisecond clock; timeGetTime

private:
  void RebuildBrushes();
  // The part of the range the value fills, 0 to 1; 0 for an empty range.
  double Fraction(double value) const;
};
