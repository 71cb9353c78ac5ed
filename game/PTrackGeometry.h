// The numbers of the generated track pieces, computed without a device:
// the corner tables that the platform entities take as collision boxes,
// the texture inset of a piece's front face, and the textured triangles of
// the wall, jumper and piston pieces. The game object's builders
// (PGameTrack.cpp) turn these triangles into shapes and meshes.
//
// Coordinates: the tube's axis is z; a point at radius r and angle a lies at
// x = r sin a, y = r cos a; a piece is built for the cell from angle 0 to
// pi/8 and spans z 0 to its height.
#pragma once

#include "core/Platform.h"

#include <d3dx9.h>

// One textured triangle of a piece; role tells which of the piece's
// textures it takes.
struct PPieceTriangle {
  D3DXVECTOR3 points[3];
  D3DXVECTOR2 uvs[3];
  int role;
};

class PTrackGeometry {
public:
  // Texture roles of a piece's faces.
  enum { ROLE_FRONT, ROLE_SIDE, ROLE_INNER, ROLE_OUTER, ROLE_RAMP, ROLE_COUNT };
  // Most triangles any piece has.
  enum { MAX_TRIANGLES = 12 };
  // The corner angles of every piece but the piston.
  static const float kCellAngle;

  // Corners 0..3 on the outer radius r0, 4..7 on the inner radius r1;
  // 0, 2, 4, 6 at the angle edgeS, the others at edge0; 0, 1, 4, 5 at z = h,
  // the others at z = 0.
  static void FillCorners(D3DXVECTOR3 corners[8], float r0, float r1, float h, float edge0,
                          float edgeS);
  // ((|P2 - P3| - |P6 - P7|) / 2) / |P2 - P3|; 0 for a zero outer edge.
  static float Inset(const D3DXVECTOR3 corners[8]);

  // Wall kinds 0, 1, 3, 4, 6: radii and height, then the triangles (front,
  // back, inner face, the two sides and, for kinds 3 and 4, the outer face).
  // The medieval flag maps the front's full texture width (kind 6 keeps its
  // inset). Returns the triangle count.
  static void WallCorners(int kind, D3DXVECTOR3 corners[8]);
  static int WallTriangles(int kind, bool medieval, PPieceTriangle* out);
  // The ramp: its points 6 and 7 equal points 2 and 3.
  static void JumperCorners(D3DXVECTOR3 corners[8]);
  static int JumperTriangles(PPieceTriangle* out);
  // The ram, with the edge angles 0.01 and 0.38268343; no back face.
  static void PistonCorners(D3DXVECTOR3 corners[8]);
  static int PistonTriangles(PPieceTriangle* out);
  // The corners of a box in the order of the box pieces' corner tables:
  // (x, y, z) at maximum (1) or minimum (0): (1,1,0), (0,1,0), (1,1,1),
  // (0,1,1), (1,0,0), (0,0,0), (1,0,1), (0,0,1).
  static void BoxCorners(const D3DXVECTOR3& min, const D3DXVECTOR3& max, D3DXVECTOR3 corners[8]);
};
