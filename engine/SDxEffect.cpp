#include "core/Platform.h"
#include "engine/SDxEffect.h"

SDxEffect::SDxEffect(IDirect3DDevice9* device)
    : m_device(device),
      m_created(false),
      m_rowMajor(false),
      m_current(nullptr),
      m_begun(false),
      m_pass(-1) {
  if (m_device) m_device->AddRef();
}

SDxEffect::~SDxEffect() {
  Release();
  m_parameters.FreeBuffer();
  m_samplers.FreeBuffer();
  m_techniques.FreeBuffer();
  m_savedTextures.FreeBuffer();
  m_savedStates.FreeBuffer();
  if (m_device) m_device->Release();
}

void SDxEffect::Release() {
  if (m_begun) End();
  for (int i = 0; i < m_parameters.GetCount(); ++i) {
    _SParameter* p = m_parameters[i];
    if (p->texture) p->texture->Release();
    delete p;
  }
  m_parameters.RemoveAll();
  for (int i = 0; i < m_samplers.GetCount(); ++i) delete m_samplers[i];
  m_samplers.RemoveAll();
  for (int i = 0; i < m_techniques.GetCount(); ++i) {
    _STechnique* t = m_techniques[i];
    for (int j = 0; j < t->passes.GetCount(); ++j) {
      _SPass* pass = t->passes[j];
      if (pass->vertexShader) pass->vertexShader->Release();
      if (pass->pixelShader) pass->pixelShader->Release();
      delete pass;
    }
    delete t;
  }
  m_techniques.RemoveAll();
  m_current = nullptr;
  m_begun = false;
  m_pass = -1;
  m_created = false;
}

// --- look-up -----------------------------------------------------------------

int SDxEffect::FindParameterIndex(const char* name) const {
  if (!name) return -1;
  for (int i = 0; i < m_parameters.GetCount(); ++i) {
    if (m_parameters[i]->name == name) return i;
  }
  return -1;
}

SDxEffect::Handle SDxEffect::GetParameterByName(const char* name) const {
  int i = FindParameterIndex(name);
  return i < 0 ? nullptr : m_parameters[i];
}

SDxEffect::Handle SDxEffect::GetTechniqueByName(const char* name) const {
  if (!name) return nullptr;
  for (int i = 0; i < m_techniques.GetCount(); ++i) {
    if (m_techniques[i]->name == name) return m_techniques[i];
  }
  return nullptr;
}

SDxEffect::_SParameter* SDxEffect::FindParameter(Handle handle) const {
  if (!handle) return nullptr;
  for (int i = 0; i < m_parameters.GetCount(); ++i) {
    if (m_parameters[i] == handle) return m_parameters[i];
  }
  return nullptr;
}

SDxEffect::_STechnique* SDxEffect::FindTechnique(Handle handle) const {
  if (!handle) return nullptr;
  for (int i = 0; i < m_techniques.GetCount(); ++i) {
    if (m_techniques[i] == handle) return m_techniques[i];
  }
  return nullptr;
}

IDirect3DVertexShader9* SDxEffect::GetVertexShader(Handle technique, UINT pass) const {
  _STechnique* t = FindTechnique(technique);
  if (!t || pass >= (UINT)t->passes.GetCount()) return nullptr;
  return t->passes[pass]->vertexShader;
}

bool SDxEffect::SetTechnique(Handle technique) {
  _STechnique* t = FindTechnique(technique);
  if (!t || m_begun) return false;
  m_current = t;
  return true;
}

// --- values ------------------------------------------------------------------

void SDxEffect::Store(_SParameter* p, int index, float value) {
  if (p->type == TYPE_BOOL) {
    value = value != 0.0f ? 1.0f : 0.0f;
  } else if (p->type == TYPE_INT) {
    value = (float)(int)value;
  }
  if (p->values[index] != value) p->dirty = true;
  p->values[index] = value;
}

bool SDxEffect::SetFloat(Handle parameter, float value) {
  _SParameter* p = FindParameter(parameter);
  if (!p || p->type == TYPE_TEXTURE) return false;
  Store(p, 0, value);
  return true;
}

bool SDxEffect::SetInt(Handle parameter, int value) {
  _SParameter* p = FindParameter(parameter);
  if (!p || p->type == TYPE_TEXTURE) return false;
  Store(p, 0, p->type == TYPE_BOOL ? (value != 0 ? 1.0f : 0.0f) : (float)value);
  return true;
}

bool SDxEffect::SetBool(Handle parameter, bool value) { return SetInt(parameter, value ? 1 : 0); }

bool SDxEffect::SetVector(Handle parameter, const D3DXVECTOR4* value) {
  _SParameter* p = FindParameter(parameter);
  if (!p || !value || p->type == TYPE_TEXTURE || p->rows != 1) return false;
  const float* v = *value;
  int n = p->columns < 4 ? p->columns : 4;
  for (int i = 0; i < n; ++i) Store(p, i, v[i]);
  return true;
}

bool SDxEffect::SetMatrix(Handle parameter, const D3DXMATRIX* value) {
  _SParameter* p = FindParameter(parameter);
  if (!p || !value || p->type != TYPE_FLOAT || p->rows < 2) return false;
  for (int r = 0; r < p->rows; ++r) {
    for (int c = 0; c < p->columns; ++c) Store(p, r * p->columns + c, value->m[r][c]);
  }
  return true;
}

bool SDxEffect::SetFloatArray(Handle parameter, const float* values, int count) {
  _SParameter* p = FindParameter(parameter);
  if (!p || !values || count < 0 || p->type == TYPE_TEXTURE) return false;
  if (count > p->values.GetCount()) count = p->values.GetCount();
  for (int i = 0; i < count; ++i) Store(p, i, values[i]);
  return true;
}

bool SDxEffect::SetTexture(Handle parameter, IDirect3DBaseTexture9* texture) {
  _SParameter* p = FindParameter(parameter);
  if (!p || p->type != TYPE_TEXTURE) return false;
  if (texture == p->texture) return true;
  if (texture) texture->AddRef();
  if (p->texture) p->texture->Release();
  p->texture = texture;
  p->dirty = true;
  return true;
}

bool SDxEffect::GetFloat(Handle parameter, float* value) const {
  _SParameter* p = FindParameter(parameter);
  if (!p || !value || p->type == TYPE_TEXTURE) return false;
  *value = p->values[0];
  return true;
}

bool SDxEffect::GetVector(Handle parameter, D3DXVECTOR4* value) const {
  _SParameter* p = FindParameter(parameter);
  if (!p || !value || p->type == TYPE_TEXTURE || p->rows != 1) return false;
  float* v = *value;
  for (int i = 0; i < 4; ++i) v[i] = i < p->columns ? p->values[i] : 0.0f;
  return true;
}

IDirect3DBaseTexture9* SDxEffect::GetTexture(Handle parameter) const {
  _SParameter* p = FindParameter(parameter);
  return p && p->type == TYPE_TEXTURE ? p->texture : nullptr;
}

// --- drawing -----------------------------------------------------------------

int SDxEffect::RegistersPerElement(const _SParameter& p) {
  if (p.rows == 1) return 1;
  return p.rowMajor ? p.rows : p.columns;
}

void SDxEffect::Upload(_SParameter* p, int stage) {
  const _SRegister& r = p->registers[stage];
  if (!r.kind) return;
  bool vertex = stage == STAGE_VERTEX;
  int perElement = RegistersPerElement(*p);
  int count = perElement * p->elements;
  int size = p->rows * p->columns;
  if (r.kind == 'c') {
    float data[4 * 64];
    float* packed = count <= 64 ? data : new float[4 * count];
    memset(packed, 0, sizeof(float) * 4 * count);
    for (int e = 0; e < p->elements; ++e) {
      const float* v = &p->values[e * size];
      float* out = packed + 4 * perElement * e;
      if (p->rows == 1) {
        for (int c = 0; c < p->columns; ++c) out[c] = v[c];
      } else if (p->rowMajor) {
        for (int i = 0; i < p->rows; ++i) {
          for (int c = 0; c < p->columns; ++c) out[4 * i + c] = v[i * p->columns + c];
        }
      } else {
        for (int c = 0; c < p->columns; ++c) {
          for (int i = 0; i < p->rows; ++i) out[4 * c + i] = v[i * p->columns + c];
        }
      }
    }
    if (vertex) {
      m_device->SetVertexShaderConstantF(r.index, packed, count);
    } else {
      m_device->SetPixelShaderConstantF(r.index, packed, count);
    }
    if (packed != data) delete[] packed;
  } else if (r.kind == 'b') {
    BOOL data[16];
    for (int e = 0; e < p->elements && e < 16; ++e) data[e] = p->values[e * size] != 0.0f;
    if (vertex) {
      m_device->SetVertexShaderConstantB(r.index, data, p->elements);
    } else {
      m_device->SetPixelShaderConstantB(r.index, data, p->elements);
    }
  } else if (r.kind == 'i') {
    int data[4 * 16];
    memset(data, 0, sizeof(data));
    for (int e = 0; e < p->elements && e < 16; ++e) {
      for (int c = 0; c < p->columns && c < 4; ++c) data[4 * e + c] = (int)p->values[e * size + c];
    }
    if (vertex) {
      m_device->SetVertexShaderConstantI(r.index, data, p->elements);
    } else {
      m_device->SetPixelShaderConstantI(r.index, data, p->elements);
    }
  }
}

void SDxEffect::BindSampler(_SSampler* s, bool statesToo) {
  if (s->texture >= 0) m_device->SetTexture(s->index, m_parameters[s->texture]->texture);
  if (!statesToo) return;
  for (int i = 0; i + 1 < s->states.GetCount(); i += 2) {
    m_device->SetSamplerState(s->index, (D3DSAMPLERSTATETYPE)s->states[i], s->states[i + 1]);
  }
}

void SDxEffect::SaveSamplers() {
  // Sized once: the samplers do not change after Create.
  int stateCount = 0;
  for (int i = 0; i < m_samplers.GetCount(); ++i)
    stateCount += m_samplers[i]->states.GetCount() / 2;
  if (m_savedTextures.GetCount() != m_samplers.GetCount())
    m_savedTextures.SetSize(m_samplers.GetCount(), false);
  if (m_savedStates.GetCount() != stateCount) m_savedStates.SetSize(stateCount, false);
  if (m_savedTextures.GetCount() != m_samplers.GetCount() || m_savedStates.GetCount() != stateCount)
    return;
  int at = 0;
  for (int i = 0; i < m_samplers.GetCount(); ++i) {
    _SSampler* s = m_samplers[i];
    IDirect3DBaseTexture9* texture = nullptr;
    if (s->texture >= 0 && FAILED(m_device->GetTexture(s->index, &texture))) texture = nullptr;
    m_savedTextures[i] = texture;
    for (int j = 0; j + 1 < s->states.GetCount(); j += 2) {
      DWORD value = 0;
      if (FAILED(m_device->GetSamplerState(s->index, (D3DSAMPLERSTATETYPE)s->states[j], &value)))
        value = s->states[j + 1];
      m_savedStates[at++] = value;
    }
  }
  m_saved = true;
}

void SDxEffect::RestoreSamplers() {
  if (!m_saved) return;
  m_saved = false;
  int at = 0;
  for (int i = 0; i < m_samplers.GetCount() && i < m_savedTextures.GetCount(); ++i) {
    _SSampler* s = m_samplers[i];
    IDirect3DBaseTexture9* texture = m_savedTextures[i];
    if (s->texture >= 0) {
      // Only what the effect changed goes back.
      if (texture != m_parameters[s->texture]->texture) m_device->SetTexture(s->index, texture);
      if (texture) texture->Release();
    }
    for (int j = 0; j + 1 < s->states.GetCount() && at < m_savedStates.GetCount(); j += 2) {
      DWORD value = m_savedStates[at++];
      if (value != s->states[j + 1]) {
        m_device->SetSamplerState(s->index, (D3DSAMPLERSTATETYPE)s->states[j], value);
      }
    }
  }
}

bool SDxEffect::Begin(UINT* passes, DWORD flags) {
  if (!m_created || !m_current || m_begun) return false;
  if (!(flags & (D3DXFX_DONOTSAVESTATE | D3DXFX_DONOTSAVESAMPLERSTATE))) SaveSamplers();
  m_begun = true;
  m_pass = -1;
  if (passes) *passes = (UINT)m_current->passes.GetCount();
  return true;
}

bool SDxEffect::BeginPass(UINT pass) {
  if (!m_begun || m_pass >= 0 || pass >= (UINT)m_current->passes.GetCount()) return false;
  _SPass* p = m_current->passes[pass];
  m_device->SetVertexShader(p->vertexShader);
  m_device->SetPixelShader(p->pixelShader);
  for (int i = 0; i < m_parameters.GetCount(); ++i) {
    _SParameter* parameter = m_parameters[i];
    if (p->vertexShader) Upload(parameter, STAGE_VERTEX);
    if (p->pixelShader) Upload(parameter, STAGE_PIXEL);
    parameter->dirty = false;
  }
  for (int i = 0; i < m_samplers.GetCount(); ++i) BindSampler(m_samplers[i], true);
  m_pass = (int)pass;
  return true;
}

bool SDxEffect::CommitChanges() {
  if (!m_begun || m_pass < 0) return false;
  _SPass* p = m_current->passes[m_pass];
  for (int i = 0; i < m_parameters.GetCount(); ++i) {
    _SParameter* parameter = m_parameters[i];
    if (!parameter->dirty) continue;
    if (p->vertexShader) Upload(parameter, STAGE_VERTEX);
    if (p->pixelShader) Upload(parameter, STAGE_PIXEL);
  }
  for (int i = 0; i < m_samplers.GetCount(); ++i) {
    _SSampler* s = m_samplers[i];
    if (s->texture >= 0 && m_parameters[s->texture]->dirty) BindSampler(s, false);
  }
  for (int i = 0; i < m_parameters.GetCount(); ++i) m_parameters[i]->dirty = false;
  return true;
}

bool SDxEffect::EndPass() {
  if (!m_begun || m_pass < 0) return false;
  m_pass = -1;
  return true;
}

bool SDxEffect::End() {
  if (!m_begun) return false;
  m_begun = false;
  m_pass = -1;
  m_device->SetVertexShader(nullptr);
  m_device->SetPixelShader(nullptr);
  RestoreSamplers();
  return true;
}
