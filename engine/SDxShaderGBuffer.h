// The object effect of the lit path: fills the G-buffer (colour, normal and
// eye distance, object id) and writes the picture lit by the engine's
// directional light.
#pragma once

#include "core/Platform.h"
#include "engine/SDxShader.h"

class SDxShaderGBuffer : public SDxShader {
public:
  explicit SDxShaderGBuffer(SDx* engine);
  ~SDxShaderGBuffer() override;

  // "g_view" = inverse of the engine's view; "g_worldAmbientColor";
  // "g_lightDirection" = (direction, 0); "g_lightColor".
  void SetFrameParameters() override;
  // "g_world" = world; "g_worldViewProj" = world x view-projection;
  // "g_idObj" = the object id.
  void SetWorld(const D3DXMATRIX& world, int objectId) override;
  // "g_ambientColor", "g_diffuseColor", "g_specularColor" = the material's
  // colours. Without a texture object both textures are none and both flags
  // false; with one, its texture and its normal map's texture, each flag
  // telling whether that texture is present.
  void SetMaterial(SDxTexture* texture, const D3DMATERIAL9& material) override;
  // Inside a begun pass, with the material set and committed: the whole
  // geometry once for each world matrix and object id, in one instanced
  // draw with the vertex shader of "Instanced", as SetWorld and one draw of
  // every face for each in turn would draw it. False, drawing nothing,
  // when the geometry has more than one subset or the device cannot.
  bool DrawInstances(ID3DXMesh* geometry, const D3DXMATRIX* const* worlds, const int* objectIds,
                     int count);
  void Release() override;

  SDxEffect::Handle m_view;
  SDxEffect::Handle m_world;
  SDxEffect::Handle m_worldAmbientColor;
  SDxEffect::Handle m_lightDirection;
  SDxEffect::Handle m_lightColor;
  SDxEffect::Handle m_ambientColor;
  SDxEffect::Handle m_diffuseColor;
  SDxEffect::Handle m_specularColor;
  SDxEffect::Handle m_hasColorMap;
  SDxEffect::Handle m_hasNormalMap;
  SDxEffect::Handle m_glossiness;
  SDxEffect::Handle m_brightness;
  SDxEffect::Handle m_contrast;
  SDxEffect::Handle m_idObj;
  SDxEffect::Handle m_instanced;

protected:
  void BindHandles(SDxEffect* effect) override;

private:
  // What one instance sends: the registers c0 to c3 (world x
  // view-projection), c4 to c6 (world) and c12 (object id) as SetWorld
  // fills them.
  struct _SInstance {
    float registers[8][4];
  };
  void ReleaseInstancing();

  IDirect3DVertexBuffer9* m_instances = nullptr;
  int m_instanceCapacity = 0;
  // The declaration of a geometry's vertices plus the instance stream, and
  // the geometry declaration it was made for.
  IDirect3DVertexDeclaration9* m_instancedDeclaration = nullptr;
  D3DVERTEXELEMENT9 m_declaredFor[MAX_FVF_DECL_SIZE];
};
