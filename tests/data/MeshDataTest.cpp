// Every mesh file that the level loader asks for, read from the mesh archive
// with the game's key, loads through D3DX as the engine loads it: the .X
// part of the container (or the whole file), its materials, the embedded
// textures the materials name, and a body with volume on every axis whose
// faces look outward.
#include "core/Platform.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "tests/data/GameArchives.h"
#include "tests/data/RequiredNames.h"
#include "tests/data/TestDevice.h"

#include <d3d9.h>
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string>

namespace {

struct MeshRow {
  const char* name;
  int materials;        // exact count of materials
  bool embeddedTextures;  // every material names a texture carried in the file
};

// The level loader's mesh files and what each must hold; the enemy and guard
// files exist once per theme, the bonus theme's with an empty theme name.
const MeshRow kMeshes[] = {
    {"dummy.x", 1, false},          {"arrow.xtx", 2, true},         {"fan.x", 1, false},
    {"fire_medieval.xtx", 1, true}, {"gem.x", 1, false},            {"enemy_egypt.x", 1, false},
    {"enemy_medieval.x", 1, false}, {"enemy_hitech.x", 1, false},   {"enemy_.x", 1, false},
    {"guard_egypt.x", 1, false},    {"guard_medieval.x", 2, false}, {"guard_hitech.x", 1, false},
    {"guard_.x", 1, false},         {"mine_medieval.x", 1, false},  {"mine_hitech.x", 1, false},
    {"mirror.x", 1, false},         {"dynamite.x", 1, false},       {"wagon.x", 1, false},
    {"boss.x", 1, false},           {"boss_fly.x", 1, false},
};

const char kMagic[24] = "VANDRO DX3DMESH 1.0.0.0";

// A mesh file split as the engine splits it: the .X bytes and the embedded
// records.
struct MeshFile {
  const uint8_t* x = nullptr;
  int xSize = 0;
  struct Record {
    SString name;
    const uint8_t* data;
    int size;
  };
  Record records[8];
  int recordCount = 0;
  bool container = false;

  // False when the container's offsets or records run outside the bytes.
  bool Parse(const uint8_t* bytes, int size) {
    if (size < 27 || memcmp(bytes, kMagic, 24) != 0) {
      x = bytes;
      xSize = size;
      return true;
    }
    container = true;
    uint32_t xEnd = 0;
    memcpy(&xEnd, bytes + 24, 4);
    if (xEnd < 28 || xEnd > (uint32_t)size) return false;
    x = bytes + 28;
    xSize = (int)xEnd - 28;
    int at = (int)xEnd;
    for (;;) {
      if (at + 4 > size) return false;
      uint32_t n = 0;
      memcpy(&n, bytes + at, 4);
      at += 4;
      if (n == 0) return at == size;
      const uint8_t* nul = (const uint8_t*)memchr(bytes + at, 0, size - at);
      if (!nul || recordCount == 8) return false;
      Record& r = records[recordCount++];
      r.name = SString((const char*)bytes + at);
      at = (int)(nul - bytes) + 1;
      if (n > (uint32_t)(size - at)) return false;
      r.data = bytes + at;
      r.size = (int)n;
      at += (int)n;
    }
  }

  const Record* Find(const char* name) const {
    for (int i = 0; i < recordCount; ++i)
      if (records[i].name.CompareNoCase(name) == 0) return &records[i];
    return nullptr;
  }
};

class MeshDataTest : public DeviceSuite {};

// Volume enclosed by the faces, positive when each face's corners run
// clockwise as seen from outside (Direct3D's front faces).
double SignedVolume(ID3DXMesh* mesh) {
  DWORD stride = mesh->GetNumBytesPerVertex();
  const uint8_t* vertices = nullptr;
  const uint16_t* indices = nullptr;
  double volume = 0;
  if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, (void**)&vertices))) return 0;
  if (SUCCEEDED(mesh->LockIndexBuffer(D3DLOCK_READONLY, (void**)&indices))) {
    for (DWORD f = 0; f < mesh->GetNumFaces(); ++f) {
      const float* a = (const float*)(vertices + indices[3 * f] * stride);
      const float* b = (const float*)(vertices + indices[3 * f + 1] * stride);
      const float* c = (const float*)(vertices + indices[3 * f + 2] * stride);
      // a . (b x c), with the sign of a left-handed clockwise face.
      double cx = (double)b[1] * c[2] - (double)b[2] * c[1];
      double cy = (double)b[2] * c[0] - (double)b[0] * c[2];
      double cz = (double)b[0] * c[1] - (double)b[1] * c[0];
      volume += (a[0] * cx + a[1] * cy + a[2] * cz) / 6.0;
    }
    mesh->UnlockIndexBuffer();
  }
  mesh->UnlockVertexBuffer();
  return volume;
}

TEST_F(MeshDataTest, EveryMeshLoadsWithMaterialsTexturesAndVolume) {
  ASSERT_NE(s_device, nullptr) << "no Direct3D device";
  // The table covers every mesh the game loads.
  for (const std::string& name : RequiredNames::Meshes()) {
    bool listed = false;
    for (const MeshRow& row : kMeshes) listed = listed || name == row.name;
    EXPECT_TRUE(listed) << name;
  }
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "obj"));
  for (const MeshRow& row : kMeshes) {
    SCOPED_TRACE(row.name);
    SFileMem file;
    ASSERT_TRUE(GameArchives::Load(archive, row.name, file));
    MeshFile mesh;
    ASSERT_TRUE(mesh.Parse(file.GetBuffer(), file.GetSize()));
    EXPECT_EQ(mesh.container, row.embeddedTextures);

    ID3DXMesh* loaded = nullptr;
    ID3DXBuffer* materialBuffer = nullptr;
    DWORD materialCount = 0;
    ASSERT_EQ(D3DXLoadMeshFromXInMemory(mesh.x, mesh.xSize, D3DXMESH_SYSTEMMEM, s_device, nullptr,
                                        &materialBuffer, nullptr, &materialCount, &loaded),
              D3D_OK);
    EXPECT_EQ((int)materialCount, row.materials);
    const D3DXMATERIAL* materials = (const D3DXMATERIAL*)materialBuffer->GetBufferPointer();
    for (DWORD i = 0; i < materialCount; ++i) {
      const char* texture = materials[i].pTextureFilename;
      EXPECT_EQ(texture != nullptr, row.embeddedTextures) << "material " << i;
      if (!texture) continue;
      const MeshFile::Record* record = mesh.Find(texture);
      ASSERT_NE(record, nullptr) << texture;
      IDirect3DTexture9* image = nullptr;
      EXPECT_EQ(D3DXCreateTextureFromFileInMemory(s_device, record->data, record->size, &image), D3D_OK)
          << texture;
      if (image) image->Release();
    }
    // Every subset is used by some face.
    DWORD attributes = 0;
    loaded->GetAttributeTable(nullptr, &attributes);
    DWORD* faceAttributes = nullptr;
    ASSERT_EQ(loaded->LockAttributeBuffer(D3DLOCK_READONLY, &faceAttributes), D3D_OK);
    for (DWORD m = 0; m < materialCount; ++m) {
      bool used = false;
      for (DWORD f = 0; f < loaded->GetNumFaces() && !used; ++f) used = faceAttributes[f] == m;
      EXPECT_TRUE(used) << "material " << m << " has no face";
    }
    loaded->UnlockAttributeBuffer();

    EXPECT_TRUE(loaded->GetFVF() & D3DFVF_TEX1) << "no texture coordinates";
    D3DXVECTOR3 low, high;
    void* vertices = nullptr;
    ASSERT_EQ(loaded->LockVertexBuffer(D3DLOCK_READONLY, &vertices), D3D_OK);
    D3DXComputeBoundingBox((const D3DXVECTOR3*)vertices, loaded->GetNumVertices(), loaded->GetNumBytesPerVertex(),
                           &low, &high);
    loaded->UnlockVertexBuffer();
    EXPECT_GT(high.x - low.x, 0.0f);
    EXPECT_GT(high.y - low.y, 0.0f);
    EXPECT_GT(high.z - low.z, 0.0f);
    EXPECT_GT(SignedVolume(loaded), 0.0);

    materialBuffer->Release();
    loaded->Release();
  }
}

}  // namespace
