// SLevelCtrl: channels, falling levels, peaks and painting.
#include "core/Platform.h"
#include "window/SLevelCtrl.h"

#include "core/Utility.h"
#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

const COLORREF kBack = 0x00205C20, kLow = 0x0080FF80, kHigh = 0x000000FF;
const double kFallRate = 0.0005;
const DWORD kHoldTime = 500;
const UINT_PTR kTimer = 1;
const UINT kTimerPeriod = 10;
const int kMaxChannels = 1024;

unsigned long long Peak(DWORD time, int value) {
  return (static_cast<unsigned long long>(static_cast<uint32_t>(value)) << 32) | time;
}
int PeakValue(unsigned long long peak) {
  return static_cast<int>(static_cast<uint32_t>(peak >> 32));
}
DWORD PeakTime(unsigned long long peak) { return static_cast<DWORD>(peak); }

const SControlKind kLevelKind = {ControlKinds::KIND_LEVEL};
const bool kLevelKindRegistered = RegisterControlKind(&kLevelKind);

}  // namespace

SLevelCtrl::SLevelCtrl()
    : m_backBrush(nullptr),
      m_lowBrush(nullptr),
      m_lastPaint(0),
      m_frameTime(0),
      m_clock(::timeGetTime) {
  m_kind = ControlKinds::KIND_LEVEL;
  Reset();
}

SLevelCtrl::~SLevelCtrl() {
  if (m_backBrush) ::DeleteObject(m_backBrush);
  if (m_lowBrush) ::DeleteObject(m_lowBrush);
  m_backBrush = m_lowBrush = nullptr;
}

void SLevelCtrl::Reset() {
  m_vertical = false;
  m_tick = true;
  m_backColorLevel = kBack;
  m_lowColor = kLow;
  m_highColor = kHigh;
  RebuildBrushes();
  m_minimum = 0;
  m_maximum = 1000;
  SetValue(-1, 0, false);
  if (m_hWnd) Redraw();
  m_fallRate = kFallRate;
  m_holdTime = kHoldTime;
  SetChannelCount(1);
}

void SLevelCtrl::RebuildBrushes() {
  if (m_backBrush) ::DeleteObject(m_backBrush);
  if (m_lowBrush) ::DeleteObject(m_lowBrush);
  m_backBrush = ::CreateSolidBrush(m_backColorLevel);
  m_lowBrush = ::CreateSolidBrush(m_lowColor);
}

void SLevelCtrl::SetColors(COLORREF back, COLORREF low, COLORREF high) {
  if (back != SImage::COLOR_NONE) m_backColorLevel = back;
  if (low != SImage::COLOR_NONE) m_lowColor = low;
  if (high != SImage::COLOR_NONE) m_highColor = high;
  RebuildBrushes();
}

void SLevelCtrl::SetRange(int minimum, int maximum) {
  m_minimum = minimum;
  m_maximum = maximum;
  SetValue(-1, 0, false);
  if (m_hWnd) Redraw();
}

void SLevelCtrl::SetChannelCount(int count) {
  if (count < 1) count = 1;
  if (count > kMaxChannels) count = kMaxChannels;
  m_values.RemoveAll();
  m_levels.RemoveAll();
  m_peaks.RemoveAll();
  for (int i = 0; i < count; ++i) {
    m_values.Add(0);
    m_levels.Add(0.0);
    m_peaks.Add(0);
  }
  if (m_hWnd) Redraw();
}

void SLevelCtrl::SetValue(int channel, int value, bool redraw) {
  if (channel >= m_values.GetCount()) return;
  DWORD now = m_clock();
  for (int i = 0; i < m_values.GetCount(); ++i) {
    if (channel >= 0 && i != channel) continue;
    m_values[i] = value;
    if (m_levels[i] < value) m_levels[i] = value;
    if (m_tick && (m_peaks[i] == 0 || PeakValue(m_peaks[i]) <= value))
      m_peaks[i] = Peak(now, value);
  }
  if (redraw && m_hWnd) Redraw();
}

double SLevelCtrl::Fraction(double value) const {
  if (m_maximum <= m_minimum) return 0.0;
  double f = (value - m_minimum) / (double(m_maximum) - double(m_minimum));
  return f < 0.0 ? 0.0 : f > 1.0 ? 1.0 : f;
}

void SLevelCtrl::Paint(HDC dc) {
  if (!m_hWnd || !dc) return;
  DWORD now = m_clock();
  m_frameTime = now - m_lastPaint;
  m_lastPaint = now;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;

  // The ramp: half the low colour, half a gradient to the high colour.
  if (m_vertical) {
    RECT low = {0, height / 2, width, height}, ramp = {0, 0, width, height / 2};
    ::FillRect(dc, &low, m_lowBrush);
    FillGradient(dc, ramp, m_highColor, m_lowColor, true);
  } else {
    RECT low = {0, 0, width / 2, height}, ramp = {width / 2, 0, width, height};
    ::FillRect(dc, &low, m_lowBrush);
    FillGradient(dc, ramp, m_lowColor, m_highColor, false);
  }

  int count = m_values.GetCount();
  int length = m_vertical ? width : height;
  int start = 0;
  bool range = m_maximum > m_minimum;
  double span = double(m_maximum) - double(m_minimum);
  for (int i = 0; i < count; ++i) {
    int size = length / count + (i < length % count ? 1 : 0);
    double& level = m_levels[i];
    if (!range) {
      level = m_values[i];
    } else if (m_values[i] < level) {
      level = ((level - m_minimum) / span - double(m_frameTime) * m_fallRate) * span + m_minimum;
      if (level < m_values[i]) level = m_values[i];
    }
    double f = Fraction(level);
    RECT cover;
    if (m_vertical) {
      cover = {start, 0, start + size, int((1.0 - f) * height)};
    } else {
      cover = {width - int((1.0 - f) * width), start, width, start + size};
    }
    ::FillRect(dc, &cover, m_backBrush);

    if (m_tick && m_peaks[i] != 0) {
      if (now - PeakTime(m_peaks[i]) > m_holdTime) {
        m_peaks[i] = 0;
      } else if (range) {
        double p = Fraction(PeakValue(m_peaks[i]));
        RECT line;
        if (m_vertical) {
          int y = int((1.0 - p) * height);
          if (y >= height) y = height - 1;
          line = {start, y, start + size, y + 1};
        } else {
          int x = int(p * width);
          if (x >= width) x = width - 1;
          line = {x, start, x + 1, start + size};
        }
        ::FillRect(dc, &line, m_lowBrush);
      }
    }
    if (i > 0) {
      RECT separator =
          m_vertical ? RECT{start, 0, start + 1, height} : RECT{0, start, width, start + 1};
      ::FillRect(dc, &separator, m_backBrush);
    }
    start += size;
  }
}

LRESULT SLevelCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
  switch (message) {
    case SWM_AFTERCREATE:
      m_lastPaint = m_clock();
      if (m_hWnd) ::SetTimer(m_hWnd, kTimer, kTimerPeriod, nullptr);
      break;
    case WM_TIMER:
      if (wParam == kTimer) Redraw();
      break;
    default:
      if (!ForwardMouse(this, SWM_LEVELMOUSE, message, lParam)) return 0;
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
