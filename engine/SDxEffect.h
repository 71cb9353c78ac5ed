// The engine's effects: parameters, sampler states and techniques of passes,
// read from an effect text whose shaders are written in the Direct3D shader
// assembly language and assembled with D3DXAssembleShader.
//
// An effect text reads like a D3DX effect file:
//
//   float4x4 g_worldViewProj : register(vs, c0);
//   float g_alpha : register(ps, c2) = 1.0;
//   bool g_hasColorMap : register(ps, b0) = false;
//   texture g_colorTexture;
//   sampler2D s_color : register(s0) = sampler_state {
//     Texture = <g_colorTexture>; AddressU = Clamp; MinFilter = Point;
//   };
//   technique Default {
//     pass p0 {
//       VertexShader = asm { vs_3_0 ... };
//       PixelShader = asm { ps_3_0 ... };
//     }
//   }
//
// Parameter types: float, float2 to float4, floatRxC (R, C from 1 to 4), int,
// int2 to int4, bool, texture; a parameter may be an array ("float2
// g_offsets[16]"); "row_major" or "column_major" before the type overrides
// the packing that Create was given. A parameter is bound to a shader
// register with ": register(cN)" (every stage), ": register(vs, cN)" or
// ": register(ps, cN)"; c registers take floats (ints and bools converted),
// b registers bools and i registers int4 values. Each element of a vector
// type takes one register; a matrix takes one register per column when packed
// by columns and one per row when packed by rows. Initial values follow "=":
// a number, true or false, "{ ... }" or "floatN(...)". A parameter without a
// register is kept and can be set, but no shader reads it.
//
// Samplers ("sampler" or "sampler2D") need an s register; their states are
// AddressU/V/W, BorderColor, MagFilter, MinFilter, MipFilter, MipMapLodBias,
// MaxMipLevel, MaxAnisotropy, SRGBTexture and Texture (the texture parameter
// in angle brackets or parentheses). A sampler without a Texture state binds
// no texture: it reads whatever texture stage holds.
//
// Passes name their shaders with "VertexShader = asm { ... };" and
// "PixelShader = asm { ... };"; a pass without a vertex shader draws with
// pre-transformed vertices. Comments are "//" and "/* */", and inside an asm
// block also ";" to the end of the line.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

#include <d3d9.h>
#include <d3dx9.h>

class SDxEffect {
public:
  // A parameter or a technique of this effect, or null. Every operation
  // ignores null and a handle of another effect.
  typedef const void* Handle;

  explicit SDxEffect(IDirect3DDevice9* device);
  virtual ~SDxEffect();

  // Reads length bytes of text (no NUL needed), assembles and creates the
  // shaders. flags: D3DXSHADER_PACKMATRIX_ROWMAJOR packs matrices by rows,
  // otherwise they are packed by columns. False on any error, with nothing
  // kept and the message in GetErrors. The first technique becomes current.
  bool Create(const char* text, int length, DWORD flags);
  // Releases the shaders and textures and forgets everything the text made.
  void Release();
  bool IsCreated() const { return m_created; }
  // The message of the last failed Create ("line n: ..." or the
  // assembler's text), empty after a successful one.
  const SString& GetErrors() const { return m_errors; }
  IDirect3DDevice9* GetDevice() const { return m_device; }

  Handle GetParameterByName(const char* name) const;
  Handle GetTechniqueByName(const char* name) const;
  bool SetTechnique(Handle technique);
  Handle GetCurrentTechnique() const { return m_current; }
  // The vertex shader of a pass of a technique (no reference added), null
  // for none: a caller inside a begun pass may draw with another pass's
  // vertex shader and the current pass's pixel shader and parameters.
  IDirect3DVertexShader9* GetVertexShader(Handle technique, UINT pass) const;

  // Setters convert between float, int and bool as D3DX does; each marks the
  // parameter for the next BeginPass or CommitChanges. False for a null or
  // foreign handle or a parameter of another kind.
  bool SetFloat(Handle parameter, float value);
  bool SetInt(Handle parameter, int value);
  bool SetBool(Handle parameter, bool value);
  // The first min(4, columns) components of a scalar or vector parameter.
  bool SetVector(Handle parameter, const D3DXVECTOR4* value);
  // The top-left rows x columns of the matrix into a matrix parameter.
  bool SetMatrix(Handle parameter, const D3DXMATRIX* value);
  // Up to count values in declaration order (rows first, then elements).
  bool SetFloatArray(Handle parameter, const float* values, int count);
  // Holds a reference to the texture; null unbinds it.
  bool SetTexture(Handle parameter, IDirect3DBaseTexture9* texture);
  bool GetFloat(Handle parameter, float* value) const;
  bool GetVector(Handle parameter, D3DXVECTOR4* value) const;
  IDirect3DBaseTexture9* GetTexture(Handle parameter) const;

  // Begin answers the pass count of the current technique and saves the
  // device's textures and sampler states that the samplers set (unless flags
  // hold D3DXFX_DONOTSAVESTATE or D3DXFX_DONOTSAVESAMPLERSTATE); BeginPass
  // sets the pass's shaders, every bound parameter and every sampler;
  // CommitChanges sends what was set since; End leaves no shader set and
  // restores what Begin saved. False out of order.
  bool Begin(UINT* passes, DWORD flags = 0);
  bool BeginPass(UINT pass);
  bool CommitChanges();
  bool EndPass();
  bool End();
  // Between BeginPass and EndPass: a caller that finds the effect already
  // begun (an outer pass over many items) sets its parameters, commits and
  // draws inside that pass.
  bool IsInPass() const { return m_begun && m_pass >= 0; }

private:
  enum { STAGE_VERTEX = 0, STAGE_PIXEL = 1, STAGE_COUNT = 2 };
  enum { TYPE_FLOAT, TYPE_INT, TYPE_BOOL, TYPE_TEXTURE };

  struct _SRegister {
    char kind;  // 'c', 'b', 'i' or 0 for none
    int index;
  };
  struct _SParameter {
    SString name;
    int type;
    int rows, columns, elements;
    bool rowMajor;
    _SRegister registers[STAGE_COUNT];
    SArray<float> values;  // rows x columns x elements, row by row
    IDirect3DBaseTexture9* texture;
    bool dirty;  // changed since it was last sent to the device
  };
  struct _SSampler {
    SString name;
    int index;             // s register
    int texture;           // parameter index, -1 for none
    SArray<DWORD> states;  // pairs of D3DSAMPLERSTATETYPE and value
  };
  struct _SPass {
    SString name;
    IDirect3DVertexShader9* vertexShader;
    IDirect3DPixelShader9* pixelShader;
  };
  struct _STechnique {
    SString name;
    SArray<_SPass*> passes;
  };
  class _SReader;

  SDxEffect(const SDxEffect&) = delete;
  SDxEffect& operator=(const SDxEffect&) = delete;

  // Reading (SDxEffectParse.cpp). Each returns false with m_errors set.
  bool Parse(_SReader& reader);
  bool ParseParameter(_SReader& reader);
  bool ParseSampler(_SReader& reader);
  bool ParseTechnique(_SReader& reader);
  bool ParseShader(_SReader& reader, _SPass* pass, bool vertex);
  bool ParseInitialValues(_SReader& reader, _SParameter* parameter);
  bool CheckRegisters();
  bool Fail(const _SReader& reader, const char* format, ...);

  _SParameter* FindParameter(Handle handle) const;
  _STechnique* FindTechnique(Handle handle) const;
  int FindParameterIndex(const char* name) const;
  // The number of registers one element of the parameter takes.
  static int RegistersPerElement(const _SParameter& p);
  void Upload(_SParameter* p, int stage);
  void BindSampler(_SSampler* s, bool statesToo);
  void SaveSamplers();
  void RestoreSamplers();
  // Stores a value (bools and ints as the register takes them); a changed
  // value marks the parameter dirty. A value set again unchanged is not sent
  // again: BeginPass sends every parameter, and inside a pass nothing else
  // sets the effect's registers.
  static void Store(_SParameter* p, int index, float value);

  IDirect3DDevice9* m_device;
  bool m_created;
  bool m_rowMajor;
  SString m_errors;
  SArray<_SParameter*> m_parameters;
  SArray<_SSampler*> m_samplers;
  SArray<_STechnique*> m_techniques;
  _STechnique* m_current;
  // What Begin saved: per sampler its stage's texture (referenced; null
  // for a sampler without a texture), and the values of its states in order.
  bool m_saved = false;
  SArray<IDirect3DBaseTexture9*> m_savedTextures;
  SArray<DWORD> m_savedStates;
  bool m_begun;
  int m_pass;  // -1 outside BeginPass/EndPass
};
