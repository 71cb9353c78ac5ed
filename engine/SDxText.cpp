#include "core/Platform.h"
#include "engine/SDxText.h"

#include "core/Utility.h"
#include "engine/SDx.h"

#include <math.h>

SDxText::SDxText(SDx* engine, SDxLayer* layer)
    : SDxLayerItem(engine, layer, KIND_TEXT),
      m_sprite(m_engine ? m_engine->m_sprite : nullptr),
      m_font(nullptr) {
  Reset();
}

SDxText::~SDxText() { ReleaseFont(); }

void SDxText::ReleaseFont() {
  ForgetLines();
  if (m_font) m_font->Release();
  m_font = nullptr;
}

void SDxText::Reset() {
  ReleaseFont();
  m_active = true;
  m_face.Set("");
  m_text.Set("");
  m_size = 0.0f;
  m_style = 0;
  m_color = 0xFFFFFFFF;
  m_shadowColor = 0xFF000000;
  m_format = 0;
  m_left = m_top = 0.0f;
  m_right = m_bottom = 1.0f;
  ::SetRectEmpty(&m_pixels);
  m_shadow = true;
  m_shadowScale = 1.0f;
  m_shadowOffset = 0;
  m_blinkPeriod = m_blinkHidden = 0;
  Refresh();
  m_fading = false;
  m_fadeStart = m_fadeDuration = 0.0f;
  m_hideAtEnd = false;
  m_fadeFrom = m_fadeTo = 0;
  m_fadeRepeats = m_fadeRepeatsDone = 0;
  m_displayDuration = -1.0f;
  m_displayFade = m_displayStart = 0.0f;
  m_alpha = 255;
}

bool SDxText::CreateFont(const char* face, float size, int style) {
  ReleaseFont();
  m_face.Set(face ? face : "");
  m_size = size < 0.0f || !m_engine ? 0.0f : size / m_engine->m_scaleY;
  m_style = style;
  ID3DXFont* font = nullptr;
  if (m_engine && m_device) {
    LOGFONTA logFont;
    FillLogFont(&logFont, m_face.GetText(), (int)(m_size * m_engine->m_config.height), style);
    if (FAILED(D3DXCreateFontA(m_device, abs(logFont.lfHeight), logFont.lfWidth,
                               logFont.lfWeight, 0, logFont.lfItalic, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               m_face.GetText(), &font))) {
      font = nullptr;
    }
  }
  if (!font) {
    Reset();
    return false;
  }
  m_font = font;
  m_font->PreloadTextA(m_text.GetText(), m_text.GetLength());
  Refresh();
  return true;
}

void SDxText::SetText(const char* text, bool onlyIfDifferent) {
  if (!text) text = "";
  if (onlyIfDifferent && strcmp(text, m_text.GetText()) == 0) return;
  m_text.Set(text);
  if (!m_font) return;
  m_font->PreloadTextA(m_text.GetText(), m_text.GetLength());
  Refresh();
}

void SDxText::SetRect(float left, float top, float right, float bottom) {
  float sx = m_engine ? m_engine->m_scaleX : 100.0f, sy = m_engine ? m_engine->m_scaleY : 100.0f;
  m_left = left / sx;
  m_top = top / sy;
  m_right = right / sx;
  m_bottom = bottom / sy;
  Refresh();
}

void SDxText::SetAlpha(int alpha) {
  m_alpha = alpha;
  m_color = (m_color & 0x00FFFFFF) | ((D3DCOLOR)(alpha & 0xFF) << 24);
  m_shadowColor = (m_shadowColor & 0x00FFFFFF) | ((D3DCOLOR)(alpha & 0xFF) << 24);
}

void SDxText::SetColors(D3DCOLOR text, D3DCOLOR shadow) {
  m_color = text;
  m_shadowColor = shadow;
  Refresh();
}

void SDxText::SetFormat(DWORD format) {
  m_format = format;
  Refresh();
}

bool SDxText::FadeOut(int from, float duration) {
  if (duration <= 0.0f) return false;
  if (from == -1) from = m_alpha;
  if (from == 0) return false;
  m_fadeFrom = from;
  m_fadeTo = 0;
  m_fadeRepeats = m_fadeRepeatsDone = 0;
  m_fadeStart = m_engine ? m_engine->GetTime() : 0.0f;
  m_fadeDuration = duration;
  m_hideAtEnd = true;
  m_fading = true;
  m_active = true;
  return true;
}

void SDxText::SetDisplayTimer(float seconds, float fadeSeconds) {
  m_displayDuration = seconds;
  m_displayFade = fadeSeconds;
  m_displayStart = m_engine ? m_engine->GetTime() : 0.0f;
  m_active = true;
}

void SDxText::SetBlink(int period, int hiddenTime) {
  m_blinkPeriod = period;
  m_blinkHidden = hiddenTime;
}

void SDxText::Refresh() {
  if (!m_font || !m_engine) return;
  float width = (float)m_engine->m_backBufferWidth, height = (float)m_engine->m_backBufferHeight;
  m_pixels.left = (LONG)(m_left * width);
  m_pixels.top = (LONG)(m_top * height);
  m_pixels.right = (LONG)(m_right * width);
  m_pixels.bottom = (LONG)(m_bottom * height);
  if (m_shadow) m_shadowOffset = (int)ceilf(m_shadowScale / 1000.0f * height);
}

bool SDxText::IsBlinkHidden(float time) const {
  // A period of 0 never blinks (and never divides by zero).
  if (m_blinkHidden <= 0 || m_blinkPeriod <= 0) return false;
  return (int)(time * 100.0f) % m_blinkPeriod < m_blinkHidden;
}

void SDxText::UpdateFade() {
  float elapsed = m_engine ? m_engine->GetTime() - m_fadeStart : m_fadeDuration;
  float progress = elapsed / m_fadeDuration;
  if (progress > 1.0f) progress = 1.0f;
  SetAlpha(m_fadeFrom + (int)((float)(m_fadeTo - m_fadeFrom) * progress));
  if (m_alpha != m_fadeTo) return;
  if (m_fadeRepeats == -1 || m_fadeRepeatsDone < m_fadeRepeats) {
    ++m_fadeRepeatsDone;
    int swap = m_fadeFrom;
    m_fadeFrom = m_fadeTo;
    m_fadeTo = swap;
    m_fadeStart = m_engine ? m_engine->GetTime() : 0.0f;
    return;
  }
  m_fading = false;
  if (m_hideAtEnd) m_active = false;
}

void SDxText::Draw() {
  if (!m_font || !m_active || !m_engine) return;
  float now = m_engine->GetTime();
  if (IsBlinkHidden(now)) return;
  if (m_displayDuration > 0.0f && now - m_displayStart >= m_displayDuration) {
    m_displayDuration = -1.0f;
    if (m_displayFade == 0.0f) {
      m_active = false;
      return;
    }
    FadeOut(m_alpha, m_displayFade);
  }
  if (m_fading) UpdateFade();
  if (!m_sprite) return;
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  m_sprite->SetTransform(&identity);
  RECT rect = m_pixels;
  if (m_shadow) {
    DrawLine(&m_lines[0], &rect, m_shadowColor);
    ::OffsetRect(&rect, -m_shadowOffset, -m_shadowOffset);
  }
  DrawLine(&m_lines[1], &rect, m_color);
}
