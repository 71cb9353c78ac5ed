// Track geometry: the tube, its end cap and the boulder stay shapes of the
// scene; every track piece is built as a shape, made into a hidden mesh (the
// source the entity factory instances) and the shape removed.
#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShape.h"
#include "game/PGame.h"
#include "game/PTrackGeometry.h"

#include <float.h>
#include <math.h>
#include <initializer_list>

namespace {

const float kPi = 3.14159265f;
const float kTurn = 6.2831855f;
const bool kAllFaces[6] = {true, true, true, true, true, true};

// A new shape that builds without rebuilding after every triangle.
SDxShape* NewShape(SDxLayer* layer) {
  SDxShape* shape = layer ? layer->AddShape() : nullptr;
  if (shape) shape->SetAutoUpdate(false, false);
  return shape;
}

void AddTriangles(SDxShape* shape, const PPieceTriangle* triangles, int count,
                  SDxTexture* const* roleTextures) {
  for (int i = 0; i < count; ++i) {
    const PPieceTriangle& t = triangles[i];
    SDxTriangle positions;
    positions.Set(t.points[0], t.points[1], t.points[2]);
    SDxTriangleUV uvs;
    uvs.Set(t.uvs[0].x, t.uvs[0].y, t.uvs[1].x, t.uvs[1].y, t.uvs[2].x, t.uvs[2].y);
    shape->AddPolygon(&positions, &uvs, roleTextures[t.role], 1);
  }
}

// The quad from the axis to the rim at angle a (radius 1000) over z0..z1.
void AddEdgeQuad(SDxShape* shape, float a, float z0, float z1, SDxTexture* texture) {
  D3DXVECTOR3 rim(1000 * sinf(a), 1000 * cosf(a), 0);
  D3DXVECTOR3 p[4] = {D3DXVECTOR3(0, 0, z0), D3DXVECTOR3(rim.x, rim.y, z0),
                      D3DXVECTOR3(rim.x, rim.y, z1), D3DXVECTOR3(0, 0, z1)};
  SDxTriangle first, second;
  first.Set(p[0], p[1], p[2]);
  second.Set(p[0], p[2], p[3]);
  SDxTriangleUV uvFirst, uvSecond;
  uvFirst.Set(0, 0, 2, 0, 2, 2);
  uvSecond.Set(0, 0, 2, 2, 0, 2);
  shape->AddPolygon(&first, &uvFirst, texture, 1);
  shape->AddPolygon(&second, &uvSecond, texture, 1);
}

}  // namespace

SDxLayer* PGame::Layer() const { return dx ? dx->GetFirstLayer() : nullptr; }

SDxMesh* PGame::FinishPiece(SDxShape* shape) {
  if (!shape) return nullptr;
  SDxMesh* mesh = shape->CreateMesh(nullptr);
  if (mesh) mesh->SetVisible(false);
  dx->RemoveItem(shape);
  return mesh;
}

void PGame::BuildTrack() {
  SDxLayer* layer = Layer();
  if (!layer) return;
  endCap = NewShape(layer);
  if (endCap) {
    endCap->AddRing(texDark, 2000, 2000, 0, 0, kTurn, 64, true, 0, 0);
    endCap->RotateVertices(-kPi / 2, 0, 0);
    endCap->SetAutoUpdate(true, true);
  }
  tubeSections.RemoveAll();
  for (int i = 0; i < TUBE_SECTIONS; ++i) {
    SDxShape* section = NewShape(layer);
    if (!section) break;
    section->AddCylinder(texGround, 2000, 2000, 2000, 2000, 2000, kTurn, true, 64, -16, 0, 4, false,
                         false, nullptr, nullptr, 8, 0);
    section->RotateVertices(kPi / 2, 0, 0);
    section->SetCulling(true, false);
    section->SetAutoUpdate(true, true);
    section->SetTag(i);
    tubeSections.Add(section);
  }
  boulderShape = NewShape(layer);
  if (boulderShape) {
    boulderShape->AddSphere(texBoulder, texBoulderBlood, 1980, -1, -1, true, true, false, 16, 16);
    boulderShape->SetAutoUpdate(true, true);
  }

  const int wallPieces[6][2] = {{0, 0}, {1, 0}, {0, 1}, {3, 0}, {4, 0}, {6, 0}};
  for (int i = 0; i < 6; ++i) wallMeshes[i] = BuildWallPiece(wallPieces[i][0], wallPieces[i][1]);
  for (int v = 0; v < 2; ++v) jumperMeshes[v] = BuildJumperPiece(v);
  pistonMesh = BuildPistonPiece();
  for (int v = 0; v < 2; ++v) guardDoorMeshes[v] = BuildGuardDoorPiece(v);
  blockerMeshes[0] = BuildBlockerPiece(600);
  blockerMeshes[1] = BuildBlockerPiece(450);
  turboMesh = BuildTurboPiece();
  for (int k = 0; k < 3; ++k) boxMeshes[k] = BuildBoxPiece(k);
  forwardMesh = BuildForwardPiece();
  finishMesh = BuildFinishPiece();
  laserBoltMeshA = BuildLaserBolt(720, texLaser);
  laserBoltMeshB = BuildLaserBolt(750, texLaserShip);
}

SDxMesh* PGame::BuildWallPiece(int kind, int variant) {
  D3DXVECTOR3* table = kind == 3 || kind == 4 ? wallCorners34
                       : kind == 6            ? wallCorners6
                                              : wallCorners01;
  PTrackGeometry::WallCorners(kind, table);
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  // Textures by role: front, sides and back, inner face, outer face.
  SDxTexture* roles[PTrackGeometry::ROLE_COUNT] = {variant ? texWallArrow : texWall, texWall,
                                                   texWallTop, nullptr, nullptr};
  if (kind == 1) roles[PTrackGeometry::ROLE_FRONT] = texWallOn;
  if (kind == 3) {
    roles[PTrackGeometry::ROLE_FRONT] = roles[PTrackGeometry::ROLE_SIDE] = texWallRoof1;
    roles[PTrackGeometry::ROLE_OUTER] = texWallRoof;
  }
  if (kind == 4) {
    roles[PTrackGeometry::ROLE_INNER] = roles[PTrackGeometry::ROLE_OUTER] = texWallRoof;
    roles[PTrackGeometry::ROLE_FRONT] = roles[PTrackGeometry::ROLE_SIDE] = texWallRoof2;
  }
  PPieceTriangle triangles[PTrackGeometry::MAX_TRIANGLES];
  int count = PTrackGeometry::WallTriangles(kind, theme == THEME_MEDIEVAL, triangles);
  AddTriangles(shape, triangles, count, roles);
  if (kind == 6) shape->m_sharedTexture = texFinish2;
  SDxMesh* mesh = FinishPiece(shape);
  if (mesh) mesh->SetSpecularColor(0.5f, 0.5f, 0.5f);
  return mesh;
}

SDxMesh* PGame::BuildJumperPiece(int variant) {
  PTrackGeometry::JumperCorners(jumperCorners);
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  SDxTexture* roles[PTrackGeometry::ROLE_COUNT] = {texWall, texWall, texWall, texWall,
                                                   variant ? texJumper2 : texJumper};
  PPieceTriangle triangles[PTrackGeometry::MAX_TRIANGLES];
  AddTriangles(shape, triangles, PTrackGeometry::JumperTriangles(triangles), roles);
  return FinishPiece(shape);
}

SDxMesh* PGame::BuildPistonPiece() {
  PTrackGeometry::PistonCorners(pistonCorners);
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  SDxTexture* roles[PTrackGeometry::ROLE_COUNT] = {texPiston, texPiston, texWallTop, nullptr,
                                                   nullptr};
  PPieceTriangle triangles[PTrackGeometry::MAX_TRIANGLES];
  AddTriangles(shape, triangles, PTrackGeometry::PistonTriangles(triangles), roles);
  SDxMesh* mesh = FinishPiece(shape);
  if (mesh) mesh->SetSpecularColor(0.5f, 0.5f, 0.5f);
  return mesh;
}

SDxMesh* PGame::BuildGuardDoorPiece(int variant) {
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  if (variant == 0) {
    // The door: two discs with a gap from angle pi/8 to pi/2, at z 0 and 1000.
    shape->AddRing(nullptr, 2000, 2000, 0, 0, kTurn, 64, true, 12, 4.1233406f);
    shape->MoveVertices(0, 1000, 0);
    shape->AddRing(nullptr, 2000, 2000, 0, 0, kTurn, 64, false, 12, 4.1233406f);
    shape->RotateVertices(kPi / 2, 0, 0);
    AddEdgeQuad(shape, kPi / 2, 0, 1000, texDoorSide);
    AddEdgeQuad(shape, kPi / 8, 0, 1000, texDoorSide);
    shape->RotateVertices(0, 0, kPi / 4);
  } else {
    // The leaf that fills the gap: the sector from pi/2 to 7 pi/8, z 20..980.
    shape->AddRing(nullptr, 2000, 2000, 0, 0, kTurn, 64, true, 52, 2.1707964f);
    shape->MoveVertices(0, 960, 0);
    shape->AddRing(nullptr, 2000, 2000, 0, 0, kTurn, 64, false, 52, 2.1707964f);
    shape->MoveVertices(0, 20, 0);
    shape->RotateVertices(kPi / 2, 0, 0);
    AddEdgeQuad(shape, kPi / 2, 20, 980, texDoorSide);
    AddEdgeQuad(shape, 7 * kPi / 8, 20, 980, texDoorSide);
    shape->RotateVertices(0, 0, 1.9634955f);
  }
  shape->m_sharedTexture = nullptr;
  return FinishPiece(shape);
}

SDxMesh* PGame::BuildBlockerPiece(float size) {
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  SArray<SDxTexture*> list;
  for (SDxTexture* t : {texDark, texDark, texBlocker, texBlocker, texBlocker, texBlocker})
    list.Add(t);
  float inner = theme == THEME_MEDIEVAL || IsLevel33() ? 0.0f : 150.0f;
  shape->AddTube(nullptr, 2 * size, 2 * size, inner, inner, 100, kTurn, 64, 1, 0, 1, true, true,
                 true, &list, 1, 0);
  shape->RotateVertices(kPi / 2, 0, 0);
  SDxMesh* mesh = FinishPiece(shape);
  if (mesh) mesh->SetSpecularColor(0.5f, 0.5f, 0.5f);
  return mesh;
}

SDxMesh* PGame::BuildTurboPiece() {
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  D3DXVECTOR3 chord(1000 * sinf(kPi / 8), 1000 * cosf(kPi / 8) - 1000, 0);
  float c = D3DXVec3Length(&chord);
  SArray<SDxTexture*> list;
  for (SDxTexture* t : {texTurbo, texTurbo, texDark, texDark}) list.Add(t);
  shape->AddTube(nullptr, c, c, c - 30, c - 30, 1000, kPi, 24, 1, 0, 2, true, true, false, &list, 4,
                 0);
  shape->RotateVertices(kPi / 2, 0, 0);
  shape->RotateVertices(0, 0, -kPi / 2);
  shape->MoveVertices(1000, 0, 500);
  return FinishPiece(shape);
}

SDxMesh* PGame::BuildBoxPiece(int kind) {
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  SArray<SDxTexture*> list;
  list.Add(texBoxFront);
  for (int i = 0; i < 5; ++i) list.Add(texBox);
  shape->AddPyramid(nullptr, &list, 300, 300, 300, 150, false, 1.0f, kAllFaces);
  shape->MoveVertices(0, -375, 0);
  if (kind == 1) shape->AddBox(nullptr, &list, 150, 150, 150, false, 1.0f, kAllFaces);
  if (kind == 2) {
    const bool faces[6] = {true, true, true, true, true, false};
    shape->MoveVertices(0, 75, 0);
    shape->AddPyramid(nullptr, &list, 150, 150, 150, 0, false, 1.0f, faces);
    shape->MoveVertices(0, -75, 0);
  }
  shape->MoveVertices(0, 375, 0);
  shape->MoveVertices(0, 0, 150);
  // The corner table from the bounds of the shape's triangles.
  D3DXVECTOR3 lo(FLT_MAX, FLT_MAX, FLT_MAX), hi(-FLT_MAX, -FLT_MAX, -FLT_MAX);
  for (int i = 0; i < shape->GetPolygonCount(); ++i) {
    for (const D3DXVECTOR3& p : shape->GetPolygon(i)->positions.corners) {
      D3DXVec3Minimize(&lo, &lo, &p);
      D3DXVec3Maximize(&hi, &hi, &p);
    }
  }
  if (kind >= 0 && kind < 3 && shape->GetPolygonCount() > 0)
    PTrackGeometry::BoxCorners(lo, hi, boxCorners[kind]);
  return FinishPiece(shape);
}

SDxMesh* PGame::BuildForwardPiece() {
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  shape->AddCylinder(texForward, 1995, 1995, 1995, 1995, 1000, kTurn, true, 64, -16, 0, 4, false,
                     false, nullptr, nullptr, 8, 60);
  shape->RotateVertices(kPi / 2, 0, 0);
  shape->MoveVertices(0, 0, 500);
  return FinishPiece(shape);
}

SDxMesh* PGame::BuildFinishPiece() {
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  shape->AddTube(texFinish, 2000, 2000, 1995, 1995, 1000, kTurn, 64, 32, 0, 4, false, false, true,
                 nullptr, 1, 0);
  shape->RotateVertices(kPi / 2, 0, 0);
  shape->MoveVertices(0, 0, 500);
  return FinishPiece(shape);
}

SDxMesh* PGame::BuildLaserBolt(float length, SDxTexture* texture) {
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  shape->AddCylinder(texture, 4, 4, 12, 12, length, kTurn, false, 8, 1, 0, 1, true, true, nullptr,
                     nullptr, 1, 0);
  shape->RotateVertices(kPi / 2, 0, 0);
  return FinishPiece(shape);
}

SDxMesh* PGame::BuildEgyptMine() {
  SDxShape* shape = NewShape(Layer());
  if (!shape) return nullptr;
  const bool faces[6] = {true, true, true, true, false, false};
  shape->AddPyramid(texMine, nullptr, 200, 100, 200, 0, false, 1.0f, faces);
  return FinishPiece(shape);
}
