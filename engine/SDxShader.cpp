#include "core/Platform.h"
#include "engine/SDxShader.h"

#include "engine/SDx.h"
#include "engine/SDxShaderBinding.h"

namespace {

// The handles that every standard effect shares.
const SDxHandleRow<SDxShader> kCommonHandles[] = {
    {&SDxShader::m_worldViewProj, "g_worldViewProj"},
    {&SDxShader::m_alpha, "g_alpha"},
    {&SDxShader::m_colorTexture, "g_colorTexture"},
    {&SDxShader::m_normalTexture, "g_normalTexture"},
    {&SDxShader::m_infoTexture, "g_infoTexture"},
    {&SDxShader::m_previousTexture, "g_previousTexture"},
};

}  // namespace

SDxShader::SDxShader(SDx* engine)
    : m_engine(engine),
      m_device(engine ? engine->m_device : nullptr),
      m_effect(nullptr),
      m_standard(false) {
  SDxShader::Release();
}

SDxShader::~SDxShader() {
  // Only the base part is alive here: release without the subclass's slot.
  SDxShader::Release();
}

void SDxShader::Release() {
  delete m_effect;
  m_effect = nullptr;
  m_technique = nullptr;
  BindHandleTable(this, kCommonHandles, nullptr);
  BindHandles(nullptr);
  m_usesNormal = false;
  m_usesInfo = false;
  m_usesPrevious = false;
  m_enabled = true;
}

void SDxShader::BindHandles(SDxEffect*) {}

bool SDxShader::LeavesPictureUnchanged() const {
  if (!m_effect || !m_unchangedParameter) return false;
  float value = 0.0f;
  return m_effect->GetFloat(m_effect->GetParameterByName(m_unchangedParameter), &value) &&
         value == m_unchangedValue;
}

void SDxShader::SetFrameParameters() {}

void SDxShader::SetWorld(const D3DXMATRIX&, int) {}

void SDxShader::SetMaterial(SDxTexture*, const D3DMATERIAL9&) {}

bool SDxShader::Create(const char* text, bool standard) {
  return Create(text, text ? (int)strlen(text) : 0, standard);
}

bool SDxShader::Create(const char* text, int length, bool standard) {
  m_errors.Set("");
  if (!text || length <= 0) {
    m_errors.Set("empty effect text");
    return false;
  }
  Release();
  SDxEffect* effect = new SDxEffect(m_device);
  if (!effect->Create(text, length,
                      D3DXSHADER_OPTIMIZATION_LEVEL3 | D3DXSHADER_PACKMATRIX_COLUMNMAJOR)) {
    m_errors = effect->GetErrors();
    delete effect;
    return false;
  }
  m_effect = effect;
  m_standard = standard;
  if (!standard) {
    BindHandles(m_effect);
    return true;
  }
  m_technique = m_effect->GetTechniqueByName("Default");
  BindHandleTable(this, kCommonHandles, m_effect);
  if (!m_technique) {
    Release();
    m_errors.Set("the effect has no technique \"Default\"");
    return false;
  }
  m_effect->SetTechnique(m_technique);
  if (m_engine) {
    m_effect->SetFloat(m_effect->GetParameterByName("dx_width"),
                       (float)m_engine->m_backBufferWidth);
    m_effect->SetFloat(m_effect->GetParameterByName("dx_height"),
                       (float)m_engine->m_backBufferHeight);
  }
  BindHandles(m_effect);
  return true;
}

void SDxShader::SetFloat(const char* name, float value) {
  if (m_effect) m_effect->SetFloat(m_effect->GetParameterByName(name), value);
}

SDxEffect::Handle SDxShader::GetParameter(const char* name) {
  return m_effect ? m_effect->GetParameterByName(name) : nullptr;
}

bool TriangleTangentFrame(const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2,
                          bool flip, D3DXVECTOR3* normal, D3DXVECTOR3* tangent,
                          D3DXVECTOR3* binormal) {
  D3DXVECTOR3 a = p0 - p1, b = p2 - p1, n;
  D3DXVec3Cross(&n, &a, &b);
  float length = D3DXVec3Length(&n);
  bool ok = length > 0.0f;
  n = ok ? n / length : D3DXVECTOR3(0.0f, 1.0f, 0.0f);
  if (flip) n = -n;
  D3DXVECTOR3 up(0.0f, 1.0f, 0.0f), forward(0.0f, 0.0f, 1.0f), t1, t2, t, bn;
  D3DXVec3Cross(&t1, &n, &up);
  D3DXVec3Cross(&t2, &n, &forward);
  t = D3DXVec3Length(&t2) < D3DXVec3Length(&t1) ? t1 : t2;
  D3DXVec3Normalize(&t, &t);
  D3DXVec3Cross(&bn, &n, &t);
  D3DXVec3Normalize(&bn, &bn);
  if (normal) *normal = n;
  if (tangent) *tangent = t;
  if (binormal) *binormal = bn;
  return ok;
}
