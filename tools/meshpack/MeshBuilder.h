// Collects the triangles of a mesh from simple solids and writes them as a
// DirectX .X text mesh.
//
// Every solid is convex; each of its triangles is wound so that, seen from
// outside, its corners run clockwise (the front faces of Direct3D's left-
// handed space). Solids are placed by their centre, first turned about that
// centre by the current turn, then about the origin by the current rotation
// (angles in degrees, about x, then y, then z). Every corner carries its own
// texture coordinate.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

class SFile;

class MeshBuilder {
public:
  struct Material {
    SString name;
    float diffuse[4];
    float power;
    float specular[3];
    float emissive[3];
    SString texture;  // file name, empty for none
  };

  MeshBuilder();
  ~MeshBuilder();
  MeshBuilder(const MeshBuilder&) = delete;
  MeshBuilder& operator=(const MeshBuilder&) = delete;

  // The material of the solids that follow (an index of the writer's list).
  void SetMaterial(int material) { m_material = material; }
  void SetTurn(double x, double y, double z);
  void SetRotation(double x, double y, double z);

  // Sizes are full extents; segments count the sides around the axis.
  void AddBox(const double centre[3], double width, double height, double depth);
  // A round solid along axis 0 (x), 1 (y) or 2 (z): radius r1 at its lower
  // end and r2 at its upper end (0 makes a point), length from end to end.
  void AddCylinder(const double centre[3], double r1, double r2, double length, int segments, int axis);
  void AddSphere(const double centre[3], const double radii[3], int segments, int rings);

  int GetVertexCount() const { return m_vertices.GetCount(); }
  int GetFaceCount() const { return m_faces.GetCount(); }
  // The size of the bounding box along each axis.
  void GetExtent(double extent[3]) const;
  // The .X text with the materials given (each face names one by index).
  void WriteX(SFile* file, const SArray<Material*>& materials) const;

private:
  struct Vertex {
    double p[3];
    double uv[2];
  };
  struct Face {
    int v[3];
    int material;
  };
  struct Corner {
    double p[3];  // relative to the solid's centre, before the turn
    double uv[2];
  };

  // A polygon of 3 or 4 corners of the current solid, fanned into
  // triangles; degenerate triangles are dropped.
  void AddPolygon(const Corner* corners, int n);
  void Place(const double local[3], double out[3]) const;
  static void Turn(const double angles[3], const double in[3], double out[3]);

  SArray<Vertex> m_vertices;
  SArray<Face> m_faces;
  int m_material;
  double m_turn[3];
  double m_rotation[3];
  double m_centre[3];  // the current solid's centre
};
