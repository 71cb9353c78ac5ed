// Drawing of the wave editor: the back buffer of waveforms, the selection and
// caret over it, the progress bar of an edit, and the mouse selection loop.
#include "core/Platform.h"
#include "editors/SWaveEditor.h"

#include "core/SFilePath.h"
#include "core/Utility.h"
#include "window/SCursor.h"

#include <vector>

namespace {

const int kProgressHeight = 16;
const int kProgressMinWidth = 40;
// Frames of the waveform read at a time, before rounding to the point step.
const uint32_t kDrawBlock = 100000;

RECT ClientRect(HWND hWnd) {
  RECT client = {0, 0, 0, 0};
  if (hWnd) ::GetClientRect(hWnd, &client);
  return client;
}

// A bitmap of the window's size compatible with its DC.
HBITMAP MakeBitmap(HWND hWnd, int width, int height) {
  HDC dc = ::GetDC(hWnd);
  HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width > 0 ? width : 1, height > 0 ? height : 1);
  ::ReleaseDC(hWnd, dc);
  return bitmap;
}

// Runs draw(dc) on a memory DC holding the bitmap.
template <class Draw>
void DrawInto(HBITMAP bitmap, Draw draw) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  draw(dc);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
}

void VerticalLine(HDC dc, HPEN pen, int x, int top, int bottom) {
  HGDIOBJ old = ::SelectObject(dc, pen);
  ::MoveToEx(dc, x, top, nullptr);
  ::LineTo(dc, x, bottom);
  ::SelectObject(dc, old);
}

}  // namespace

RECT SWaveEditor::GetFocusRect() {
  RECT rect = ClientRect(m_hWnd);
  int channels = m_wave.GetChannels();
  if (m_focusChannel >= 0 && channels > 0) {
    int h = rect.bottom / channels;
    rect.top = m_focusChannel * h;
    rect.bottom = rect.top + h;
  }
  return rect;
}

void SWaveEditor::Redraw() {
  if (!m_hWnd) return;
  RECT client = ClientRect(m_hWnd);
  if (m_backBuffer) ::DeleteObject(m_backBuffer);
  m_backBuffer = MakeBitmap(m_hWnd, client.right, client.bottom);
  if (!m_backBuffer) return;
  DrawInto(m_backBuffer, [&](HDC dc) {
    ::FillRect(dc, &client, m_backEnabledBrush);
    if (!m_wave.IsLoaded()) return;
    int channels = m_wave.GetChannels();
    int h = client.bottom / channels;
    for (int c = 0; c < channels; ++c) {
      RECT strip = {client.left, c * h, client.right, c * h + h};
      if (m_focusChannel >= 0 && c != m_focusChannel) ::FillRect(dc, &strip, m_backDisabledBrush);
      DrawChannel(dc, c, strip);
    }
  });
}

void SWaveEditor::DrawChannel(HDC dc, int channel, const RECT& strip) {
  int width = strip.right - strip.left, height = strip.bottom - strip.top;
  int mid = (strip.top + strip.bottom) / 2;
  HGDIOBJ old = ::SelectObject(dc, m_linePen);
  ::MoveToEx(dc, strip.left, mid, nullptr);
  ::LineTo(dc, strip.right, mid);

  // About ten points per pixel column; a sound under a second counts as one.
  uint32_t frames = m_wave.GetFrames();
  int rate = m_wave.GetRate();
  int64_t duration = rate > 0 ? int64_t(frames) * 1000 / rate : 0;
  int64_t seconds = duration / 1000 > 0 ? duration / 1000 : 1;
  int64_t k = int64_t(width) * 10 / seconds;
  if (k < 1) k = 1;
  uint32_t step = uint32_t(rate / k > 1 ? rate / k : 1);

  ::SelectObject(dc, m_muted.Find(channel) >= 0 ? m_waveDisabledPen : m_waveEnabledPen);
  ::MoveToEx(dc, 0, mid, nullptr);
  int align = m_wave.GetBlockAlign();
  uint32_t dataSize = m_wave.m_dataSize;
  if (frames > 0 && align > 0 && dataSize > 0) {
    uint32_t block = (step - kDrawBlock % step) + kDrawBlock;
    std::vector<uint8_t> bytes(size_t(block) * align);
    double full = double(int64_t(1) << m_wave.GetBits());
    for (uint32_t first = 0; first < frames; first += block) {
      uint32_t n = frames - first < block ? frames - first : block;
      int offset = int(int64_t(first) * align);
      if (m_wave.m_data->Seek(offset) != offset ||
          m_wave.m_data->ReadData(bytes.data(), int(n) * align) != int(n) * align)
        break;
      for (uint32_t f = 0; f < n; f += step) {
        double v = double(m_wave.GetSample(channel, bytes.data(), f));
        double byteOffset = double(int64_t(first + f) * align);
        int x = int(byteOffset / dataSize * width);
        int y = int(strip.top + (v / full + 0.5) * height);
        ::LineTo(dc, x, y);
      }
    }
  }
  ::SelectObject(dc, old);
}

void SWaveEditor::Paint(HDC dc) {
  RECT client = ClientRect(m_hWnd);
  if (!m_wave.IsLoaded() || !m_backBuffer) {
    ::FillRect(dc, &client, m_backEnabledBrush);
    return;
  }
  DrawInto(m_backBuffer, [&](HDC source) {
    ::BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
  });
  RECT band = GetFocusRect();
  if (m_selectionLength == 0)
    VerticalLine(dc, m_caretPen, XFromFrame(m_selectionStart), band.top, band.bottom);
  band.left = XFromFrame(m_selectionStart);
  band.right = XFromFrame(m_selectionStart + m_selectionLength);
  ::InvertRect(dc, &band);
  if (m_wave.IsPlaying() || m_wave.m_paused) {
    int x = XFromFrame(m_wave.GetPlayPosition());
    VerticalLine(dc, m_caretPlayPen, x, client.top, client.bottom);
  }
}

void SWaveEditor::TrackMouseSelection() {
  SetFocus();
  RECT client = ClientRect(m_hWnd);
  auto frameUnderCursor = [&]() {
    POINT point = {0, 0};
    GetCursorPos(&point);
    int x = point.x < 0 ? 0 : (point.x > client.right ? client.right : point.x);
    return FrameFromX(x);
  };
  uint32_t anchor = frameUnderCursor(), last = anchor;
  SetSelection(anchor, 0);
  RedrawWindow();
  auto select = [&](uint32_t frame) {
    SetSelection(anchor < frame ? anchor : frame, anchor < frame ? frame - anchor : anchor - frame);
  };
  while (IsKeyDown(VK_LBUTTON)) {
    uint32_t frame = frameUnderCursor();
    if (frame != last) {
      last = frame;
      select(frame);
    }
    RedrawWindow();
    DWORD start = timeGetTime();
    while (timeGetTime() - start < 10) {
    }
  }
  select(frameUnderCursor());
}

void SWaveEditor::BeginProgress() {
  if (m_progressSnapshot) ::DeleteObject(m_progressSnapshot);
  RECT client = ClientRect(m_hWnd);
  m_progressSnapshot = m_hWnd ? MakeBitmap(m_hWnd, client.right, client.bottom) : nullptr;
  if (m_progressSnapshot) DrawInto(m_progressSnapshot, [&](HDC dc) { Paint(dc); });
  m_progressTotal = m_wave.GetFrames();
  DrawProgress(0);
  SetCursor(GetFrameworkCursor(CURSOR_WAIT));
}

void SWaveEditor::DrawProgress(int percent) {
  if (!m_hWnd || !m_progressSnapshot || !m_backBuffer) return;
  RECT client = ClientRect(m_hWnd);
  RECT bar = GetFocusRect();
  bar.top = bar.bottom - kProgressHeight;
  bar.left = client.left;
  bar.right = client.right;
  if (m_selectionLength > 0) {
    int left = XFromFrame(m_selectionStart, m_progressTotal);
    int right = XFromFrame(m_selectionStart + m_selectionLength, m_progressTotal);
    if (left >= 0 && right - left >= kProgressMinWidth) {
      bar.left = left;
      bar.right = right;
    }
  }
  DrawInto(m_backBuffer, [&](HDC dc) {
    DrawInto(m_progressSnapshot, [&](HDC source) {
      ::BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    });
    FillGradient(dc, bar, m_progressStart, m_progressEnd, false);
    RECT rest = bar;
    rest.left = bar.left + int(int64_t(bar.right - bar.left) * percent / 100);
    if (rest.left < rest.right) ::FillRect(dc, &rest, m_progressBackBrush);
    ::DrawEdge(dc, &bar, EDGE_SUNKEN, BF_RECT);
    HDC window = ::GetDC(m_hWnd);
    ::BitBlt(window, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(m_hWnd, window);
  });
}

void SWaveEditor::EndProgress() {
  if (m_progressSnapshot) ::DeleteObject(m_progressSnapshot);
  m_progressSnapshot = nullptr;
  if (m_cursor) {
    SetCursor(nullptr);
    POINT point;
    if (::GetCursorPos(&point)) ::SetCursorPos(point.x, point.y);
  }
}
