#include "core/Platform.h"
#include "engine/SDxShape.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShader.h"
#include "engine/SDxTexture.h"

SDxShape* SDxLayer::AddShape() {
  SDxShape* shape = new SDxShape(this);
  return FileItem(shape) ? shape : nullptr;
}

SDxPoly::SDxPoly() : texture(nullptr), flag(0) {
  positions.Set(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 0));
  uvs.Set(0, 0, 0, 0, 0, 0);
}

SDxShape::SDxShape(SDxLayer* layer)
    : SDxObject(layer, KIND_SHAPE),
      m_triangleCount(0),
      m_vertexBuffer(nullptr),
      m_sharedTexture(nullptr) {
  Release();
}

SDxShape::~SDxShape() {
  Release();
  m_polygons.FreeBuffer();
}

void SDxShape::DeletePolygons() { m_polygons.DeleteAndRemoveAll(); }

void SDxShape::Release() {
  memset(&m_material, 0, sizeof(m_material));
  m_material.Diffuse = m_material.Ambient = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
  m_sharedTexture = nullptr;
  DeletePolygons();
  m_triangleCount = 0;
  if (m_vertexBuffer) m_vertexBuffer->Release();
  m_vertexBuffer = nullptr;
  m_box.min = m_box.max = D3DXVECTOR3(0, 0, 0);
  SDxObject::Release();
}

bool SDxShape::Clear() {
  if (!m_vertexBuffer) return false;
  DeletePolygons();
  SDxObject::Release();
  return true;
}

void SDxShape::ForgetTexture(SDxTexture* texture) {
  ClearTexture(texture);
  if (m_sharedTexture == texture) m_sharedTexture = nullptr;
}

int SDxShape::ClearTexture(SDxTexture* texture) {
  int changed = 0;
  for (int i = 0; i < m_polygons.GetCount(); ++i) {
    if (m_polygons[i]->texture != texture) continue;
    m_polygons[i]->texture = nullptr;
    ++changed;
  }
  return changed;
}

SDxPoly* SDxShape::AddPolygon(const SDxTriangle* positions, const SDxTriangleUV* uvs,
                              SDxTexture* texture, uint8_t flag) {
  SDxPoly* polygon = new SDxPoly;
  if (positions) polygon->positions = *positions;
  if (uvs) polygon->uvs = *uvs;
  polygon->texture = texture;
  polygon->flag = flag;
  if (m_polygons.Add(polygon) < 0) {
    delete polygon;
    return nullptr;
  }
  if (m_autoUpdate) Rebuild();
  return polygon;
}

SDxPoly* SDxShape::GetPolygon(int index) const {
  return index >= 0 && index < m_polygons.GetCount() ? m_polygons[index] : nullptr;
}

void SDxShape::RotateVertices(float x, float y, float z) {
  D3DXMATRIX rotation;
  D3DXMatrixRotationYawPitchRoll(&rotation, y, x, z);
  for (int i = 0; i < m_polygons.GetCount(); ++i) m_polygons[i]->positions.Transform(rotation);
  if (m_autoUpdate) Rebuild();
}

void SDxShape::MoveVertices(float dx, float dy, float dz) {
  D3DXVECTOR3 offset(dx, dy, dz);
  for (int i = 0; i < m_polygons.GetCount(); ++i) {
    for (D3DXVECTOR3& corner : m_polygons[i]->positions.corners) corner += offset;
  }
  if (m_autoUpdate) Rebuild();
}

SDxMesh* SDxShape::CreateMesh(SDxLayer* layer) {
  if (!layer) layer = m_layer;
  SDxMesh* mesh = layer ? layer->AddMesh() : nullptr;
  if (mesh && !mesh->CreateFromShape(this)) {
    layer->RemoveItem(mesh);
    return nullptr;
  }
  return mesh;
}

// --- vertex buffer, drawing and picking ------------------------------------------------

void SDxShape::Rebuild() {
  m_box.min = m_box.max = D3DXVECTOR3(0, 0, 0);
  m_triangleCount = 0;
  if (m_vertexBuffer) m_vertexBuffer->Release();
  m_vertexBuffer = nullptr;
  int count = m_polygons.GetCount();
  if (count == 0 || !m_device) return;
  IDirect3DVertexBuffer9* buffer = nullptr;
  SDxVertex* vertices = nullptr;
  if (FAILED(m_device->CreateVertexBuffer((UINT)count * 3 * sizeof(SDxVertex), D3DUSAGE_WRITEONLY,
                                         0, D3DPOOL_DEFAULT, &buffer, nullptr))) {
    return;
  }
  if (FAILED(buffer->Lock(0, 0, (void**)&vertices, 0))) {
    buffer->Release();
    return;
  }
  m_triangleCount = count;
  m_box.Reset();
  for (int i = 0; i < count; ++i) {
    const SDxPoly* polygon = m_polygons[i];
    vertices = SDx::BuildTriangle(vertices, polygon->positions.corners, polygon->uvs.uv, false);
    for (const D3DXVECTOR3& corner : polygon->positions.corners) m_box.Grow(corner);
  }
  buffer->Unlock();
  m_vertexBuffer = buffer;
  BuildOutline();
}

void SDxShape::Render(SDxShader* shader) {
  if (m_hidden || !m_vertexBuffer) return;
  Draw(shader);
  if (!m_hidden) SDxObject::Render(shader);
}

void SDxShape::Draw(SDxShader* shader) {
  if (!shader || !m_vertexBuffer || !m_device || !m_engine) return;
  m_device->SetVertexDeclaration(m_engine->m_vertexDeclaration);
  m_device->SetStreamSource(0, m_vertexBuffer, 0, sizeof(SDxVertex));
  SDxEffect* effect = shader->m_effect;
  UINT passes = 0;
  bool begun = effect && effect->Begin(&passes, 0);
  bool inPass = begun && effect->BeginPass(0);
  shader->SetWorld(m_world, m_sequence);
  if (m_sharedTexture) {
    m_engine->SetBlendMode(m_sharedTexture);
    shader->SetMaterial(m_sharedTexture, m_material);
    if (effect) effect->CommitChanges();
    m_device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, (UINT)m_triangleCount);
  } else {
    // The triangles in a row that share a texture go out in one draw, in
    // their order.
    int count = m_triangleCount < m_polygons.GetCount() ? m_triangleCount : m_polygons.GetCount();
    for (int i = 0; i < count;) {
      SDxTexture* texture = m_polygons[i]->texture;
      int end = i + 1;
      while (end < count && m_polygons[end]->texture == texture) ++end;
      m_engine->ResetBlendMode();
      m_engine->SetBlendMode(texture);
      shader->SetMaterial(texture, m_material);
      if (effect) effect->CommitChanges();
      m_device->DrawPrimitive(D3DPT_TRIANGLELIST, 3 * (UINT)i, (UINT)(end - i));
      i = end;
    }
  }
  m_engine->ResetBlendMode();
  if (inPass) effect->EndPass();
  if (begun) effect->End();
}

bool SDxShape::Pick(SDxPickQuery* query) {
  D3DXVECTOR3 origin, direction;
  if (!query || !BeginPick(*query, &origin, &direction)) return false;
  for (int i = 0; i < m_polygons.GetCount(); ++i) {
    const SDxTriangle& t = m_polygons[i]->positions;
    const D3DXVECTOR3* corners[3] = {&t.corners[0], &t.corners[1], &t.corners[2]};
    OfferTriangle(query, origin, direction, corners, i, m_polygons[i]->flag);
  }
  return query->hitObject != nullptr;
}
