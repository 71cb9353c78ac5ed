#include "core/Platform.h"
#include "engine/SDxShape.h"

#include "EngineTestSupport.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShaderDefault.h"
#include "engine/SDxTexture.h"

namespace {

const bool kAllFaces[SDxShape::FACE_COUNT] = {true, true, true, true, true, true};

class SDxShapeTest : public EngineSuite {
protected:
  void SetUp() override {
    EngineSuite::SetUp();
    layer = s_engine->CreateLayer();
    shape = layer->AddShape();
  }
  void TearDown() override {
    s_engine->m_layers.RemoveValue(layer);
    delete layer;
  }
  // Distinct texture pointers that are never drawn.
  SDxTexture* Fake(int n) { return reinterpret_cast<SDxTexture*>(&fakes[n]); }

  SDxLayer* layer = nullptr;
  SDxShape* shape = nullptr;
  int fakes[3] = {0, 0, 0};
};

TEST_F(SDxShapeTest, BuildersCheckTheirParametersAndCountTheirTriangles) {
  shape->SetAutoUpdate(false, false);
  const struct {
    const char* what;
    bool (*build)(SDxShape* s);
    bool ok;
    int triangles;
  } cases[] = {
      {"ring of one segment",
       [](SDxShape* s) { return s->AddRing(nullptr, 10, 10, 5, 5, DX_2PI, 2, true, 1, 0); }, true,
       2},
      {"ring with every segment skipped",
       [](SDxShape* s) { return s->AddRing(nullptr, 10, 10, 5, 5, DX_2PI, 2, true, 2, 0); }, false,
       0},
      {"ring of negative size",
       [](SDxShape* s) { return s->AddRing(nullptr, -1, 10, 5, 5, DX_2PI, 4, true, 0, 0); }, false,
       0},
      {"box", [](SDxShape* s) { return s->AddBox(nullptr, nullptr, 2, 2, 2, false, 1, kAllFaces); },
       true, 12},
      {"pyramid to an apex",
       [](SDxShape* s) {
         return s->AddPyramid(nullptr, nullptr, 150, 150, 150, 0, false, 1, kAllFaces);
       },
       true, 6},
      {"cut pyramid",
       [](SDxShape* s) {
         return s->AddPyramid(nullptr, nullptr, 300, 300, 300, 150, false, 1, kAllFaces);
       },
       true, 12},
      {"sphere of width 0",
       [](SDxShape* s) {
         return s->AddSphere(nullptr, nullptr, 0, -1, -1, true, true, true, 4, 4);
       },
       false, 0},
      {"upper half, raised counts",
       [](SDxShape* s) {
         return s->AddSphere(nullptr, nullptr, 80, -1, -1, true, false, true, 1, 0);
       },
       true, 4},
      {"cylinder with both caps",
       [](SDxShape* s) {
         return s->AddCylinder(nullptr, 10, -1, -1, -1, 4, DX_2PI, true, 4, 1, 0, 1, true, true,
                               nullptr, nullptr, 1, 0);
       },
       true, 24},
      {"tube with sides and caps",
       [](SDxShape* s) {
         return s->AddTube(nullptr, 20, 20, 10, 10, 4, DX_PI, 4, 1, 0, 1, true, true, true,
                           nullptr, 2, 0);
       },
       true, 52},
  };
  for (const auto& c : cases) {
    shape->Release();
    EXPECT_EQ(c.ok, c.build(shape)) << c.what;
    EXPECT_EQ(c.triangles, shape->GetPolygonCount()) << c.what;
  }
  // The cylinder's depth and top sizes came from its bottom width.
  shape->Release();
  shape->AddCylinder(nullptr, 10, -1, -1, -1, 4, DX_2PI, true, 8, 1, 0, 1, false, false, nullptr,
                     nullptr, 1, 0);
  shape->Rebuild();
  EXPECT_NEAR(-5.0f, shape->GetBox().min.z, 1e-4f);
  EXPECT_NEAR(5.0f, shape->GetBox().max.x, 1e-4f);
  EXPECT_NEAR(2.0f, shape->GetBox().max.y, 1e-4f);
}

TEST_F(SDxShapeTest, RingsBoxesAndTheSharedTexture) {
  // A disc: every inner corner at the centre of the texture.
  ASSERT_TRUE(shape->AddRing(Fake(0), 10, 10, 0, 0, DX_2PI, 6, true, 0, 0));
  const SDxPoly* first = shape->GetPolygon(0);
  EXPECT_EQ(D3DXVECTOR2(0.5f, 0.5f), first->uvs.uv[0]);
  EXPECT_EQ(D3DXVECTOR3(0, 0, 0), first->positions.corners[0]);
  EXPECT_EQ(1, first->flag);
  EXPECT_EQ(Fake(0), shape->m_sharedTexture);
  EXPECT_NE(nullptr, shape->m_vertexBuffer);  // auto-update rebuilt it
  ASSERT_TRUE(shape->AddRing(Fake(0), 20, 20, 10, 10, DX_2PI, 6, true, 0, 0));
  EXPECT_EQ(Fake(0), shape->m_sharedTexture);
  ASSERT_TRUE(shape->AddRing(Fake(1), 20, 20, 10, 10, DX_2PI, 6, true, 0, 0));
  EXPECT_EQ(nullptr, shape->m_sharedTexture);
  EXPECT_EQ(24, shape->ClearTexture(Fake(0)));
  EXPECT_EQ(nullptr, shape->GetPolygon(36));

  // A box's front face seen from outside; inward mirrors its x signs.
  shape->Release();
  SArray<SDxTexture*> perFace;
  for (int f = 0; f < SDxShape::FACE_COUNT; ++f) perFace.Add(Fake(f % 2));
  ASSERT_TRUE(shape->AddBox(nullptr, &perFace, 2, 4, 6, false, 3, kAllFaces));
  const SDxPoly* front = shape->GetPolygon(0);
  EXPECT_EQ(D3DXVECTOR3(-1, -2, -3), front->positions.corners[0]);
  EXPECT_EQ(D3DXVECTOR3(1, -2, -3), front->positions.corners[1]);
  EXPECT_EQ(D3DXVECTOR3(-1, 2, -3), front->positions.corners[2]);
  EXPECT_EQ(D3DXVECTOR2(0, 3), front->uvs.uv[0]);
  EXPECT_EQ(Fake(1), shape->GetPolygon(2)->texture);
  shape->Release();
  ASSERT_TRUE(shape->AddBox(nullptr, nullptr, 2, 4, 6, true, 3, kAllFaces));
  EXPECT_EQ(D3DXVECTOR3(1, -2, -3), shape->GetPolygon(0)->positions.corners[0]);
}

TEST_F(SDxShapeTest, MeshesFromShapesHaveASubsetPerTexture) {
  SDxTriangle triangle(0, 0, 0, 0, 1, 0, 1, 0, 0);
  SDxTriangleUV uvs;
  uvs.Set(0, 0, 0, 1, 1, 0);
  shape->SetAutoUpdate(false, false);
  for (int i = 0; i < 3; ++i) shape->AddPolygon(&triangle, &uvs, Fake(i == 1), 1);
  SDxMesh* mesh = shape->CreateMesh(nullptr);
  ASSERT_NE(nullptr, mesh);
  EXPECT_EQ(layer, mesh->GetLayer());
  EXPECT_EQ(2, mesh->m_materialCount);
  EXPECT_EQ(3, mesh->GetFaceCount());
  // The vertices hold each triangle's corners in the order 0, 2, 1.
  int count = 0;
  SDxVertex* vertices = mesh->LockVertices(&count);
  ASSERT_EQ(9, count);
  EXPECT_EQ(triangle.corners[2], vertices[1].position);
  EXPECT_EQ(triangle.corners[1], vertices[2].position);
  EXPECT_EQ(uvs.uv[2], vertices[1].uv);
  mesh->UnlockVertices(vertices);
  SDxShape* empty = layer->AddShape();
  EXPECT_EQ(nullptr, empty->CreateMesh(nullptr));
  EXPECT_EQ(1, layer->GetCount(SDxLayer::LIST_MESHES));
}

TEST_F(SDxShapeTest, PicksGiveTheNearestTriangleAndItsFlag) {
  ASSERT_TRUE(shape->AddBox(nullptr, nullptr, 2, 2, 2, false, 1, kAllFaces));
  shape->SetPositionXYZ(0, 0, 10);
  SDxPickQuery query;
  query.origin = D3DXVECTOR3(0.5f, -0.25f, 0);
  query.direction = D3DXVECTOR3(0, 0, 1);
  ASSERT_TRUE(shape->Pick(&query));
  EXPECT_NEAR(81.0f, query.hitSquaredDistance, 1e-3f);
  EXPECT_EQ(1, query.hitFaceFlag);
  EXPECT_LT(query.hitFace, 2);  // a triangle of the front face
  shape->SetPositionXYZ(0, 5, 10);
  SDxPickQuery miss;
  miss.direction = D3DXVECTOR3(0, 0, 1);
  EXPECT_FALSE(shape->Pick(&miss));
}

TEST_F(SDxShapeTest, AShapeIsDrawnWhereTheCameraLooks) {
  ASSERT_TRUE(shape->AddBox(nullptr, nullptr, 4, 4, 4, false, 1, kAllFaces));
  shape->SetPositionXYZ(0, 0, 10);
  Pixels out = DrawFromTheOrigin(s_engine, shape);
  ASSERT_EQ(800, out.width);
  EXPECT_GT(out.Red(400, 225), 200);
  EXPECT_EQ(0u, out.At(10, 10) & 0xFFFFFF);
}

TEST_F(SDxShapeTest, TheEnginesLightVolumeIsKeptOffTheLayer) {
  SDxShape* box = s_engine->m_boxShape;
  ASSERT_NE(nullptr, box);
  EXPECT_NE(nullptr, box->m_vertexBuffer);
  EXPECT_EQ(12, box->m_triangleCount);
  EXPECT_EQ(0, box->GetPolygonCount());
  EXPECT_FALSE(box->IsVisible());
  SDxLayer* main = s_engine->GetMainLayer();
  for (int i = 0; i < main->GetCount(SDxLayer::LIST_SHAPES); ++i) {
    EXPECT_NE(box, main->GetItem(SDxLayer::LIST_SHAPES, i));
  }
}

}  // namespace
