// The decals of meshes and shapes: placement, the shared vertex buffer and
// its drawing, and the layer's decal pass.
#include "core/Platform.h"
#include "engine/SDxObject.h"

#include "engine/SDx.h"
#include "engine/SDxDecal.h"
#include "engine/SDxLayer.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShaderGBuffer.h"
#include "engine/SDxShape.h"
#include "engine/SDxTexture.h"

namespace {

// The face's corners in the order its drawn side faces: a shape's
// polygon with its second and third corner swapped, a mesh's three
// consecutive vertices. False when the mesh cannot be read.
bool GetFaceCorners(SDxObject* object, int face, D3DXVECTOR3 corners[3]) {
  if (object->m_kind == SDxLayerItem::KIND_SHAPE) {
    const D3DXVECTOR3* c = static_cast<SDxShape*>(object)->GetPolygon(face)->positions.corners;
    corners[0] = c[0];
    corners[1] = c[2];
    corners[2] = c[1];
    return true;
  }
  ID3DXMesh* geometry = static_cast<SDxMesh*>(object)->m_geometry;
  if (!geometry || (int)geometry->GetNumVertices() < 3 * face + 3) return false;
  const SDxVertex* vertices = nullptr;
  if (FAILED(geometry->LockVertexBuffer(D3DLOCK_READONLY, (void**)&vertices)) || !vertices) {
    return false;
  }
  for (int k = 0; k < 3; ++k) corners[k] = vertices[3 * face + k].position;
  geometry->UnlockVertexBuffer();
  return true;
}

}  // namespace

bool SDxObject::AddDecal(int face, const D3DXVECTOR3& point, float width, float height,
                         SDxTexture* texture, float angle, float spacing, float surfaceOffset) {
  if (!m_decalsEnabled || !texture || face < 0 || face >= GetFaceCount()) return false;
  D3DXMATRIX inverse;
  if (!D3DXMatrixInverse(&inverse, nullptr, &m_world)) return false;
  D3DXVECTOR3 local;
  D3DXVec3TransformCoord(&local, &point, &inverse);
  for (int i = 0; spacing != 0.0f && i < m_decals.GetCount(); ++i) {
    if (GetDistanceSq(m_decals[i]->GetCentre(), local) < spacing * spacing) return false;
  }
  D3DXVECTOR3 c[3];
  if (!GetFaceCorners(this, face, c)) return false;
  // The normal of the side the face is drawn facing, and the engine's
  // tangent of that frame turned about it by the angle.
  D3DXVECTOR3 normal, tangent, binormal;
  TriangleTangentFrame(c[0], c[1], c[2], true, &normal, &tangent, &binormal);
  D3DXMATRIX turn;
  D3DXMatrixRotationAxis(&turn, &normal, angle);
  D3DXVec3TransformCoord(&tangent, &tangent, &turn);
  D3DXVec3Normalize(&tangent, &tangent);

  SDxDecal* decal = new SDxDecal;
  decal->BuildClipBox(surfaceOffset, local, normal, width, height, texture, surfaceOffset, tangent);
  if (m_kind == KIND_SHAPE) {
    decal->ClipShape(static_cast<SDxShape*>(this));
  } else {
    decal->ClipMesh(static_cast<SDxMesh*>(this));
  }
  if (decal->GetVertexCount() == 0 || m_decals.Add(decal) < 0) {
    delete decal;
    return false;
  }
  decal->ComputeTexCoords();
  if (m_decals.GetCount() == 1) {
    m_decalTexture = texture;
  } else if (m_decalTexture != texture) {
    m_decalTexture = nullptr;
  }
  RebuildDecalBuffer();
  return true;
}

void SDxObject::ReleaseDecals() {
  m_decals.DeleteAndRemoveAll();
  if (m_decalBuffer) m_decalBuffer->Release();
  m_decalBuffer = nullptr;
  m_decalTriangles = 0;
  m_decalTexture = nullptr;
}

bool SDxObject::RebuildDecalBuffer() {
  if (m_decalBuffer) m_decalBuffer->Release();
  m_decalBuffer = nullptr;
  m_decalTriangles = 0;
  int triangles = 0;
  for (int i = 0; i < m_decals.GetCount(); ++i) triangles += m_decals[i]->GetTriangleCount();
  if (triangles == 0 || !m_device) return false;
  IDirect3DVertexBuffer9* buffer = nullptr;
  if (FAILED(m_device->CreateVertexBuffer((UINT)triangles * 3 * sizeof(SDxVertex),
                                          D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &buffer,
                                          nullptr)) ||
      !buffer) {
    return false;
  }
  SDxVertex* vertices = nullptr;
  if (FAILED(buffer->Lock(0, 0, (void**)&vertices, 0)) || !vertices) {
    buffer->Release();
    return false;
  }
  for (int i = 0; i < m_decals.GetCount(); ++i) vertices = m_decals[i]->WriteVertices(vertices);
  buffer->Unlock();
  m_decalBuffer = buffer;
  m_decalTriangles = triangles;
  return true;
}

void SDxObject::RenderDecals(SDxShader* shader) {
  if (m_hidden || !m_decalBuffer || !m_engine || !shader ||
      shader != (SDxShader*)m_engine->m_shaderGBuffer) {
    return;
  }
  const D3DMATERIAL9* material = GetMaterial();
  if (!material) material = &m_engine->m_defaultMaterial;
  SDxEffect* effect = shader->m_effect;
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  m_device->SetVertexDeclaration(m_engine->m_vertexDeclaration);
  m_device->SetStreamSource(0, m_decalBuffer, 0, sizeof(SDxVertex));
  shader->SetWorld(m_world, 0);
  // One draw with the shared texture, else one per decal.
  int first = 0;
  for (int i = 0; i < m_decals.GetCount(); ++i) {
    SDxTexture* texture = m_decalTexture ? m_decalTexture : m_decals[i]->GetTexture();
    int count = m_decalTexture ? m_decalTriangles : m_decals[i]->GetTriangleCount();
    m_engine->SetBlendMode(texture);
    shader->SetMaterial(texture, *material);
    if (effect) effect->CommitChanges();
    m_device->DrawPrimitive(D3DPT_TRIANGLELIST, 3 * (UINT)first, (UINT)count);
    m_engine->ResetBlendMode();
    first += count;
    if (m_decalTexture) break;
  }
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
}

void SDxLayer::RenderDecals(bool plainLists) {
  if (!m_active || !m_engine) return;
  SDxShader* shader = m_engine->m_shaderGBuffer;
  SDxEffect* effect = shader ? shader->m_effect : nullptr;
  UINT passes = 0;
  bool begun = effect && effect->Begin(&passes, 0);
  bool inPass = begun && effect->BeginPass(0);
  if (plainLists) {
    const int lists[] = {LIST_SHAPES, LIST_MESHES};
    for (int list : lists) {
      SArray<SDxLayerItem*>& l = m_lists[list];
      for (int i = 0; i < l.GetCount(); ++i) static_cast<SDxObject*>(l[i])->RenderDecals(shader);
    }
  } else {
    for (int i = 0; i < m_ordered.GetCount(); ++i) {
      int kind = m_ordered[i]->m_kind;
      if (kind == SDxLayerItem::KIND_MESH || kind == SDxLayerItem::KIND_SHAPE) {
        static_cast<SDxObject*>(m_ordered[i])->RenderDecals(shader);
      }
    }
  }
  if (inPass) effect->EndPass();
  if (begun) effect->End();
}
