#include "core/Platform.h"
#include "tools/meshpack/MeshBuilder.h"

#include "core/SFile.h"

#include <math.h>

namespace {

const double kPi = 3.141592653589793;

// A number as short text: four decimals, trailing zeros dropped, no "-0".
SString Number(double value) {
  char text[64];
  snprintf(text, sizeof(text), "%.4f", value);
  int n = (int)strlen(text);
  while (n > 0 && text[n - 1] == '0') --n;
  if (n > 0 && text[n - 1] == '.') ++n;  // keep one zero after the point
  text[n] = 0;
  if (strcmp(text, "-0.0") == 0) return SString("0.0");
  return SString(text);
}

void Cross(const double a[3], const double b[3], double out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

MeshBuilder::MeshBuilder() : m_material(0) {
  for (int i = 0; i < 3; ++i) m_turn[i] = m_rotation[i] = m_centre[i] = 0;
}

MeshBuilder::~MeshBuilder() {}

void MeshBuilder::SetTurn(double x, double y, double z) {
  m_turn[0] = x;
  m_turn[1] = y;
  m_turn[2] = z;
}

void MeshBuilder::SetRotation(double x, double y, double z) {
  m_rotation[0] = x;
  m_rotation[1] = y;
  m_rotation[2] = z;
}

void MeshBuilder::Turn(const double angles[3], const double in[3], double out[3]) {
  double p[3] = {in[0], in[1], in[2]};
  for (int axis = 0; axis < 3; ++axis) {
    if (angles[axis] == 0) continue;
    double a = angles[axis] * kPi / 180.0, c = cos(a), s = sin(a);
    int i = (axis + 1) % 3, j = (axis + 2) % 3;
    double pi = p[i] * c - p[j] * s, pj = p[i] * s + p[j] * c;
    p[i] = pi;
    p[j] = pj;
  }
  out[0] = p[0];
  out[1] = p[1];
  out[2] = p[2];
}

void MeshBuilder::Place(const double local[3], double out[3]) const {
  double turned[3];
  Turn(m_turn, local, turned);
  for (int i = 0; i < 3; ++i) turned[i] += m_centre[i];
  Turn(m_rotation, turned, out);
}

void MeshBuilder::AddPolygon(const Corner* corners, int n) {
  // The solid's centre: the placed origin of its local frame.
  double centre[3], origin[3] = {0, 0, 0};
  Place(origin, centre);
  Vertex placed[4];
  for (int i = 0; i < n; ++i) {
    Place(corners[i].p, placed[i].p);
    placed[i].uv[0] = corners[i].uv[0];
    placed[i].uv[1] = corners[i].uv[1];
  }
  for (int k = 1; k + 1 < n; ++k) {
    int idx[3] = {0, k, k + 1};
    const double* a = placed[idx[0]].p;
    const double* b = placed[idx[1]].p;
    const double* c = placed[idx[2]].p;
    double ab[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    double ac[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    double normal[3];
    Cross(ab, ac, normal);
    double area = sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    double span = sqrt(ab[0] * ab[0] + ab[1] * ab[1] + ab[2] * ab[2]) +
                  sqrt(ac[0] * ac[0] + ac[1] * ac[1] + ac[2] * ac[2]);
    if (area <= 1e-9 * span * span) continue;
    // The solid is convex and holds its centre: the face points away from it.
    double outward = 0;
    for (int i = 0; i < 3; ++i) outward += normal[i] * ((a[i] + b[i] + c[i]) / 3.0 - centre[i]);
    if (outward < 0) {
      int t = idx[1];
      idx[1] = idx[2];
      idx[2] = t;
    }
    Face face;
    face.material = m_material;
    for (int i = 0; i < 3; ++i) face.v[i] = m_vertices.Add(placed[idx[i]]);
    m_faces.Add(face);
  }
}

void MeshBuilder::AddBox(const double centre[3], double width, double height, double depth) {
  for (int i = 0; i < 3; ++i) m_centre[i] = centre[i];
  double h[3] = {width / 2, height / 2, depth / 2};
  // Each face: the axis it faces along and its sign; corners go round it.
  for (int axis = 0; axis < 3; ++axis) {
    for (int sign = -1; sign <= 1; sign += 2) {
      int i = (axis + 1) % 3, j = (axis + 2) % 3;
      static const double kSquare[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
      Corner corners[4];
      for (int k = 0; k < 4; ++k) {
        corners[k].p[axis] = sign * h[axis];
        corners[k].p[i] = kSquare[k][0] * h[i];
        corners[k].p[j] = kSquare[k][1] * h[j];
        corners[k].uv[0] = (kSquare[k][0] + 1) / 2;
        corners[k].uv[1] = (1 - kSquare[k][1]) / 2;
      }
      AddPolygon(corners, 4);
    }
  }
}

void MeshBuilder::AddCylinder(const double centre[3], double r1, double r2, double length, int segments,
                              int axis) {
  for (int i = 0; i < 3; ++i) m_centre[i] = centre[i];
  // Built along y, then the y coordinate is swapped into the axis.
  auto local = [axis](double x, double y, double z, double out[3]) {
    double p[3] = {x, y, z};
    if (axis != 1) {
      double t = p[1];
      p[1] = p[axis];
      p[axis] = t;
    }
    out[0] = p[0];
    out[1] = p[1];
    out[2] = p[2];
  };
  double lo = -length / 2, hi = length / 2;
  for (int s = 0; s < segments; ++s) {
    double a0 = 2 * kPi * s / segments, a1 = 2 * kPi * (s + 1) / segments;
    double u0 = (double)s / segments, u1 = (double)(s + 1) / segments;
    Corner side[4];
    local(r1 * cos(a0), lo, r1 * sin(a0), side[0].p);
    local(r1 * cos(a1), lo, r1 * sin(a1), side[1].p);
    local(r2 * cos(a1), hi, r2 * sin(a1), side[2].p);
    local(r2 * cos(a0), hi, r2 * sin(a0), side[3].p);
    side[0].uv[0] = u0, side[0].uv[1] = 1;
    side[1].uv[0] = u1, side[1].uv[1] = 1;
    side[2].uv[0] = u1, side[2].uv[1] = 0;
    side[3].uv[0] = u0, side[3].uv[1] = 0;
    AddPolygon(side, 4);
    for (int end = 0; end < 2; ++end) {
      double r = end ? r2 : r1, y = end ? hi : lo;
      if (r <= 0) continue;
      Corner cap[3];
      local(0, y, 0, cap[0].p);
      local(r * cos(a0), y, r * sin(a0), cap[1].p);
      local(r * cos(a1), y, r * sin(a1), cap[2].p);
      cap[0].uv[0] = 0.5, cap[0].uv[1] = 0.5;
      cap[1].uv[0] = 0.5 + 0.5 * cos(a0), cap[1].uv[1] = 0.5 + 0.5 * sin(a0);
      cap[2].uv[0] = 0.5 + 0.5 * cos(a1), cap[2].uv[1] = 0.5 + 0.5 * sin(a1);
      AddPolygon(cap, 3);
    }
  }
}

void MeshBuilder::AddSphere(const double centre[3], const double radii[3], int segments, int rings) {
  for (int i = 0; i < 3; ++i) m_centre[i] = centre[i];
  auto point = [&](int s, int r, Corner& c) {
    double theta = kPi * r / rings, phi = 2 * kPi * s / segments;
    c.p[0] = radii[0] * sin(theta) * cos(phi);
    c.p[1] = radii[1] * cos(theta);
    c.p[2] = radii[2] * sin(theta) * sin(phi);
    c.uv[0] = (double)s / segments;
    c.uv[1] = (double)r / rings;
  };
  for (int r = 0; r < rings; ++r) {
    for (int s = 0; s < segments; ++s) {
      Corner quad[4];
      point(s, r, quad[0]);
      point(s + 1, r, quad[1]);
      point(s + 1, r + 1, quad[2]);
      point(s, r + 1, quad[3]);
      // At the poles one pair of corners meets: use the three distinct ones.
      if (r == 0) {
        Corner tri[3] = {quad[0], quad[2], quad[3]};
        AddPolygon(tri, 3);
      } else if (r == rings - 1) {
        Corner tri[3] = {quad[0], quad[1], quad[2]};
        AddPolygon(tri, 3);
      } else {
        AddPolygon(quad, 4);
      }
    }
  }
}

void MeshBuilder::GetExtent(double extent[3]) const {
  for (int i = 0; i < 3; ++i) {
    double lo = 0, hi = 0;
    for (int v = 0; v < m_vertices.GetCount(); ++v) {
      double x = m_vertices[v].p[i];
      if (v == 0 || x < lo) lo = x;
      if (v == 0 || x > hi) hi = x;
    }
    extent[i] = hi - lo;
  }
}

void MeshBuilder::WriteX(SFile* file, const SArray<Material*>& materials) const {
  SString line;
  file->WriteText("xof 0303txt 0032\r\n\r\nMesh body {\r\n");
  int nv = m_vertices.GetCount(), nf = m_faces.GetCount();
  file->WriteText(line.Format(" %d;\r\n", nv).GetText());
  for (int i = 0; i < nv; ++i) {
    const Vertex& v = m_vertices[i];
    line.Format(" %s;%s;%s;%s\r\n", Number(v.p[0]).GetText(), Number(v.p[1]).GetText(), Number(v.p[2]).GetText(),
                i + 1 < nv ? "," : ";");
    file->WriteText(line.GetText());
  }
  file->WriteText(line.Format(" %d;\r\n", nf).GetText());
  for (int i = 0; i < nf; ++i) {
    const Face& f = m_faces[i];
    line.Format(" 3;%d,%d,%d;%s\r\n", f.v[0], f.v[1], f.v[2], i + 1 < nf ? "," : ";");
    file->WriteText(line.GetText());
  }
  file->WriteText(line.Format("\r\n MeshTextureCoords {\r\n  %d;\r\n", nv).GetText());
  for (int i = 0; i < nv; ++i) {
    const Vertex& v = m_vertices[i];
    line.Format("  %s;%s;%s\r\n", Number(v.uv[0]).GetText(), Number(v.uv[1]).GetText(), i + 1 < nv ? "," : ";");
    file->WriteText(line.GetText());
  }
  file->WriteText(" }\r\n\r\n MeshMaterialList {\r\n");
  file->WriteText(line.Format("  %d;\r\n  %d;\r\n", materials.GetCount(), nf).GetText());
  for (int i = 0; i < nf; ++i) {
    line.Format("  %d%s\r\n", m_faces[i].material, i + 1 < nf ? "," : ";");
    file->WriteText(line.GetText());
  }
  for (int i = 0; i < materials.GetCount(); ++i) {
    const Material& m = *materials[i];
    file->WriteText(line.Format("\r\n  Material %s {\r\n", m.name.GetText()).GetText());
    line.Format("   %s;%s;%s;%s;;\r\n   %s;\r\n   %s;%s;%s;;\r\n   %s;%s;%s;;\r\n", Number(m.diffuse[0]).GetText(),
                Number(m.diffuse[1]).GetText(), Number(m.diffuse[2]).GetText(), Number(m.diffuse[3]).GetText(),
                Number(m.power).GetText(), Number(m.specular[0]).GetText(), Number(m.specular[1]).GetText(),
                Number(m.specular[2]).GetText(), Number(m.emissive[0]).GetText(),
                Number(m.emissive[1]).GetText(), Number(m.emissive[2]).GetText());
    file->WriteText(line.GetText());
    if (m.texture.GetLength() > 0)
      file->WriteText(line.Format("   TextureFilename { \"%s\"; }\r\n", m.texture.GetText()).GetText());
    file->WriteText("  }\r\n");
  }
  file->WriteText(" }\r\n}\r\n");
}
