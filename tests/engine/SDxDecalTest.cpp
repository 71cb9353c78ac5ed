#include "core/Platform.h"
#include "engine/SDxDecal.h"

#include "EngineTestSupport.h"
#include "engine/SDxBlob.h"
#include "engine/SDxLayer.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShaderGBuffer.h"
#include "engine/SDxShape.h"

#include <math.h>

namespace {

D3DXVECTOR3 V(float x, float y, float z) { return D3DXVECTOR3(x, y, z); }

// A decal box 4 wide and 4 high about the origin, facing +z.
void BuildBox(SDxDecal* decal) {
  decal->BuildClipBox(0.0f, V(0, 0, 0), V(0, 0, 1), 4.0f, 4.0f, nullptr, 0.0f, V(1, 0, 0));
}

// The triangle turned about the y axis by the angle (degrees).
void Turned(const D3DXVECTOR3 in[3], float degrees, D3DXVECTOR3 out[3]) {
  D3DXMATRIX turn;
  D3DXMatrixRotationY(&turn, degrees * 3.14159265f / 180.0f);
  for (int i = 0; i < 3; ++i) D3DXVec3TransformCoord(&out[i], &in[i], &turn);
}

TEST(SDxDecalClipTest, TrianglesAreClippedToTheBox) {
  const struct {
    const char* name;
    D3DXVECTOR3 corners[3];
    float turn;  // degrees about y
    int triangles, vertices;
  } cases[] = {
      {"inside", {V(-1, -1, 0), V(1, -1, 0), V(0, 1, 0)}, 0, 1, 3},
      {"crossing one plane", {V(-1, -1, 0), V(3, -1, 0), V(-1, 1, 0)}, 0, 2, 4},
      {"facing away", {V(-1, -1, 0), V(0, 1, 0), V(1, -1, 0)}, 0, 0, 0},
      {"tilted 70 degrees", {V(-1, -1, 0), V(1, -1, 0), V(0, 1, 0)}, 70, 1, 3},
      {"tilted 80 degrees", {V(-1, -1, 0), V(1, -1, 0), V(0, 1, 0)}, 80, 0, 0},
      {"behind the depth", {V(-1, -1, 1.5f), V(1, -1, 1.5f), V(0, 1, 1.5f)}, 0, 0, 0},
      {"within the depth", {V(-1, -1, -0.9f), V(1, -1, -0.9f), V(0, 1, -0.9f)}, 0, 1, 3},
      {"cut along the normal", {V(-1, -1, -3), V(1, -1, -3), V(0, 1, 3)}, 0, 2, 4},
      {"covering the box", {V(-10, -10, 0), V(10, -10, 0), V(-10, 10, 0)}, 0, 2, 4},
  };
  for (const auto& c : cases) {
    SDxDecal decal;
    BuildBox(&decal);
    D3DXVECTOR3 t[3];
    Turned(c.corners, c.turn, t);
    decal.ClipTriangle(t[0], t[1], t[2]);
    EXPECT_EQ(c.triangles, decal.GetTriangleCount()) << c.name;
    EXPECT_EQ(c.vertices, decal.GetVertexCount()) << c.name;
    for (int i = 0; i < decal.GetVertexCount(); ++i) {
      const D3DXVECTOR3& p = decal.GetPosition(i);
      EXPECT_LE(fabsf(p.x), 2.0001f) << c.name;
      EXPECT_LE(fabsf(p.y), 2.0001f) << c.name;
      EXPECT_LE(fabsf(p.z), 1.0001f) << c.name;
    }
  }
}

TEST(SDxDecalClipTest, TheBoxCornersMapOntoTheTexturesCorners) {
  SDxDecal decal;
  BuildBox(&decal);
  decal.ClipTriangle(V(-10, -10, 0), V(10, -10, 0), V(-10, 10, 0));
  decal.ClipTriangle(V(10, -10, 0), V(10, 10, 0), V(-10, 10, 0));
  decal.ComputeTexCoords();
  const struct {
    float x, y, u, v;
  } corners[] = {{-2, -2, 0, 0}, {2, -2, 1, 0}, {-2, 2, 0, 1}, {2, 2, 1, 1}};
  for (const auto& corner : corners) {
    bool found = false;
    for (int i = 0; i < decal.GetVertexCount(); ++i) {
      const D3DXVECTOR3& p = decal.GetPosition(i);
      if (fabsf(p.x - corner.x) > 1e-4f || fabsf(p.y - corner.y) > 1e-4f) continue;
      found = true;
      EXPECT_NEAR(corner.u, decal.GetTexCoord(i).x, 1e-5f);
      EXPECT_NEAR(corner.v, decal.GetTexCoord(i).y, 1e-5f);
    }
    EXPECT_TRUE(found) << corner.x << ", " << corner.y;
  }
  // Written vertices carry the triangle's frame, lifted by the offset.
  decal.BuildClipBox(0.0f, V(0, 0, 0), V(0, 0, 1), 4.0f, 4.0f, nullptr, 0.5f, V(1, 0, 0));
  decal.ClipTriangle(V(-1, -1, 0), V(1, -1, 0), V(0, 1, 0));
  decal.ComputeTexCoords();
  SDxVertex out[3];
  EXPECT_EQ(out + 3, decal.WriteVertices(out));
  EXPECT_NEAR(1.0f, out[0].normal.z, 1e-5f);
  EXPECT_NEAR(0.5f, out[1].position.z, 1e-5f);
}

class SDxDecalTest : public EngineSuite {
protected:
  void SetUp() override {
    EngineSuite::SetUp();
    layer = s_engine->CreateLayer();
    textures[0] = MakeSheetTexture(s_engine, 1, 1, 8, 8);
    textures[1] = MakeSheetTexture(s_engine, 2, 1, 8, 8);
    // A square wall of two triangles 100 wide in the plane z = 0.
    shape = layer->AddShape();
    SDxTriangleUV uv;
    uv.Set(0, 0, 1, 0, 0, 1);
    SDxTriangle a(-50, -50, 0, -50, 50, 0, 50, -50, 0), b(50, -50, 0, -50, 50, 0, 50, 50, 0);
    shape->AddPolygon(&a, &uv, nullptr, 1);
    shape->AddPolygon(&b, &uv, nullptr, 1);
    shape->Rebuild();
  }
  void TearDown() override {
    s_engine->m_layers.RemoveValue(layer);
    delete layer;
    for (SDxTexture* t : textures) s_engine->RemoveTexture(t);
  }
  SDxLayer* layer = nullptr;
  SDxShape* shape = nullptr;
  SDxTexture* textures[2] = {};
};

TEST_F(SDxDecalTest, PlacementRefusalsSpacingAndTheSharedTexture) {
  EXPECT_FALSE(shape->AddDecal(0, V(0, 0, 0), 4, 4, textures[0], 0, 0, 0));  // not enabled
  shape->SetDecalsEnabled(true);
  EXPECT_FALSE(shape->AddDecal(0, V(0, 0, 0), 4, 4, nullptr, 0, 0, 0));
  EXPECT_FALSE(shape->AddDecal(2, V(0, 0, 0), 4, 4, textures[0], 0, 0, 0));
  EXPECT_FALSE(shape->AddDecal(0, V(0, 0, 30), 4, 4, textures[0], 0, 0, 0));  // nothing in reach
  EXPECT_TRUE(shape->AddDecal(0, V(-20, -20, 0), 4, 4, textures[0], 0.7f, 5, 0));
  EXPECT_FALSE(shape->AddDecal(0, V(-17, -20, 0), 4, 4, textures[0], 0, 5, 0));  // too close
  EXPECT_TRUE(shape->AddDecal(1, V(20, 20, 0), 4, 4, textures[0], 0, 5, 0));
  EXPECT_EQ(textures[0], shape->m_decalTexture);
  EXPECT_TRUE(shape->AddDecal(1, V(30, 0, 0), 4, 4, textures[1], 0, 5, 0));
  EXPECT_EQ(nullptr, shape->m_decalTexture);
  EXPECT_EQ(3, shape->GetDecalCount());
  EXPECT_TRUE(shape->m_decalBuffer != nullptr);
  EXPECT_EQ(2 + 2 + 2, shape->m_decalTriangles);

  // Meshes take decals on the side they are drawn facing.
  SDxMesh* mesh = shape->CreateMesh(nullptr);
  ASSERT_TRUE(mesh);
  mesh->SetDecalsEnabled(true);
  EXPECT_TRUE(mesh->AddDecal(0, V(-20, -20, 0), 4, 4, textures[0], 0, 0, 0));
  // Blobs never take decals; releasing an object's geometry drops them.
  SDxBlob* blob = layer->AddBlob(nullptr, 1, 1, 1);
  blob->SetDecalsEnabled(true);
  EXPECT_FALSE(blob->m_decalsEnabled);
  shape->Release();
  EXPECT_EQ(0, shape->GetDecalCount());
  EXPECT_EQ(nullptr, shape->m_decalBuffer);
}

TEST_F(SDxDecalTest, DecalsAreDrawnOverTheirObject) {
  const bool faces[SDxShape::FACE_COUNT] = {true, true, true, true, true, true};
  shape->Release();
  ASSERT_TRUE(shape->AddBox(nullptr, nullptr, 20, 20, 20, false, 1, faces));
  shape->SetDecalsEnabled(true);
  shape->SetPositionXYZ(0, 0, 40);
  SDxPickQuery query;
  query.direction = V(0, 0, 1);
  ASSERT_TRUE(shape->Pick(&query));
  ASSERT_TRUE(shape->AddDecal(query.hitFace, V(0, 0, 30), 10, 10, textures[0], 0, 0, 0.1f));
  Pixels out = DrawIntoMainA(s_engine, [&] {
    s_engine->m_shaderGBuffer->SetFrameParameters();
    layer->RenderDecals(true);
  });
  EXPECT_GT(CountLit(out), 0);
  EXPECT_EQ(0u, out.At(5, 5) & 0xFFFFFF);
  shape->SetVisible(false);
  EXPECT_EQ(0, CountLit(DrawIntoMainA(s_engine, [&] { layer->RenderDecals(true); })));
}

}  // namespace
