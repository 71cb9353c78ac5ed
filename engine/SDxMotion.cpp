#include "core/Platform.h"
#include "engine/SDxMotion.h"

#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxShader.h"

#include <math.h>

namespace {

// The twelve edges of a box as pairs of corners (SDxBox corner order): the
// face at min y, the face at max y and the four joining them.
const int kEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                           {6, 7}, {7, 4}, {0, 6}, {1, 7}, {2, 4}, {3, 5}};

// Whether the point lies inside the cone from the apex along the unit axis.
bool InCone(const D3DXVECTOR3& apex, const D3DXVECTOR3& axis, float cosLimit,
            const D3DXVECTOR3& point) {
  D3DXVECTOR3 to = point - apex;
  D3DXVec3Normalize(&to, &to);
  return D3DXVec3Dot(&to, &axis) >= cosLimit;
}

}  // namespace

SDxMotion::SDxMotion(SDx* engine, SDxLayer* layer, int kind)
    : SDxLayerItem(engine, layer, kind),
      m_autoUpdate(true),
      m_culling(CULL_NONE),
      m_extraMatrices(nullptr),
      m_extraCount(0),
      m_position(0.0f, 0.0f, 0.0f),
      m_outline(nullptr),
      m_soundChannel(-1),
      m_soundVoice(nullptr),
      m_soundNear(100.0f * 100.0f),
      m_soundFar(1000.0f * 1000.0f),
      m_soundMinVolume(0.0f),
      m_soundMaxVolume(1.0f) {
  m_gridCell[0] = m_gridCell[1] = m_gridCell[2] = 0;
  D3DXMatrixIdentity(&m_scaling);
  D3DXMatrixIdentity(&m_world);
  ResetOrientation();
}

SDxMotion::~SDxMotion() {
  ReleaseSound();
  delete[] m_extraMatrices;
  if (m_outline) m_outline->Release();
}

void SDxMotion::ResetOrientation() {
  m_right = D3DXVECTOR3(1, 0, 0);
  m_up = D3DXVECTOR3(0, 1, 0);
  m_forward = D3DXVECTOR3(0, 0, 1);
  D3DXQuaternionIdentity(&m_orientation);
  D3DXMatrixIdentity(&m_rotation);
  m_extraCount = 0;
}

void SDxMotion::ApplyOrientation() {
  D3DXMatrixRotationQuaternion(&m_rotation, &m_orientation);
  m_right = D3DXVECTOR3(m_rotation._11, m_rotation._12, m_rotation._13);
  m_up = D3DXVECTOR3(m_rotation._21, m_rotation._22, m_rotation._23);
  m_forward = D3DXVECTOR3(m_rotation._31, m_rotation._32, m_rotation._33);
  m_extraCount = 0;
}

void SDxMotion::Update(int) {
  m_world = m_scaling * m_rotation;
  for (int i = 0; i < m_extraCount; ++i) m_world *= m_extraMatrices[i];
  m_world._41 += m_position.x;
  m_world._42 += m_position.y;
  m_world._43 += m_position.z;
  if (!m_engine) return;
  const float cell = m_engine->m_gridCellSize;
  m_gridCell[0] = (int)(m_position.x / cell);
  m_gridCell[1] = (int)(m_position.y / cell);
  m_gridCell[2] = (int)(m_position.z / cell);
}

void SDxMotion::Rebuild() {}

void SDxMotion::Render(SDxShader* shader) {
  if (!m_outline || !m_device || !m_engine || !shader || !shader->m_effect) return;
  m_device->SetVertexDeclaration(m_engine->m_vertexDeclaration);
  m_device->SetStreamSource(0, m_outline, 0, sizeof(SDxVertex));
  SDxEffect* effect = shader->m_effect;
  UINT passes = 0;
  bool begun = effect->Begin(&passes, 0);
  bool inPass = begun && effect->BeginPass(0);
  // Inside a pass of its own or of the layer's.
  if (effect->IsInPass()) {
    shader->SetWorld(m_world, m_sequence);
    shader->SetMaterial(nullptr, m_engine->m_defaultMaterial);
    effect->CommitChanges();
    m_device->DrawPrimitive(D3DPT_LINELIST, 0, 12);
  }
  if (inPass) effect->EndPass();
  if (begun) effect->End();
}

bool SDxMotion::IsOutsideViewCone(SDxCamera* camera) {
  if (m_culling != CULL_VIEW_CONE) return m_culling != CULL_NONE && m_culling != CULL_NEVER;
  if (!camera && m_engine) camera = m_engine->m_currentCamera;
  if (!camera) return true;
  float cosLimit = cosf(camera->m_fieldOfView + 0.7853982f);
  D3DXVECTOR3 axis;
  D3DXVec3Normalize(&axis, &camera->m_forward);
  const D3DXVECTOR3& apex = camera->m_position;
  if (InCone(apex, axis, cosLimit, m_position)) return false;
  D3DXVECTOR3 corners[8];
  m_box.TransformCorners(m_world, corners);
  for (const D3DXVECTOR3& corner : corners) {
    if (InCone(apex, axis, cosLimit, corner)) return false;
  }
  return true;
}

bool SDxMotion::GetOrderPosition(D3DXVECTOR3* position) const {
  *position = m_position;
  return true;
}

// --- transform -----------------------------------------------------------------

void SDxMotion::SetPosition(const D3DXVECTOR3& position) {
  m_position = position;
  Update(UPDATE_POSITION);
}

void SDxMotion::SetPositionXYZ(float x, float y, float z) {
  SetPosition(D3DXVECTOR3(x, y, z));
}

void SDxMotion::SetZ(float z) {
  m_position.z = z;
  Update(UPDATE_POSITION);
}

void SDxMotion::OffsetZ(float d) { SetZ(m_position.z + d); }

const D3DXVECTOR3& SDxMotion::MoveAlong(float distance, const D3DXVECTOR3* direction) {
  SetPosition(m_position + (direction ? *direction : m_forward) * distance);
  return m_position;
}

const D3DXVECTOR3& SDxMotion::MoveForwardFlat(float distance) {
  SetPositionXYZ(m_position.x + distance * m_forward.x, m_position.y,
                 m_position.z + distance * m_forward.z);
  return m_position;
}

void SDxMotion::MoveTowardCamera(float distance) {
  SDxCamera* camera = m_engine ? m_engine->m_currentCamera : nullptr;
  if (!camera) return;
  D3DXVECTOR3 direction = camera->m_position - m_position;
  D3DXVec3Normalize(&direction, &direction);
  MoveAlong(distance, &direction);
}

void SDxMotion::SetScale(float sx, float sy, float sz) {
  D3DXMatrixScaling(&m_scaling, sx, sy, sz);
  Update(UPDATE_SCALE);
}

void SDxMotion::SetUniformScale(float s) { SetScale(s, s, s); }

void SDxMotion::ScaleToWidth(float width) {
  // An empty or flat box has no scale that gives it a width.
  float boxWidth = m_box.GetWidth();
  if (boxWidth > 0.0f) SetUniformScale(width / boxWidth);
}

void SDxMotion::RotateLocal(float a, float b, float c) {
  const D3DXVECTOR3 axes[3] = {m_forward, m_right, m_up};
  const float angles[3] = {c, b, a};
  for (int i = 0; i < 3; ++i) {
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &axes[i], angles[i]);
    D3DXQuaternionMultiply(&m_orientation, &m_orientation, &q);
  }
  ApplyOrientation();
  Update(UPDATE_ORIENTATION);
}

void SDxMotion::SetRotation(float a, float b, float c) {
  ResetOrientation();
  RotateLocal(a, b, c);
}

void SDxMotion::SetOrientation(const D3DXMATRIX& matrix) {
  ResetOrientation();
  m_rotation = matrix;
  m_right = D3DXVECTOR3(matrix._11, matrix._12, matrix._13);
  m_up = D3DXVECTOR3(matrix._21, matrix._22, matrix._23);
  m_forward = D3DXVECTOR3(matrix._31, matrix._32, matrix._33);
  D3DXQuaternionRotationMatrix(&m_orientation, &matrix);
  Update(UPDATE_ORIENTATION);
}

void SDxMotion::TurnTowards(const D3DXVECTOR3& point) {
  float yaw = 0.0f, pitch = 0.0f;
  if (!AnglesBetweenPoints(m_position, point, &yaw, &pitch)) return;
  ResetOrientation();
  RotateLocal(yaw, pitch, 0.0f);
}

void SDxMotion::TurnTowardsLimited(const D3DXVECTOR3& point, bool yaw, bool pitch, float speed) {
  float target[2] = {0.0f, 0.0f};
  if (!AnglesBetweenPoints(m_position, point, &target[0], &target[1])) return;
  float angle[2] = {target[0], target[1]};
  if (speed >= 0.0f) {
    float step = (m_engine ? m_engine->GetElapsedTime() : 0.0f) * speed;
    DirectionToAngles(m_forward, &angle[0], &angle[1]);
    for (int i = 0; i < 2; ++i) {
      float d = AngleDifference(angle[i], target[i]);
      if (fabsf(d) > step) angle[i] += d > 0.0f ? step : -step;
    }
  }
  if (!yaw) angle[0] = 0.0f;
  if (!pitch) angle[1] = 0.0f;
  ResetOrientation();
  RotateLocal(angle[0], angle[1], 0.0f);
}

// --- queries and settings -----------------------------------------------------

void SDxMotion::GetAxes(D3DXVECTOR3* forward, D3DXVECTOR3* up, D3DXVECTOR3* right,
                        D3DXQUATERNION* orientation) const {
  if (forward) *forward = m_forward;
  if (up) *up = m_up;
  if (right) *right = m_right;
  if (orientation) *orientation = m_orientation;
}

void SDxMotion::GetWorldBox(SDxBox* box) const { m_box.Transform(m_world, box); }

void SDxMotion::GetOrientedBox(SDxOrientedBox* box) const {
  *box = SDxOrientedBox(m_box);
  box->Transform(m_world);
}

float SDxMotion::GetBoundingRadius() const {
  float sides[3] = {m_box.GetWidth() * m_scaling._11, m_box.GetHeight() * m_scaling._22,
                    m_box.GetDepth() * m_scaling._33};
  float largest = sides[0];
  for (float side : sides) largest = side > largest ? side : largest;
  return largest * 0.5f;
}

float SDxMotion::GetScaledDepth() const { return m_box.GetDepth() * m_scaling._33; }

void SDxMotion::SetCulling(bool enabled, bool never) {
  m_culling = !enabled ? CULL_NONE : never ? CULL_NEVER : CULL_VIEW_CONE;
}

bool SDxMotion::SetAutoUpdate(bool autoUpdate, bool rebuildNow) {
  bool previous = m_autoUpdate;
  m_autoUpdate = autoUpdate;
  if (autoUpdate && rebuildNow) Rebuild();
  return previous;
}

void SDxMotion::BuildOutline() {
  if (!m_outline) return;
  m_outline->Release();
  m_outline = nullptr;
  IDirect3DVertexBuffer9* buffer = nullptr;
  if (!m_device || FAILED(m_device->CreateVertexBuffer(24 * sizeof(SDxVertex),
                                                       D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT,
                                                       &buffer, nullptr))) {
    return;
  }
  SDxVertex* vertices = nullptr;
  if (FAILED(buffer->Lock(0, 0, (void**)&vertices, 0))) {
    buffer->Release();
    return;
  }
  D3DXVECTOR3 corners[8];
  m_box.GetCorners(corners);
  SDxVertex vertex;
  vertex.uv = D3DXVECTOR2(0, 0);
  vertex.normal = vertex.binormal = vertex.tangent = D3DXVECTOR3(0, 0, 0);
  for (int e = 0; e < 24; ++e) {
    vertex.position = corners[kEdges[e / 2][e % 2]];
    vertices[e] = vertex;
  }
  buffer->Unlock();
  m_outline = buffer;
}
