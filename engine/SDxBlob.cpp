#include "core/Platform.h"
#include "engine/SDxBlob.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxTexture.h"

#include <math.h>

namespace {

const float kDefaultSpeed = 10.0f;
const float kPi = 3.14159265f;

}  // namespace

SDxBlob::SDxBlob(SDxLayer* layer)
    : SDxObject(layer, KIND_BLOB), m_texture(nullptr), m_frames(nullptr) {
  Reset();
}

SDxBlob::~SDxBlob() { Reset(); }

void SDxBlob::Reset() {
  m_width = m_height = 0.0f;
  m_texture = nullptr;
  m_columns = m_rows = m_frameCount = 1;
  m_scaleX = m_scaleY = 0.0f;
  m_frameWidth = m_frameHeight = 0;
  m_speed = kDefaultSpeed;
  m_looping = false;
  m_faceFirst = m_faceSecond = true;
  m_frame = 0;
  m_frameTime = 0.0f;
  m_running = false;
  m_pivot = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  delete[] m_frames;
  m_frames = nullptr;
  BuildSpriteMatrix();
}

void SDxBlob::SetTexture(SDxTexture* texture, int columns, int rows, int frameCount, bool centred) {
  m_texture = texture;
  delete[] m_frames;
  m_frames = nullptr;
  m_columns = columns > 1 ? columns : 1;
  m_rows = rows > 1 ? rows : 1;
  m_frameCount = frameCount < 0 ? m_columns * m_rows : frameCount;
  m_frameTime = 0.0f;
  m_frame = 0;
  if (!texture) {
    m_frameWidth = m_frameHeight = 0;
  } else if (m_frameCount < 2) {
    m_frameWidth = texture->m_width;
    m_frameHeight = texture->m_height;
  } else {
    m_frameWidth = (int)RoundToNearest((double)texture->m_width / m_columns);
    m_frameHeight = (int)RoundToNearest((double)texture->m_height / m_rows);
    // Frames beyond the sheet stay empty; they are never drawn.
    m_frames = new RECT[m_frameCount];
    for (int i = 0; i < m_frameCount; ++i) {
      if (i >= m_columns * m_rows) {
        ::SetRectEmpty(&m_frames[i]);
        continue;
      }
      int left = (i % m_columns) * m_frameWidth, top = (i / m_columns) * m_frameHeight;
      ::SetRect(&m_frames[i], left, top, left + m_frameWidth, top + m_frameHeight);
    }
  }
  m_pivot = centred ? D3DXVECTOR3(m_frameWidth / 2.0f, m_frameHeight / 2.0f, 0.0f)
                    : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  SetSize(m_width, m_height);
}

void SDxBlob::ForgetTexture(SDxTexture* texture) {
  if (texture && texture == m_texture) SetTexture(nullptr, 1, 1, 1, false);
}

bool SDxBlob::GetFrameRect(int frame, RECT* rect) const {
  if (frame < 0 || frame >= m_frameCount) return false;
  if (m_frames) {
    if (frame >= m_columns * m_rows) return false;
    *rect = m_frames[frame];
  } else {
    ::SetRect(rect, 0, 0, m_frameWidth, m_frameHeight);
  }
  return true;
}

void SDxBlob::SetSize(float width, float height) {
  m_width = width > 0.0f ? width : 0.0f;
  m_height = height > 0.0f ? height : 0.0f;
  if (m_texture && m_texture->m_width > 0 && m_texture->m_height > 0) {
    m_scaleX = m_width / ((float)m_texture->m_width / (float)m_columns);
    m_scaleY = m_height / ((float)m_texture->m_height / (float)m_rows);
  } else {
    m_scaleX = m_scaleY = 1.0f;
  }
  BuildSpriteMatrix();
}

void SDxBlob::SetBillboard(bool first, bool second) {
  m_faceFirst = first;
  m_faceSecond = second;
}

void SDxBlob::ResetAnimation() {
  m_frameTime = 0.0f;
  m_running = true;
  m_frame = 0;
  m_hidden = false;
}

void SDxBlob::BuildSpriteMatrix() {
  D3DXMATRIX scaling, rotation;
  D3DXMatrixScaling(&scaling, m_scaleX, m_scaleY, 1.0f);
  D3DXQUATERNION q = m_orientation, turn;
  D3DXQuaternionRotationAxis(&turn, &m_up, kPi);
  D3DXQuaternionMultiply(&q, &q, &turn);
  D3DXQuaternionRotationAxis(&turn, &m_right, kPi);
  D3DXQuaternionMultiply(&q, &q, &turn);
  D3DXMatrixRotationQuaternion(&rotation, &q);
  m_spriteMatrix = scaling * rotation;
  m_spriteMatrix._41 += m_position.x;
  m_spriteMatrix._42 += m_position.y;
  m_spriteMatrix._43 += m_position.z;
  float w = m_width / 2, h = m_height / 2;
  m_pickTriangles[0] = SDxTriangle(-w, -h, 0, w, -h, 0, -w, h, 0);
  m_pickTriangles[1] = SDxTriangle(w, -h, 0, w, h, 0, -w, h, 0);
}

void SDxBlob::Update(int flags) {
  SDxObject::Update(flags);
  if (m_layer) m_layer->m_orderDirty = true;
  BuildSpriteMatrix();
}

void SDxBlob::Render(SDxShader*) {
  if (!m_engine) return;
  if (m_texture && m_running) {
    m_frameTime += m_engine->GetElapsedTime() * m_speed;
    m_frame = (int)m_frameTime;
    if (m_frame >= m_frameCount) {
      if (m_looping) {
        m_frame -= m_frameCount;
        if (m_frame >= m_frameCount) m_frame = 0;
      } else {
        m_frame = m_frameCount;
        m_running = false;
        m_hidden = true;
      }
      m_frameTime = (float)m_frame;
    }
  }
  if (m_hidden || (m_texture && m_frame >= m_frameCount)) return;
  SDxCamera* camera = m_engine->m_currentCamera;
  if ((m_faceFirst || m_faceSecond) && camera) {
    TurnTowardsLimited(camera->m_position, m_faceFirst, m_faceSecond, -1.0f);
  }
  RECT rect;
  if (!m_texture || !m_texture->m_texture || !GetFrameRect(m_frame, &rect)) return;
  int draws = m_texture->m_drawCount > 0 ? m_texture->m_drawCount : 1;
  for (int i = 0; i < draws; ++i) DrawFrame(rect);
}

void SDxBlob::DrawFrame(const RECT& rect) {
  // The frame's quad in texels about the pivot, as the sprite interface
  // lays it out, through the sprite matrix with the scene's view and
  // projection. Drawn here rather than by the interface: Wine's sprite
  // interface replaces the device's transforms even in object space.
  const float tw = (float)m_texture->m_width, th = (float)m_texture->m_height;
  const float w = (float)(rect.right - rect.left), h = (float)(rect.bottom - rect.top);
  const float u0 = rect.left / tw, v0 = rect.top / th, u1 = rect.right / tw, v1 = rect.bottom / th;
  const _SVertex quad[4] = {
      {-m_pivot.x, -m_pivot.y, 0.0f, 0xFFFFFFFF, u0, v0},
      {w - m_pivot.x, -m_pivot.y, 0.0f, 0xFFFFFFFF, u1, v0},
      {-m_pivot.x, h - m_pivot.y, 0.0f, 0xFFFFFFFF, u0, v1},
      {w - m_pivot.x, h - m_pivot.y, 0.0f, 0xFFFFFFFF, u1, v1},
  };
  m_device->SetTransform(D3DTS_VIEW, &m_engine->m_view);
  m_device->SetTransform(D3DTS_PROJECTION, &m_engine->m_projection);
  m_device->SetTransform(D3DTS_WORLD, &m_spriteMatrix);
  m_device->SetTexture(0, m_texture->m_texture);
  m_device->SetFVF(FVF);
  m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(_SVertex));
}

bool SDxBlob::Pick(SDxPickQuery* query) {
  if (!query || !PassesPickFilter(*query)) return false;
  // The rectangle in the plane z = position z, moved by the position.
  float w = m_width / 2, h = m_height / 2;
  const D3DXVECTOR3& p = m_position;
  const D3DXVECTOR3 a(p.x - w, p.y - h, p.z), b(p.x + w, p.y - h, p.z), c(p.x - w, p.y + h, p.z),
      d(p.x + w, p.y + h, p.z);
  const D3DXVECTOR3* triangles[2][3] = {{&a, &b, &c}, {&b, &d, &c}};
  D3DXVECTOR3 direction;
  D3DXVec3Normalize(&direction, &query->direction);
  for (int face = 0; face < 2; ++face) {
    float u = 0.0f, v = 0.0f, t = 0.0f;
    if (!D3DXIntersectTri(triangles[face][0], triangles[face][1], triangles[face][2],
                          &query->origin, &direction, &u, &v, &t) ||
        t < 0.0f) {
      continue;
    }
    if (query->Offer(this, query->origin + direction * t, face, u, v, 0)) return true;
  }
  return false;
}

// --- the layer's factory and pass ------------------------------------------------------

SDxBlob* SDxLayer::AddBlob(SDxTexture* texture, int columns, int rows, int frameCount) {
  SDxBlob* blob = new SDxBlob(this);
  blob->SetTexture(texture, columns, rows, frameCount, true);
  return FileItem(blob) ? blob : nullptr;
}

void SDxLayer::RenderBlob(SDxBlob* blob) {
  ID3DXSprite* batch = m_engine ? m_engine->m_sprite : nullptr;
  if (!blob->IsVisible() || !m_device || !batch) return;
  m_device->SetTransform(D3DTS_WORLD, &m_engine->m_identity);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  m_engine->SetBlendMode(blob->m_texture);
  if (SUCCEEDED(batch->Begin(D3DXSPRITE_OBJECTSPACE))) {
    blob->Render(nullptr);
    batch->End();
  }
  m_engine->ResetBlendMode();
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
}
