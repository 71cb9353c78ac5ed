#include "core/Platform.h"
#include "tools/meshpack/MeshDescription.h"

#include "core/SFile.h"
#include "core/SFileMem.h"
#include "tools/common/DescriptionReader.h"
#include "tools/meshpack/TextureImage.h"

#include <ctype.h>

namespace {

const char kMagic[24] = "VANDRO DX3DMESH 1.0.0.0";
// 16-bit indices: every corner is its own vertex.
const int kMaxVertices = 65535;

bool IsIdentifier(const SString& name) {
  if (name.GetLength() == 0 || isdigit((unsigned char)name.GetAt(0))) return false;
  for (int i = 0; i < name.GetLength(); ++i) {
    char c = name.GetAt(i);
    if (!isalnum((unsigned char)c) && c != '_') return false;
  }
  return true;
}

}  // namespace

MeshDescription::MeshDescription() {}

MeshDescription::~MeshDescription() {
  for (int i = 0; i < m_materials.GetCount(); ++i) delete m_materials[i];
  for (int i = 0; i < m_images.GetCount(); ++i) delete m_images[i];
}

bool MeshDescription::ParseTriple(const SString& text, float out[3]) {
  SString rest = text + ",";
  int start = 0;
  for (int i = 0; i < 3; ++i) {
    int comma = rest.FindChar(',', start);
    double v = 0;
    if (comma < 0 || !DescriptionReader::ParseNumber(rest.Mid(start, comma - start).GetText(), v)) return false;
    out[i] = (float)v;
    start = comma + 1;
  }
  return start == rest.GetLength();
}

bool MeshDescription::ReadMaterial(DescriptionReader& reader) {
  if (reader.GetCount() < 6) return reader.Fail("a material needs NAME R G B A");
  MeshBuilder::Material* m = new MeshBuilder::Material();
  m_materials.Add(m);
  m->name = reader.Get(1);
  if (!IsIdentifier(m->name)) return reader.Fail("a material name is letters, digits and '_'");
  for (int i = 0; i < m_materials.GetCount() - 1; ++i)
    if (m_materials[i]->name == m->name) return reader.Fail("material \"%s\" twice", m->name.GetText());
  for (int i = 0; i < 4; ++i) {
    double v = 0;
    if (!reader.GetNumber(2 + i, v)) return false;
    if (v < 0 || v > 1) return reader.Fail("colour parts run from 0 to 1");
    m->diffuse[i] = (float)v;
  }
  m->power = 0;
  for (int i = 0; i < 3; ++i) m->specular[i] = m->emissive[i] = 0;
  for (int i = 6; i < reader.GetCount(); ++i) {
    SString field = reader.Get(i);
    int equals = field.FindChar('=');
    SString key = field.Left(equals), value = field.Mid(equals + 1);
    double power = 0;
    bool ok = equals > 0;
    if (ok && key == "power") {
      ok = DescriptionReader::ParseNumber(value.GetText(), power) && power >= 0;
      m->power = (float)power;
    } else if (ok && key == "specular") {
      ok = ParseTriple(value, m->specular);
    } else if (ok && key == "emissive") {
      ok = ParseTriple(value, m->emissive);
    } else if (ok && key == "texture") {
      m->texture = value;
      ok = value.GetLength() > 0 && value.FindChar('"') < 0;
    } else {
      ok = false;
    }
    if (!ok) return reader.Fail("bad material option \"%s\"", field.GetText());
  }
  return true;
}

bool MeshDescription::ReadSolid(DescriptionReader& reader) {
  SString kind = reader.Get(0);
  if (m_materials.GetCount() == 0) return reader.Fail("a solid needs a material before it");
  double c[3];
  for (int i = 0; i < 3; ++i)
    if (!reader.GetNumber(1 + i, c[i])) return false;
  if (kind == "box") {
    double s[3];
    for (int i = 0; i < 3; ++i)
      if (!reader.GetNumber(4 + i, s[i])) return false;
    if (reader.GetCount() != 7 || s[0] <= 0 || s[1] <= 0 || s[2] <= 0)
      return reader.Fail("a box is X Y Z WIDTH HEIGHT DEPTH, sizes above 0");
    m_builder.AddBox(c, s[0], s[1], s[2]);
    return true;
  }
  if (kind == "cylinder") {
    double r1 = 0, r2 = 0, length = 0;
    int segments = 0;
    if (!reader.GetNumber(4, r1) || !reader.GetNumber(5, r2) || !reader.GetNumber(6, length) ||
        !reader.GetInt(7, segments))
      return false;
    SString axis = reader.Get(8);
    int a = axis == "x" ? 0 : axis == "y" ? 1 : axis == "z" ? 2 : -1;
    if (reader.GetCount() != 9 || a < 0 || r1 < 0 || r2 < 0 || r1 + r2 <= 0 || length <= 0 || segments < 3 ||
        segments > 64)
      return reader.Fail("a cylinder is X Y Z R1 R2 LENGTH SEGMENTS(3-64) AXIS(x, y, z)");
    m_builder.AddCylinder(c, r1, r2, length, segments, a);
    return true;
  }
  double r[3];
  int segments = 0, rings = 0;
  for (int i = 0; i < 3; ++i)
    if (!reader.GetNumber(4 + i, r[i])) return false;
  if (!reader.GetInt(7, segments) || !reader.GetInt(8, rings)) return false;
  if (reader.GetCount() != 9 || r[0] <= 0 || r[1] <= 0 || r[2] <= 0 || segments < 3 || segments > 64 ||
      rings < 2 || rings > 32)
    return reader.Fail("a sphere is X Y Z RX RY RZ SEGMENTS(3-64) RINGS(2-32)");
  m_builder.AddSphere(c, r, segments, rings);
  return true;
}

bool MeshDescription::Read(DescriptionReader& reader) {
  while (reader.Next()) {
    SString kind = reader.Get(0);
    if (kind == "material") {
      if (!ReadMaterial(reader)) return false;
      m_builder.SetMaterial(m_materials.GetCount() - 1);
    } else if (kind == "image") {
      TextureImage* image = new TextureImage();
      m_images.Add(image);
      if (!image->Read(reader)) return false;
      for (int i = 0; i < m_images.GetCount() - 1; ++i)
        if (m_images[i]->GetName().CompareNoCase(image->GetName().GetText()) == 0)
          return reader.Fail("image \"%s\" twice", image->GetName().GetText());
    } else if (kind == "turn" || kind == "rotate") {
      double a[3];
      for (int i = 0; i < 3; ++i)
        if (!reader.GetNumber(1 + i, a[i])) return false;
      if (reader.GetCount() != 4) return reader.Fail("%s takes three angles", kind.GetText());
      if (kind == "turn")
        m_builder.SetTurn(a[0], a[1], a[2]);
      else
        m_builder.SetRotation(a[0], a[1], a[2]);
    } else if (kind == "box" || kind == "cylinder" || kind == "sphere") {
      if (!ReadSolid(reader)) return false;
    } else {
      return reader.Fail("unknown record \"%s\"", kind.GetText());
    }
  }
  // Whole-file checks: everything named exists and the mesh has volume.
  if (m_builder.GetFaceCount() == 0) return reader.Fail("no solids");
  if (m_builder.GetVertexCount() > kMaxVertices) return reader.Fail("more than %d corners", kMaxVertices);
  for (int i = 0; i < m_materials.GetCount(); ++i) {
    const SString& texture = m_materials[i]->texture;
    if (texture.GetLength() == 0) continue;
    bool found = false;
    for (int k = 0; k < m_images.GetCount(); ++k)
      if (m_images[k]->GetName().CompareNoCase(texture.GetText()) == 0) found = true;
    if (!found) return reader.Fail("material \"%s\" names no image of this file", m_materials[i]->name.GetText());
  }
  for (int k = 0; k < m_images.GetCount(); ++k) {
    bool used = false;
    for (int i = 0; i < m_materials.GetCount(); ++i)
      if (m_materials[i]->texture.CompareNoCase(m_images[k]->GetName().GetText()) == 0) used = true;
    if (!used) return reader.Fail("image \"%s\" is used by no material", m_images[k]->GetName().GetText());
  }
  double extent[3];
  m_builder.GetExtent(extent);
  if (extent[0] <= 0 || extent[1] <= 0 || extent[2] <= 0) return reader.Fail("the mesh is flat");
  return true;
}

bool MeshDescription::Write(SFile* file) const {
  if (m_images.GetCount() == 0) {
    m_builder.WriteX(file, m_materials);
    return true;
  }
  SFileMem x;
  x.Allocate(0);
  m_builder.WriteX(&x, m_materials);
  file->WriteData(kMagic, 24);
  file->WriteInt32(28 + (uint32_t)x.GetSize());
  file->WriteData(x.GetBuffer(), x.GetSize());
  for (int i = 0; i < m_images.GetCount(); ++i) {
    SFileMem png;
    png.Allocate(0);
    if (!m_images[i]->WritePng(&png)) return false;
    file->WriteInt32((uint32_t)png.GetSize());
    file->WriteStringZ(m_images[i]->GetName().GetText());
    file->WriteData(png.GetBuffer(), png.GetSize());
  }
  file->WriteInt32(0);
  return true;
}
