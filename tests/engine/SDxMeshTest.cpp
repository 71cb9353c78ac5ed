#include "core/Platform.h"
#include "engine/SDxMesh.h"

#include "EngineTestSupport.h"
#include "core/SFileMem.h"
#include "core/SImage.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxShaderDefault.h"
#include "engine/SDxTexture.h"
#include "tests/data/GameArchives.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// A cube of side 2 around the origin in the text form of .X: the first six
// faces use material 0, which names the texture "Cube.PNG"; the others use
// material 1 (green, half transparent).
const char* const kCube =
    "xof 0303txt 0032\r\n"
    "Mesh cube {\r\n"
    " 8;\r\n"
    " -1.0;-1.0;-1.0;, 1.0;-1.0;-1.0;, 1.0;1.0;-1.0;, -1.0;1.0;-1.0;,\r\n"
    " -1.0;-1.0;1.0;, 1.0;-1.0;1.0;, 1.0;1.0;1.0;, -1.0;1.0;1.0;;\r\n"
    " 12;\r\n"
    " 3;0,2,1;, 3;0,3,2;, 3;4,5,6;, 3;4,6,7;, 3;0,1,5;, 3;0,5,4;,\r\n"
    " 3;3,7,6;, 3;3,6,2;, 3;0,4,7;, 3;0,7,3;, 3;1,2,6;, 3;1,6,5;;\r\n"
    " MeshTextureCoords {\r\n"
    "  8;\r\n"
    "  0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;;\r\n"
    " }\r\n"
    " MeshMaterialList {\r\n"
    "  2;\r\n"
    "  12;\r\n"
    "  0,0,0,0,0,0,1,1,1,1,1,1;\r\n"
    "  Material red {\r\n"
    "   1.0;0.0;0.0;1.0;;\r\n   8.0;\r\n   0.0;0.0;0.0;;\r\n   0.0;0.0;0.0;;\r\n"
    "   TextureFilename { \"Cube.PNG\"; }\r\n"
    "  }\r\n"
    "  Material green {\r\n"
    "   0.0;1.0;0.0;0.5;;\r\n   8.0;\r\n   0.0;0.0;0.0;;\r\n   0.0;0.0;0.0;;\r\n"
    "  }\r\n"
    " }\r\n"
    "}\r\n";

void AppendWord(std::string* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes->push_back((char)((value >> (8 * i)) & 0xFF));
}

// A mesh file: the magic, X end (the true one unless given), the .X text and
// the records, each (name, bytes), then the terminating 0.
std::string MeshFile(const std::vector<std::pair<std::string, std::string>>& records,
                     int64_t xEnd = -1) {
  std::string bytes("VANDRO DX3DMESH 1.0.0.0", 24);
  AppendWord(&bytes, (uint32_t)(xEnd >= 0 ? xEnd : 28 + strlen(kCube)));
  bytes += kCube;
  for (const auto& record : records) {
    AppendWord(&bytes, (uint32_t)record.second.size());
    bytes += record.first;
    bytes.push_back('\0');
    bytes += record.second;
  }
  AppendWord(&bytes, 0);
  return bytes;
}

std::string PngBytes() {
  SImage image;
  SFileMem file;
  if (!image.Create(4, 4)) return std::string();
  image.Clear(RGB(0, 128, 255));
  image.Save(&file, SImage::FORMAT_PNG);
  return std::string((const char*)file.GetBuffer(), (size_t)file.GetSize());
}

class SDxMeshTest : public EngineSuite {
protected:
  void SetUp() override {
    EngineSuite::SetUp();
    layer = s_engine->CreateLayer();
    other = s_engine->CreateLayer();
  }
  void TearDown() override {
    for (SDxLayer* l : {layer, other}) {
      s_engine->m_layers.RemoveValue(l);
      delete l;
    }
  }
  bool Load(SDxMesh* mesh, const std::string& bytes, bool embedded = true) {
    SFileMem file;
    file.Allocate((int)bytes.size());
    memcpy(file.GetBuffer(), bytes.data(), bytes.size());
    return mesh->LoadFromMemory(&file, -1, nullptr, embedded);
  }

  SDxLayer* layer = nullptr;
  SDxLayer* other = nullptr;
};

TEST_F(SDxMeshTest, LoadsSubsetsWithTheirEmbeddedTextures) {
  SDxMesh* mesh = layer->AddMesh();
  int textures = s_engine->m_textures.GetCount();
  // The record's name differs in case from the material's file name.
  ASSERT_TRUE(Load(mesh, MeshFile({{"other.png", "x"}, {"cube.png", PngBytes()}})));
  EXPECT_EQ(2, mesh->m_materialCount);
  EXPECT_EQ(12, mesh->GetFaceCount());
  ASSERT_NE(nullptr, mesh->m_textures[0]);
  EXPECT_EQ(4, mesh->m_textures[0]->m_pictureWidth);
  EXPECT_EQ(mesh->m_textures[0], mesh->m_ownTextures[0]);
  EXPECT_EQ(nullptr, mesh->m_textures[1]);
  EXPECT_EQ(D3DXVECTOR3(-1, -1, -1), mesh->GetBox().min);
  EXPECT_EQ(D3DXVECTOR3(1, 1, 1), mesh->GetBox().max);
  // A named texture takes the default material; the other keeps its own
  // colours with the ambient colour made the diffuse one.
  EXPECT_EQ(1.0f, mesh->m_materials[0].Diffuse.g);
  EXPECT_EQ(0.5f, mesh->m_materials[1].Ambient.a);
  EXPECT_EQ(1.0f, mesh->m_materials[1].Ambient.g);
  // Every face has its own three vertices with a flat normal.
  int count = 0;
  SDxVertex* vertices = mesh->LockVertices(&count);
  ASSERT_EQ(36, count);
  EXPECT_EQ(vertices[0].normal, vertices[2].normal);
  EXPECT_FLOAT_EQ(1.0f, D3DXVec3Length(&vertices[0].normal));
  mesh->UnlockVertices(vertices);

  // The loaded texture goes with the mesh.
  EXPECT_EQ(textures + 1, s_engine->m_textures.GetCount());
  layer->RemoveItem(mesh);
  EXPECT_EQ(textures, s_engine->m_textures.GetCount());

  // Without embedded textures the engine's texture of that name is used.
  SFileMem png;
  std::string bytes = PngBytes();
  png.Allocate((int)bytes.size());
  memcpy(png.GetBuffer(), bytes.data(), bytes.size());
  SDxTexture* cached = s_engine->CreateTexture(&png, -1, "Cube.PNG", 0);
  mesh = layer->AddMesh();
  ASSERT_TRUE(Load(mesh, MeshFile({{"cube.png", PngBytes()}}), false));
  EXPECT_EQ(cached, mesh->m_textures[0]);
  EXPECT_EQ(nullptr, mesh->m_ownTextures[0]);
  ASSERT_TRUE(Load(mesh, kCube));  // plain .X: the cache as well
  EXPECT_EQ(cached, mesh->m_textures[0]);
  s_engine->RemoveTexture(cached);
  EXPECT_EQ(nullptr, mesh->m_textures[0]);
}

TEST_F(SDxMeshTest, TheFileFormatIsCheckedBeforeUse) {
  std::string valid = MeshFile({});
  std::string notNul = valid;
  notNul[23] = '!';
  const struct {
    std::string bytes;
    bool loads;
    const char* what;
  } cases[] = {
      {valid.substr(0, 26), false, "26 bytes with the magic: .X data"},
      {notNul, false, "byte 23 not NUL: .X data"},
      {MeshFile({}, 10), false, "X end inside the header"},
      {MeshFile({}, valid.size() + 1), false, "X end beyond the file"},
      {valid, true, "an empty record list"},
      {MeshFile({{"cube.png", PngBytes()}}).substr(0, valid.size() + 20), true,
       "a record past the end"},
      {std::string(), false, "nothing"},
  };
  for (const auto& c : cases) {
    SDxMesh* mesh = layer->AddMesh();
    EXPECT_EQ(c.loads, Load(mesh, c.bytes)) << c.what;
    EXPECT_EQ(c.loads ? 12 : 0, mesh->GetFaceCount()) << c.what;
    if (c.loads) {
      EXPECT_EQ(nullptr, mesh->m_textures[0]) << c.what;
    }
    layer->RemoveItem(mesh);
  }
}

TEST_F(SDxMeshTest, InstancesShareTheMastersGeometryAndMaterials) {
  SDxMesh* master = layer->AddMesh();
  ASSERT_TRUE(Load(master, MeshFile({{"cube.png", PngBytes()}})));
  EXPECT_EQ(nullptr, SDxMesh::CreateInstance(layer->AddMesh(), nullptr));
  SDxMesh* first = SDxMesh::CreateInstance(master, nullptr);
  SDxMesh* second = SDxMesh::CreateInstance(first, other);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(layer, first->GetLayer());
  EXPECT_EQ(master, second->m_source);
  EXPECT_EQ(master->m_geometry, second->m_geometry);
  EXPECT_FALSE(first->CopyFrom(master));

  // Textures per item, materials shared.
  SDxTexture* texture = master->m_textures[0];
  EXPECT_TRUE(second->SetMaterialTexture(-1, nullptr));
  EXPECT_EQ(nullptr, second->m_textures[1]);
  EXPECT_EQ(texture, master->m_textures[0]);
  EXPECT_FALSE(second->SetMaterialTexture(2, texture));
  EXPECT_FALSE(second->SetMaterialTexture(-2, texture));
  first->SetSpecularColor(0.25f, 0.5f, 0.75f);
  EXPECT_EQ(0.75f, master->m_materials[1].Specular.b);

  // The master takes its instances with it, on every layer, whether it is
  // removed or its layer is cleared.
  SDxMesh::CreateInstance(master, other);
  layer->Clear();
  EXPECT_EQ(0, other->GetCount(SDxLayer::LIST_MESHES));
  master = layer->AddMesh();
  ASSERT_TRUE(Load(master, MeshFile({})));
  SDxMesh::CreateInstance(master, nullptr);
  SDxMesh::CreateInstance(master, other);
  EXPECT_TRUE(layer->RemoveItem(master));
  EXPECT_EQ(0, layer->GetCount(SDxLayer::LIST_MESHES));
  EXPECT_EQ(0, other->GetCount(SDxLayer::LIST_MESHES));
  EXPECT_EQ(0, other->m_meshCount);
}

TEST_F(SDxMeshTest, PicksFindTheNearestFaceWithinTheRange) {
  SDxMesh* mesh = layer->AddMesh();
  ASSERT_TRUE(Load(mesh, MeshFile({})));
  mesh->SetPositionXYZ(0, 0, 10);
  mesh->RotateVertices(0, DX_PI / 4, 0);  // a corner toward the ray's side
  mesh->RotateVertices(0, -DX_PI / 4, 0);
  SDxPickQuery query;
  query.direction = D3DXVECTOR3(0, 0, 1);
  ASSERT_TRUE(mesh->Pick(&query));
  EXPECT_NEAR(81.0f, query.hitSquaredDistance, 1e-3f);
  EXPECT_NEAR(9.0f, query.hitParameter, 1e-4f);
  EXPECT_GE(query.hitFace, 0);
  // Beyond the maximum: refused. From inside the box: the far side.
  SDxPickQuery limited;
  limited.direction = D3DXVECTOR3(0, 0, 1);
  limited.maxDistance = 80.0f;
  EXPECT_FALSE(mesh->Pick(&limited));
  SDxPickQuery inside;
  inside.origin = D3DXVECTOR3(0.5f, 0.25f, 10);
  inside.direction = D3DXVECTOR3(0, 0, 1);
  ASSERT_TRUE(mesh->Pick(&inside));
  EXPECT_NEAR(1.0f, inside.hitSquaredDistance, 1e-4f);
  // Moved vertices move the box.
  D3DXMATRIX lift;
  D3DXMatrixTranslation(&lift, 0, 5, 0);
  mesh->TransformVertices(lift);
  EXPECT_FLOAT_EQ(6.0f, mesh->GetBox().max.y);
  EXPECT_FALSE(mesh->Pick(&query));
}

TEST_F(SDxMeshTest, ALoadedMeshIsDrawnWithItsTexture) {
  SDxMesh* mesh = layer->AddMesh();
  ASSERT_TRUE(Load(mesh, MeshFile({{"cube.png", PngBytes()}})));
  mesh->SetPositionXYZ(0, 0, 10);
  Pixels out = DrawFromTheOrigin(s_engine, mesh);
  ASSERT_EQ(800, out.width);
  // The front face shows the embedded picture's colour (0, 128, 255).
  EXPECT_LT(out.Red(400, 225), 30);
  EXPECT_NEAR(128, out.Green(400, 225), 20);
  EXPECT_GT(out.Blue(400, 225), 200);
  EXPECT_EQ(0u, out.At(10, 10) & 0xFFFFFF);
}

TEST_F(SDxMeshTest, EveryMeshOfTheGamesDataLoads) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "obj"));
  std::vector<std::string> names = GameArchives::Names(archive);
  EXPECT_GE(names.size(), 20u);
  for (const std::string& name : names) {
    SFileMem data;
    ASSERT_TRUE(GameArchives::Load(archive, name, data)) << name;
    SDxMesh* mesh = layer->AddMesh();
    ASSERT_TRUE(mesh->LoadFromMemory(&data, -1, nullptr, true)) << name;
    EXPECT_GT(mesh->GetFaceCount(), 0) << name;
    EXPECT_GT(mesh->GetBox().GetWidth(), 0.0f) << name;
    // The containers carry every texture their materials name.
    if (GameArchives::Lower(name).find(".xtx") != std::string::npos) {
      for (int i = 0; i < mesh->m_materialCount; ++i)
        EXPECT_NE(nullptr, mesh->m_textures[i]) << name;
    }
    layer->RemoveItem(mesh);
  }
}

TEST_F(SDxMeshTest, MutatedFilesFailCleanly) {
  // Seeded byte changes anywhere (header, .X text, records, pictures) and
  // cuts: every load works or fails, nothing crashes.
  const std::string original = MeshFile({{"cube.png", PngBytes()}, {"b.png", "xyz"}});
  uint32_t state = 2026;
  auto next = [&state](uint32_t n) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % n;
  };
  int loaded = 0;
  SDxMesh* mesh = layer->AddMesh();
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = original;
    for (int changes = 1 + (int)next(4); changes > 0; --changes) {
      bytes[next((uint32_t)bytes.size())] = (char)next(256);
    }
    if (next(8) == 0) bytes.resize(next((uint32_t)bytes.size()));
    bool ok = Load(mesh, bytes);
    loaded += ok;
    ASSERT_EQ(ok, mesh->GetFaceCount() > 0) << round;
  }
  EXPECT_GT(loaded, 0);
  EXPECT_LT(loaded, 2000);
}

}  // namespace
