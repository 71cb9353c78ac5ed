#include "core/Platform.h"
#include "engine/SDxSprite.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"
#include "engine/SDxTexture.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

namespace {

const int kMinusFrame = 10;
const int kSpaceFrame = 94;
const int kExclamationFrame = 93;

int ClampByte(int value) { return value < 0 ? 0 : (value > 255 ? 255 : value); }

// The count-up's fast-start ease: 0 at 0, 1 at 1.
float CountUpEase(float t) {
  float e = (log10f(0.001f + 0.999f * t) + 3.0f) / 3.0f;
  return e < 0.0f ? 0.0f : (e > 1.0f ? 1.0f : e);
}

bool IsLoaded(const SDxTexture* texture) { return texture && texture->m_texture; }

}  // namespace

SDxSprite::SDxSprite(SDx* engine, SDxLayer* layer)
    : SDxLayerItem(engine, layer, KIND_SPRITE),
      m_spriteDevice(m_device),
      m_sprite(m_engine ? m_engine->m_sprite : nullptr),
      m_frames(nullptr) {
  Clear();
}

SDxSprite::~SDxSprite() {
  Clear();
  m_text.Free();
}

void SDxSprite::Clear() {
  delete[] m_frames;
  m_frames = nullptr;
  m_texture = m_secondTexture = nullptr;
  m_columns = m_rows = m_frameCount = 1;
  m_frameWidth = m_frameHeight = 0;
  m_hidden = false;
  m_rotation = 0.0f;
  m_flipX = m_flipY = false;
  m_x = m_y = 0.5f;
  m_pivotX = m_pivotY = 0.5f;
  m_width = m_height = 1.0f;
  m_opacity = 255;
  m_modulate = 0xFFFFFFFF;
  D3DXMatrixIdentity(&m_transform);
  m_fading = false;
  m_fadeStart = m_fadeDelay = m_fadeDuration = 0.0f;
  m_hideAtEnd = false;
  m_fadeFrom = m_fadeTo = m_fadeRepeats = m_fadeRepeatsDone = 0;
  m_blinkPeriod = m_blinkOff = 0;
  m_speed = 10.0f;
  m_loop = m_reverse = false;
  m_frame = 0;
  m_framePosition = 0.0f;
  m_playing = false;
  m_numberOn = false;
  m_number = 0;
  m_minimumDigits = 1;
  m_signSlot = false;
  m_digitAdvance = 0.0f;
  m_countUpDuration = m_countUpStart = 0.0f;
  m_countUpFrom = m_countUpTo = 0;
  m_minimumInterval = m_lastChange = 0.0f;
  m_textOn = false;
  m_text.Set("");
  m_characterAdvance = 0.0f;
  m_fillMode = 0;
  m_fillFraction = m_fillG = m_fillH = 0.0f;
}

bool SDxSprite::SetTexture(SDxTexture* texture, int rows, SDxTexture* second, int columns,
                           int frameCount, int inset) {
  if (texture == m_texture || columns < 1 || rows < 1 || frameCount == 0) return false;
  if ((texture && !IsLoaded(texture)) || (second && !IsLoaded(second))) return false;
  if (second &&
      (!texture || second->m_width != texture->m_width || second->m_height != texture->m_height)) {
    return false;
  }
  m_texture = texture;
  m_secondTexture = second;
  delete[] m_frames;
  m_frames = nullptr;
  m_columns = columns;
  m_rows = rows;
  m_frameCount = frameCount < 0 ? columns * rows : frameCount;
  m_frame = 0;
  m_framePosition = 0.0f;
  if (texture && m_frameCount >= 2) {
    m_frameWidth = texture->m_width / columns;
    m_frameHeight = texture->m_height / rows;
    m_frames = new RECT[m_frameCount];
    for (int i = 0; i < m_frameCount; ++i) {
      // Frames beyond the sheet get an empty rectangle; they are never drawn.
      if (i >= columns * rows) {
        ::SetRectEmpty(&m_frames[i]);
        continue;
      }
      int left = (i % columns) * m_frameWidth, top = (i / columns) * m_frameHeight;
      ::SetRect(&m_frames[i], left + inset, top + inset, left + m_frameWidth - inset,
                top + m_frameHeight - inset);
    }
  } else {
    m_frameWidth = texture ? texture->m_width : 0;
    m_frameHeight = texture ? texture->m_height : 0;
  }
  UpdateTransform();
  return true;
}

bool SDxSprite::GetFrameRect(int frame, RECT* rect) const {
  if (frame < 0 || frame >= m_frameCount || frame >= m_columns * m_rows) return false;
  if (m_frames) {
    *rect = m_frames[frame];
  } else {
    ::SetRect(rect, 0, 0, m_frameWidth, m_frameHeight);
  }
  return true;
}

void SDxSprite::SetSize(float width, float height) {
  float sx = m_engine ? m_engine->m_scaleX : 100.0f, sy = m_engine ? m_engine->m_scaleY : 100.0f;
  m_width = width == -1.0f ? -1.0f : width / sx;
  m_height = height == -1.0f ? -1.0f : height / sy;
  UpdateTransform();
}

void SDxSprite::SetPositionXY(float x, float y) {
  float sx = m_engine ? m_engine->m_scaleX : 100.0f, sy = m_engine ? m_engine->m_scaleY : 100.0f;
  if (x / sx == m_x && y / sy == m_y) return;
  m_x = x / sx;
  m_y = y / sy;
  UpdateTransform();
}

void SDxSprite::SetPivot(float x, float y) {
  m_pivotX = x / 100.0f;
  m_pivotY = y / 100.0f;
  UpdateTransform();
}

void SDxSprite::SetRotation(float angle, bool flipX, bool flipY) {
  m_rotation = angle;
  m_flipX = flipX;
  m_flipY = flipY;
  UpdateTransform();
}

void SDxSprite::SetAlpha(int alpha) {
  if (alpha == m_opacity) return;
  m_opacity = ClampByte(alpha);
  m_modulate = ((D3DCOLOR)m_opacity << 24) | 0xFFFFFF;
}

void SDxSprite::ResetAlpha() {
  m_fading = false;
  SetAlpha(255);
}

bool SDxSprite::FadeAlpha(int from, int to, int repeats, float duration, bool hideAtEnd,
                          float delay) {
  if (from == -1) from = m_opacity;
  to = ClampByte(to);
  if (duration <= 0.0f || from == to) return false;
  m_fadeFrom = from;
  m_fadeTo = to;
  m_fadeRepeats = repeats < -1 ? -1 : repeats;
  m_fadeRepeatsDone = 0;
  m_fadeDuration = duration;
  m_fadeDelay = delay;
  m_hideAtEnd = hideAtEnd;
  m_fadeStart = m_engine ? m_engine->GetTime() : 0.0f;
  m_fading = true;
  SetVisible(true);
  return true;
}

bool SDxSprite::SetFrame(int i) {
  if (i < 0 || i > m_frameCount) return false;
  m_frame = i;
  m_framePosition = (float)i;
  return true;
}

void SDxSprite::SetAnimation(float speed, bool loop, bool reverse) {
  m_speed = speed;
  m_loop = loop;
  m_reverse = reverse;
  m_playing = true;
}

void SDxSprite::SetBlink(int period, int offTime) {
  m_blinkPeriod = period;
  m_blinkOff = offTime;
}

void SDxSprite::SetNumberDisplay(bool on, int minimumDigits, bool signSlot, float countUpDuration,
                                 float minimumInterval) {
  m_numberOn = on;
  m_minimumDigits = minimumDigits;
  m_signSlot = signSlot;
  m_countUpDuration = countUpDuration;
  m_minimumInterval = minimumInterval;
  m_number = 0;
  m_countUpStart = 0.0f;
  m_countUpFrom = m_countUpTo = 0;
  m_lastChange = 0.0f;
  UpdateTransform();
}

void SDxSprite::SetNumber(int value, bool immediate) {
  float now = m_engine ? m_engine->GetTime() : 0.0f;
  if (m_minimumInterval > 0.0f && now - m_lastChange < m_minimumInterval) return;
  if (!immediate) {
    m_countUpStart = now;
    m_countUpFrom = m_number;
    m_countUpTo = value;
  }
  m_number = value;
  m_lastChange = now;
}

int SDxSprite::GetShownNumber() {
  if (m_countUpStart == 0.0f) return m_number;
  float now = m_engine ? m_engine->GetTime() : 0.0f;
  float t = m_countUpDuration > 0.0f ? (now - m_countUpStart) / m_countUpDuration : 1.0f;
  if (t >= 1.0f) {
    m_countUpStart = 0.0f;
    return m_number;
  }
  return m_countUpFrom + (int)((float)(m_countUpTo - m_countUpFrom) * CountUpEase(t));
}

void SDxSprite::SetTextDisplay(bool on, const char* text) {
  m_textOn = on;
  m_text.Set(text ? text : "");
}

void SDxSprite::SetFill(int mode, float fraction, float g, float h) {
  m_fillMode = mode;
  m_fillFraction = fraction;
  m_fillG = g;
  m_fillH = h;
}

void SDxSprite::UpdateTransform() {
  D3DXMatrixIdentity(&m_transform);
  if (!m_texture || !m_engine || m_frameWidth <= 0 || m_frameHeight <= 0) return;
  m_modulate = ((D3DCOLOR)m_opacity << 24) | 0xFFFFFF;
  const SDxConfig& config = m_engine->m_config;
  float wb = (float)config.width, hb = (float)config.height;
  float ratio =
      config.aspect > 0.0f && hb > 0.0f ? m_texture->m_aspect / config.aspect * (wb / hb) : 1.0f;
  float w = m_width * wb, h = m_height * hb;
  if (m_width == -1.0f) w = h * ratio;
  if (m_height == -1.0f) h = ratio > 0.0f ? w / ratio : 0.0f;
  m_digitAdvance = m_characterAdvance = w;
  float px = m_x * wb, py = m_y * hb, cx = m_pivotX * w, cy = m_pivotY * h;
  float sx = w / (float)m_frameWidth, sy = h / (float)m_frameHeight;
  D3DXMATRIX step;
  D3DXMatrixScaling(&m_transform, sx, sy, 1.0f);
  if (m_rotation == 0.0f && !m_flipX && !m_flipY) {
    D3DXMatrixTranslation(&step, px - cx, py - cy, 0.0f);
    m_transform *= step;
    return;
  }
  const bool flips[2] = {m_flipX, m_flipY};
  for (int axis = 0; axis < 2; ++axis) {
    if (!flips[axis]) continue;
    D3DXMATRIX mirror;
    D3DXMatrixScaling(&mirror, axis == 0 ? -1.0f : 1.0f, axis == 0 ? 1.0f : -1.0f, 1.0f);
    D3DXMatrixTranslation(&step, -w / 2, -h / 2, 0.0f);
    m_transform *= step;
    m_transform *= mirror;
    D3DXMatrixTranslation(&step, w / 2, h / 2, 0.0f);
    m_transform *= step;
  }
  D3DXMatrixTranslation(&step, -cx, -cy, 0.0f);
  m_transform *= step;
  D3DXMatrixRotationZ(&step, m_rotation);
  m_transform *= step;
  D3DXMatrixTranslation(&step, px, py, 0.0f);
  m_transform *= step;
}

void SDxSprite::ForgetTexture(SDxTexture* texture) {
  if (texture && (texture == m_texture || texture == m_secondTexture)) {
    m_texture = nullptr;  // so that the rebinding is not refused as the same texture
    SetTexture(nullptr, 1, nullptr, 1, 1, 0);
  }
}

// --- drawing -----------------------------------------------------------------------

void SDxSprite::StepAnimation() {
  float dt = m_engine->GetElapsedTime();
  bool wrapped = false;
  if (!m_reverse) {
    m_framePosition += dt * m_speed;
    m_frame = (int)m_framePosition;
    if (m_frame >= m_frameCount) {
      wrapped = true;
      if (m_loop) {
        m_frame -= m_frameCount;
        if (m_frame >= m_frameCount) m_frame = 0;
      } else {
        m_frame = m_frameCount;
        m_playing = false;
      }
    }
  } else {
    m_framePosition -= dt * m_speed;
    m_frame = (int)floorf(m_framePosition);
    if (m_framePosition < 0.0f) {
      wrapped = true;
      if (m_loop) {
        m_frame += m_frameCount;
        if (m_frame < 0) m_frame = m_frameCount - 1;
      } else {
        m_frame = -1;
        m_playing = false;
      }
    }
  }
  if (wrapped) m_framePosition = (float)m_frame;
}

void SDxSprite::StepFade() {
  float now = m_engine->GetTime();
  float begin = m_fadeStart + m_fadeDelay;
  float t = now < begin ? 0.0f : (now - begin) / m_fadeDuration;
  if (t > 1.0f) t = 1.0f;
  int value = m_fadeFrom + (int)((float)(m_fadeTo - m_fadeFrom) * t);
  if (value != m_opacity) SetAlpha(value);
  if (value != m_fadeTo) return;
  if (m_fadeRepeats == -1 || m_fadeRepeatsDone < m_fadeRepeats) {
    ++m_fadeRepeatsDone;
    int swap = m_fadeFrom;
    m_fadeFrom = m_fadeTo;
    m_fadeTo = swap;
    m_fadeStart = now;
    return;
  }
  m_fading = false;
  if (m_hideAtEnd) SetVisible(false);
}

bool SDxSprite::IsBlinkHidden() const {
  // A period of 0 never blinks (and never divides by zero).
  if (m_blinkPeriod <= 0 || m_blinkOff <= 0) return false;
  return (int)(m_engine->GetTime() * 100.0f) % m_blinkPeriod < m_blinkOff;
}

void SDxSprite::DrawFrame(int frame, float offset) {
  RECT rect;
  if (!GetFrameRect(frame, &rect)) return;
  D3DXMATRIX moved = m_transform;
  moved._41 += offset;
  m_sprite->SetTransform(&moved);
  m_sprite->Draw(m_texture->m_texture, &rect, nullptr, nullptr, m_modulate);
}

void SDxSprite::DrawNumber() {
  char text[16];
  snprintf(text, sizeof(text), "%d", GetShownNumber());
  int length = (int)strlen(text);
  float offset = 0.0f;
  if (m_signSlot) {
    if (text[0] == '-') DrawFrame(kMinusFrame, offset);
    offset += m_digitAdvance;
  }
  for (int i = length; i < m_minimumDigits; ++i, offset += m_digitAdvance) DrawFrame(0, offset);
  for (int i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') continue;
    DrawFrame(text[i] - '0', offset);
    offset += m_digitAdvance;
  }
}

void SDxSprite::DrawText() {
  float offset = 0.0f;
  for (int i = 0; i < m_text.GetLength(); ++i) {
    unsigned char c = (unsigned char)m_text.GetText()[i];
    int frame = c >= '"' && c <= '~' ? c - '"' : (c == ' ' ? kSpaceFrame : -1);
    if (c == '!') frame = kExclamationFrame;
    if (frame < 0) continue;
    DrawFrame(frame, offset);
    offset += m_characterAdvance;
  }
}

void SDxSprite::DrawFill() {
  RECT first;
  if (!GetFrameRect(m_frame, &first)) return;
  RECT second = first;
  D3DXVECTOR3 offset(0.0f, 0.0f, 0.0f);
  bool vertical = m_fillMode == FILL_DOWN || m_fillMode == FILL_UP;
  int extent = vertical ? first.bottom - first.top : first.right - first.left;
  int a = (int)((float)extent * m_fillFraction), b = (int)((float)extent * m_fillG);
  int c = 0;
  switch (m_fillMode) {
    case FILL_DOWN:
      c = (int)((float)(a - b) * m_fillH);
      second.bottom = first.top + a;
      second.top = first.top + a - c;
      offset.y = (float)(a - c);
      break;
    case FILL_UP:
      c = (int)((float)(b - a) * m_fillH);
      second.top = first.top + a;
      second.bottom = first.top + a + c;
      break;
    case FILL_RIGHT:
      c = (int)((float)(a - b) * m_fillH);
      second.right = first.left + a;
      second.left = first.left + a - c;
      offset.x = (float)(a - c);
      break;
    case FILL_LEFT:
      c = (int)((float)(b - a) * m_fillH);
      second.left = first.left + a;
      second.right = first.left + a + c;
      break;
  }
  m_sprite->Draw(m_texture->m_texture, &first, nullptr, nullptr, m_modulate);
  m_sprite->Draw(m_secondTexture->m_texture, &second, nullptr, &offset, m_modulate);
}

void SDxSprite::Draw() {
  if (!m_texture || !m_engine || !m_sprite) return;
  if (m_playing) StepAnimation();
  if (m_frame < 0 || m_frame >= m_frameCount || m_hidden) return;
  m_sprite->SetTransform(&m_transform);
  if (m_fading) StepFade();
  if (IsBlinkHidden() || !m_texture->m_texture) return;
  if (m_numberOn && m_frames) {
    DrawNumber();
  } else if (m_textOn && m_frames) {
    DrawText();
  } else if (m_secondTexture && m_secondTexture->m_texture) {
    DrawFill();
  } else {
    RECT rect;
    if (!GetFrameRect(m_frame, &rect)) return;
    for (int i = 0; i < (m_texture->m_drawCount > 0 ? m_texture->m_drawCount : 1); ++i) {
      m_sprite->Draw(m_texture->m_texture, &rect, nullptr, nullptr, m_modulate);
    }
  }
}

// --- the layer's factory and pass ------------------------------------------------------

SDxSprite* SDxLayer::AddSprite(SDxTexture* texture, int rows, SDxTexture* second, int columns,
                               int frameCount, int inset) {
  SDxSprite* sprite = new SDxSprite(m_engine, this);
  sprite->SetTexture(texture, rows, second, columns, frameCount, inset);
  return FileItem(sprite) ? sprite : nullptr;
}

bool SDxLayer::RenderSprites(bool leaveOpen) {
  ID3DXSprite* batch = m_engine->m_sprite;
  SArray<SDxLayerItem*>& sprites = m_lists[LIST_SPRITES];
  if (!batch) return false;
  // Sprites in a row whose textures blend alike share one batch: the blend
  // mode set before it and the states its Begin sets and its End restores
  // are the same for each of them.
  auto blendOf = [](const SDxTexture* texture) {
    return texture ? texture->m_blendKind : -1;
  };
  bool begun = false;
  int blend = 0;
  for (int i = 0; i < sprites.GetCount(); ++i) {
    SDxSprite* sprite = static_cast<SDxSprite*>(sprites[i]);
    if (!begun || blendOf(sprite->m_texture) != blend) {
      if (begun) {
        batch->End();
        m_engine->ResetBlendMode();
      }
      m_engine->SetBlendMode(sprite->m_texture);
      blend = blendOf(sprite->m_texture);
      begun = SUCCEEDED(batch->Begin(0));
      if (!begun) {
        m_engine->ResetBlendMode();
        continue;
      }
    }
    sprite->Draw();
  }
  if (begun && leaveOpen) return true;
  if (begun) {
    batch->End();
    m_engine->ResetBlendMode();
  }
  return false;
}
