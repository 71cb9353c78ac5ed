#include "core/Platform.h"
#include "engine/SDxLayer.h"

#include "EngineTestSupport.h"
#include "core/SFileMem.h"
#include "core/SImage.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLight.h"
#include "engine/SDxObject.h"
#include "engine/SDxText.h"
#include "engine/SDxTexture.h"

#include <math.h>

#include <vector>

namespace {

// An engine that records the items its removal hooks receive.
class RecordingEngine : public SDx {
public:
  std::vector<void*> removed;
  void OnLightRemoved(SDxLight* light) override { removed.push_back(light); }
  void OnObjectRemoved(SDxObject* object) override { removed.push_back(object); }
  void OnTextRemoved(SDxText* text) override { removed.push_back(text); }
  void OnTextureRemoved(SDxTexture* texture) override { removed.push_back(texture); }
};

// An object of any kind: a 2 x 2 square in its z = 0 plane, facing -z,
// that may hold a texture and release it when deleted, as meshes do.
class TestObject : public SDxObject {
public:
  TestObject(SDxLayer* layer, int kind) : SDxObject(layer, kind) {
    const float xy[6][2] = {{-1, -1}, {-1, 1}, {1, 1}, {-1, -1}, {1, 1}, {1, -1}};
    for (int i = 0; i < 6; ++i) square[i].position = D3DXVECTOR3(xy[i][0], xy[i][1], 0);
    m_box.Grow(D3DXVECTOR3(-1, -1, -0.1f));
    m_box.Grow(D3DXVECTOR3(1, 1, 0.1f));
  }
  ~TestObject() override {
    if (texture) m_engine->RemoveTexture(texture);
  }
  int GetFaceCount() override { return 2; }
  bool Pick(SDxPickQuery* query) override { return PickTriangles(query, square, 2); }
  void ForgetTexture(SDxTexture* t) override {
    ++s_forgotten;
    if (t == texture) texture = nullptr;
  }

  SDxVertex square[6];
  SDxTexture* texture = nullptr;
  inline static int s_forgotten = 0;
};

// The bytes of a width x height picture in the format.
void MakeImageFile(SFileMem* file, int width, int height, int format) {
  SImage image;
  ASSERT_TRUE(image.Create(width, height));
  image.Clear(RGB(0, 128, 255));
  ASSERT_TRUE(image.Save(file, format));
  file->Rewind();
}

class SDxSceneTest : public EngineSuiteOf<RecordingEngine> {
protected:
  void SetUp() override {
    EngineSuiteOf<RecordingEngine>::SetUp();
    layer = s_engine->CreateLayer();
    s_engine->removed.clear();
    s_engine->m_time = 100.0f;
  }
  void TearDown() override {
    s_engine->m_layers.RemoveValue(layer);
    delete layer;
  }
  // The game clock at 100 + seconds.
  void At(float seconds) { s_engine->m_time = 100.0f + seconds; }
  TestObject* AddObject(int kind, float z = 0.0f) {
    TestObject* object = new TestObject(layer, kind);
    object->SetPositionXYZ(0, 0, z);
    return layer->FileItem(object) ? object : nullptr;
  }
  SDxCamera* Camera() { return s_engine->GetCamera(-1); }

  SDxLayer* layer = nullptr;
};

// --- layers ------------------------------------------------------------------------

TEST_F(SDxSceneTest, ItemsAreFiledAndRemovedByKind) {
  SDxLight* light = layer->AddLight();
  SDxText* text = layer->AddText("arial", 5.0f, 0, DT_CENTER, 0xFFFF0000);
  TestObject* shape = AddObject(SDxLayerItem::KIND_SHAPE);
  TestObject* mesh = AddObject(SDxLayerItem::KIND_MESH);
  TestObject* blob = AddObject(SDxLayerItem::KIND_BLOB);
  ASSERT_TRUE(light && text && shape && mesh && blob);
  EXPECT_EQ(light, layer->GetLight(0));
  EXPECT_EQ(text, layer->GetText(0));
  EXPECT_EQ(shape, layer->GetItem(SDxLayer::LIST_SHAPES, 0));
  EXPECT_EQ(mesh, layer->GetItem(SDxLayer::LIST_MESHES, 0));
  EXPECT_EQ(blob, layer->GetItem(SDxLayer::LIST_ORDERED, 0));
  EXPECT_EQ(1, layer->m_shapeCount + layer->m_meshCount - layer->m_blobCount);
  EXPECT_TRUE(layer->m_orderDirty);
  EXPECT_EQ(DT_CENTER, text->m_format);
  EXPECT_EQ(0xFFFF0000, text->m_color);
  EXPECT_EQ(1, light->GetSequence());
  EXPECT_EQ(5, blob->GetSequence());

  // Another layer's items and items without a list are refused.
  SDxMotion motion(s_engine, layer);
  EXPECT_FALSE(layer->RemoveItem(nullptr));
  EXPECT_FALSE(layer->RemoveItem(Camera()));
  EXPECT_FALSE(layer->RemoveItem(&motion));
  EXPECT_FALSE(s_engine->GetMainLayer()->RemoveItem(light));
  EXPECT_FALSE(s_engine->GetMainLayer()->FileItem(new TestObject(layer, SDxLayerItem::KIND_MESH)));

  for (SDxLayerItem* item : std::vector<SDxLayerItem*>{light, text, shape, mesh, blob}) {
    EXPECT_TRUE(s_engine->RemoveItem(item));
    EXPECT_EQ(item, s_engine->removed.back());
  }
  EXPECT_EQ(0, layer->m_shapeCount + layer->m_meshCount + layer->m_blobCount);
  EXPECT_EQ(0, layer->GetCount(SDxLayer::LIST_ORDERED) + layer->GetCount(SDxLayer::LIST_LIGHTS));

  // A fixed capacity keeps what is filed and refuses what does not fit.
  layer->AddLight();
  layer->SetFixedCapacity(8);  // storage of 8
  EXPECT_EQ(1, layer->GetCount(SDxLayer::LIST_LIGHTS));
  for (int i = 1; i < 8; ++i) EXPECT_NE(nullptr, layer->AddLight());
  EXPECT_EQ(nullptr, layer->AddLight());
  layer->SetFixedCapacity(-1);
  EXPECT_NE(nullptr, layer->AddLight());
  EXPECT_EQ(9, layer->GetCount(SDxLayer::LIST_LIGHTS));

  // Sequence numbers start at 1 again after Clear.
  AddObject(SDxLayerItem::KIND_SHAPE);
  layer->Clear();
  EXPECT_EQ(1, layer->AddLight()->GetSequence());
}

TEST_F(SDxSceneTest, DepthSortedObjectsMoveToTheOrderedList) {
  TestObject* first = AddObject(SDxLayerItem::KIND_MESH);
  TestObject* second = AddObject(SDxLayerItem::KIND_SHAPE);
  AddObject(SDxLayerItem::KIND_BLOB);
  layer->SortOrderItems();
  EXPECT_FALSE(layer->m_orderDirty);
  second->SetDepthSorted(true);
  first->SetDepthSorted(true);
  EXPECT_TRUE(layer->m_orderDirty);
  EXPECT_EQ(3, layer->GetCount(SDxLayer::LIST_ORDERED));
  EXPECT_EQ(first, layer->GetItem(SDxLayer::LIST_ORDERED, 2));
  EXPECT_EQ(0, layer->GetCount(SDxLayer::LIST_MESHES) + layer->GetCount(SDxLayer::LIST_SHAPES));
  // The same value again changes nothing; moving a depth-sorted object
  // asks for a new sort.
  layer->SortOrderItems();
  first->SetDepthSorted(true);
  EXPECT_FALSE(layer->m_orderDirty);
  first->SetZ(3.0f);
  EXPECT_TRUE(layer->m_orderDirty);
  first->SetDepthSorted(false);
  EXPECT_EQ(first, layer->GetItem(SDxLayer::LIST_MESHES, 0));
  EXPECT_TRUE(layer->RemoveItem(second));
  EXPECT_EQ(1, layer->GetCount(SDxLayer::LIST_ORDERED));
}

TEST_F(SDxSceneTest, OrderedItemsGoFarthestFirstAndTiesBySequence) {
  Camera()->SetPositionXYZ(0, 0, 0);
  TestObject* closer = AddObject(SDxLayerItem::KIND_BLOB, 10.0f);
  TestObject* farther = AddObject(SDxLayerItem::KIND_BLOB, 20.0f);
  TestObject* tiedLater = AddObject(SDxLayerItem::KIND_BLOB, 10.01f);  // 100.2: within 1.0
  TestObject* tiedEarlier = AddObject(SDxLayerItem::KIND_BLOB, 9.99f);
  tiedEarlier->m_sequence = 0;
  layer->SortOrderItems();
  std::vector<SDxLayerItem*> expected = {farther, tiedEarlier, closer, tiedLater}, order;
  for (int i = 0; i < 4; ++i) order.push_back(layer->GetItem(SDxLayer::LIST_ORDERED, i));
  EXPECT_EQ(expected, order);
  EXPECT_FLOAT_EQ(400.0f, farther->m_cameraDistance);
}

TEST_F(SDxSceneTest, ClearTakesEveryItemOutBeforeDeletingAny) {
  // Each object releases its texture when deleted, which makes every layer
  // walk its lists: they must already be empty.
  SFileMem bytes;
  MakeImageFile(&bytes, 8, 8, SImage::FORMAT_PNG);
  int textures = s_engine->m_textures.GetCount();
  for (int i = 0; i < 3; ++i) {
    TestObject* object = AddObject(i ? SDxLayerItem::KIND_MESH : SDxLayerItem::KIND_BLOB);
    bytes.Rewind();
    object->texture = s_engine->CreateTexture(&bytes, -1, "", SDxTexture::BLEND_NONE);
    ASSERT_NE(nullptr, object->texture);
  }
  layer->AddLight();
  TestObject::s_forgotten = 0;
  layer->Clear();
  EXPECT_EQ(0, TestObject::s_forgotten);
  EXPECT_EQ(textures, s_engine->m_textures.GetCount());
  EXPECT_EQ(0, layer->GetCount(SDxLayer::LIST_LIGHTS) + layer->GetCount(SDxLayer::LIST_MESHES));
}

TEST_F(SDxSceneTest, AccessorsAnswerNullOutsideTheirRange) {
  SDx idle;
  EXPECT_EQ(nullptr, idle.GetFirstLayer());
  EXPECT_EQ(nullptr, idle.GetCamera(-1));
  EXPECT_EQ(nullptr, idle.GetCamera(0));
  EXPECT_EQ(nullptr, s_engine->GetCamera(s_engine->m_cameras.GetCount()));
  EXPECT_EQ(nullptr, s_engine->GetLayer(-1));
  EXPECT_EQ(nullptr, s_engine->GetLayer(s_engine->m_layers.GetCount()));
  EXPECT_EQ(nullptr, layer->GetLight(0));
  EXPECT_EQ(nullptr, layer->GetText(-1));
  EXPECT_EQ(nullptr, layer->GetItem(SDxLayer::LIST_COUNT, 0));
  EXPECT_EQ(0, layer->GetCount(-2));
  EXPECT_FALSE(idle.RemoveItem(nullptr));
  EXPECT_FALSE(idle.RemoveTexture(nullptr));
}

TEST_F(SDxSceneTest, TheEnginesOwnObjectsComeWithClear) {
  EXPECT_NE(nullptr, s_engine->GetFirstLayer());
  ASSERT_NE(nullptr, Camera());
  ASSERT_NE(nullptr, s_engine->m_overlayText);
  EXPECT_FALSE(s_engine->m_overlayText->IsActive());
  EXPECT_EQ(s_engine->GetMainLayer(), s_engine->m_overlayText->GetLayer());
  ASSERT_NE(nullptr, s_engine->m_slowWarningTexture);
  EXPECT_EQ(2, s_engine->m_slowWarningTexture->m_pictureWidth);
  EXPECT_STREQ("TOO SLOW: USE ANOTHER RESOLUTION OR DEACTIVATE LIGHTING (F1)",
               s_engine->m_slowWarningText->m_text.GetText());
}

// --- motion and culling ------------------------------------------------------------

TEST_F(SDxSceneTest, RotationsTurnAboutWorldOrLocalAxes) {
  SDxMotion item(s_engine, layer);
  D3DXVECTOR3 forward, up, right;
  item.SetRotation(DX_HALF_PI, 0, 0);  // about the world up axis
  item.GetAxes(&forward, &up, nullptr, nullptr);
  EXPECT_LT(GetDistance(forward, D3DXVECTOR3(1, 0, 0)), 1e-5f);
  EXPECT_LT(GetDistance(up, D3DXVECTOR3(0, 1, 0)), 1e-5f);
  // Pitched, then turned about its own tilted up axis: the up axis stays
  // and the forward axis becomes the old right axis.
  item.SetRotation(0, DX_PI / 4, 0);
  D3DXVECTOR3 tiltedUp = item.m_up, oldRight = item.m_right;
  EXPECT_GT(fabsf(tiltedUp.z), 0.5f);
  item.RotateLocal(DX_HALF_PI, 0, 0);
  item.GetAxes(&forward, &up, &right, nullptr);
  EXPECT_LT(GetDistance(up, tiltedUp), 1e-5f);
  EXPECT_LT(GetDistance(forward, oldRight), 1e-5f);

  item.SetRotation(0, 0, 0);
  item.SetPositionXYZ(0, 5, 0);
  EXPECT_EQ(D3DXVECTOR3(0, 5, 2), item.MoveAlong(2.0f, nullptr));
  item.SetRotation(0, -DX_PI / 4, 0);  // looking up
  D3DXVECTOR3 flat = item.MoveForwardFlat(1.0f);
  EXPECT_EQ(5.0f, flat.y);
  EXPECT_GT(flat.z, 2.5f);
  EXPECT_EQ(flat.z, item.GetWorldMatrix()._43);
  // Grid cells truncate toward zero: -0.5 cells is cell 0.
  item.SetPositionXYZ(-500.0f, 1500.0f, -1500.0f);
  EXPECT_EQ(0, item.m_gridCell[0]);
  EXPECT_EQ(1, item.m_gridCell[1]);
  EXPECT_EQ(-1, item.m_gridCell[2]);
  EXPECT_TRUE(item.SetAutoUpdate(false, false));
  EXPECT_FALSE(item.SetAutoUpdate(true, false));
}

TEST_F(SDxSceneTest, ViewConeCullingWithTheWidenedCone) {
  SDxCamera* camera = Camera();
  camera->SetPositionXYZ(0, 0, 0);
  camera->SetRotation(0, 0, 0);
  TestObject* object = AddObject(SDxLayerItem::KIND_MESH);
  const struct {
    int mode;
    D3DXVECTOR3 position;
    float scale;
    bool culled;
  } cases[] = {
      {SDxMotion::CULL_NONE, D3DXVECTOR3(0, 0, -50), 1.0f, false},
      {SDxMotion::CULL_NEVER, D3DXVECTOR3(0, 0, -50), 1.0f, false},
      {SDxMotion::CULL_VIEW_CONE, D3DXVECTOR3(0, 0, 50), 1.0f, false},
      {SDxMotion::CULL_VIEW_CONE, D3DXVECTOR3(0, 0, -50), 1.0f, true},
      // 95 degrees off the view axis: outside the field of view (57
      // degrees), inside the cone widened by 45 degrees.
      {SDxMotion::CULL_VIEW_CONE, D3DXVECTOR3(50 * sinf(1.658f), 0, 50 * cosf(1.658f)), 1.0f,
       false},
      // The centre behind the camera, one corner of the big box in view.
      {SDxMotion::CULL_VIEW_CONE, D3DXVECTOR3(0, 0, -5), 100.0f, false},
  };
  for (const auto& c : cases) {
    object->m_culling = c.mode;
    object->SetScale(c.scale, c.scale, c.scale);
    object->SetPosition(c.position);
    EXPECT_EQ(c.culled, object->IsOutsideViewCone(nullptr)) << (int)(&c - cases);
  }
  layer->RenderOpaque();  // draws nothing: a test object has no outline
  EXPECT_EQ(0, layer->m_culledCount);
}

// --- lights and cameras ------------------------------------------------------------

TEST_F(SDxSceneTest, LightFadesLoopOrEndOnTheirTarget) {
  SDxLight* light = layer->AddLight();
  light->FadeTo(0.0f, 1.0f, 2.0f, true);
  At(1.0f);
  EXPECT_NEAR(0.5f, light->GetCurrentIntensity(), 1e-4f);
  At(2.0f);
  EXPECT_FLOAT_EQ(1.0f, light->GetCurrentIntensity());
  light->Step();  // restarts backwards
  At(3.0f);
  EXPECT_NEAR(0.5f, light->GetCurrentIntensity(), 1e-4f);

  // A fade out switches off and keeps the base intensity.
  light->SetIntensity(0.8f);
  At(10.0f);
  light->FadeOut(1.0f);
  At(11.0f);
  EXPECT_EQ(0.0f, light->GetCurrentIntensity());
  light->Step();
  EXPECT_FALSE(light->IsEnabled());
  EXPECT_EQ(0.8f, light->GetCurrentIntensity());
  // A fade in that ends keeps the light on at its target.
  light->FadeTo(0.2f, 1.0f, 2.0f, false);
  At(13.0f);
  light->Step();
  EXPECT_TRUE(light->IsEnabled());
  EXPECT_EQ(1.0f, light->GetCurrentIntensity());
}

TEST_F(SDxSceneTest, LightSequencesBlinkWithoutDrift) {
  SDxLight* light = layer->AddLight();
  SArray<float> steps;
  steps.Add(0.5f);
  steps.Add(-0.5f);
  light->SetSequence(steps);
  light->PlaySequence(true);
  // 1,000 frames of 0.03 s: each step still ends on the half second.
  int wrong = 0;
  for (int frame = 1; frame <= 1000; ++frame) {
    float t = frame * 0.03f;
    At(t);
    light->Step();
    float phase = fmodf(t, 1.0f);
    if (fabsf(phase - 0.5f) > 0.01f && fabsf(phase - 1.0f) > 0.01f && phase > 0.01f) {
      wrong += light->IsLit() != (phase < 0.5f);
    }
  }
  EXPECT_EQ(0, wrong);

  // Without looping the light is drawn normally after the last step.
  light->m_sequenceLoops = false;
  light->SetSequence(steps);
  At(50.0f);
  light->PlaySequence(true);
  At(50.6f);
  light->Step();
  EXPECT_FALSE(light->IsLit());
  At(51.2f);
  light->Step();
  EXPECT_FALSE(light->m_sequencePlaying);
  EXPECT_TRUE(light->IsLit());

  // An item of another layer is not followed.
  SDxLight* other = s_engine->GetMainLayer()->AddLight();
  light->AttachTo(other);
  EXPECT_EQ(nullptr, light->m_attached);
  s_engine->GetMainLayer()->RemoveItem(other);
}

TEST_F(SDxSceneTest, CamerasProjectShakeAndMapToTheScreen) {
  SDxCamera* camera = s_engine->CreateCamera();
  D3DXMATRIX expected;
  D3DXMatrixPerspectiveFovLH(&expected, 1.0f, 16.0f / 9.0f, 1.0f, 65535.0f);
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(expected.m[i / 4][i % 4], camera->m_projection.m[i / 4][i % 4], 1e-4f);
  float x = 0, y = 0;
  camera->SetPositionXYZ(3, 4, 5);
  camera->WorldToScreen(D3DXVECTOR3(3, 4, 25), &x, &y);
  EXPECT_NEAR(50.0f, x, 1e-3f);
  EXPECT_NEAR(50.0f, y, 1e-3f);

  // A returning shake ends exactly on the direction it started from.
  camera->SetRotation(0.3f, 0.2f, 0.0f);
  D3DXVECTOR3 start = camera->m_forward;
  camera->StartShake(5.0f, 1.0f, -1.0f, true);
  EXPECT_EQ(camera->m_shakeFrom, camera->m_shakeTo);
  for (int frame = 1; frame <= 60 && camera->IsShaking(); ++frame) {
    At(frame * 0.02f);
    s_engine->m_dt = 0.02f;
    camera->Step();
    if (frame == 10) {
      EXPECT_NE(start, camera->m_forward);
    }
  }
  EXPECT_FALSE(camera->IsShaking());
  EXPECT_EQ(start, camera->m_forward);
}

// --- picking -------------------------------------------------------------------------

TEST_F(SDxSceneTest, PickFilterMasksOwnersAndDirection) {
  TestObject* object = AddObject(SDxLayerItem::KIND_SHAPE, 5.0f);
  SDxPickQuery query;
  query.direction = D3DXVECTOR3(0, 0, 1);
  query.requiredMask = 0x3;
  const struct {
    uint32_t mask;
    bool passes;
  } masks[] = {{0x1, true}, {0x2, true}, {0x3, true}, {0x0, false}, {0x4, false}, {0x5, false}};
  for (const auto& m : masks) {
    object->m_pickMask = m.mask;
    EXPECT_EQ(m.passes, object->PassesPickFilter(query)) << m.mask;
  }
  object->m_pickMask = 0x1;
  object->m_owner = reinterpret_cast<SDxEntity*>(object);  // any owner
  query.acceptOwned = false;
  EXPECT_FALSE(object->PassesPickFilter(query));
  query.acceptOwned = true;
  query.excludedEntity = object->m_owner;
  EXPECT_FALSE(object->PassesPickFilter(query));
  object->m_owner = nullptr;
  query.requiredKind = SDxLayerItem::KIND_MESH;
  EXPECT_FALSE(object->PassesPickFilter(query));
  query.requiredKind = 0;
  object->m_hidden = true;
  EXPECT_FALSE(object->PassesPickFilter(query));
  query.includeHidden = true;
  EXPECT_TRUE(object->Pick(&query));
  query.direction = D3DXVECTOR3(0, 0, 0);
  EXPECT_FALSE(object->PassesPickFilter(query));
}

TEST_F(SDxSceneTest, RaysPickTheNearestObjectWhateverTheOrder) {
  TestObject* closer = AddObject(SDxLayerItem::KIND_SHAPE, 5.0f);
  TestObject* farther = AddObject(SDxLayerItem::KIND_MESH, 10.0f);
  farther->SetScale(3, 3, 3);
  for (bool nearFirst : {true, false}) {
    SDxPickQuery query;
    query.origin = D3DXVECTOR3(0.5f, -0.5f, 0);
    query.direction = D3DXVECTOR3(0, 0, 2);
    for (TestObject* object : nearFirst ? std::vector<TestObject*>{closer, farther}
                                        : std::vector<TestObject*>{farther, closer}) {
      object->Pick(&query);
    }
    EXPECT_EQ(closer, query.hitObject) << nearFirst;
    EXPECT_FLOAT_EQ(25.0f, query.hitSquaredDistance);
    EXPECT_FLOAT_EQ(5.0f, query.hitParameter);
    EXPECT_EQ(1, query.hitFace);
  }
  // Hits outside the squared distance range are refused.
  SDxPickQuery query;
  query.direction = D3DXVECTOR3(0, 0, 1);
  query.maxDistance = 24.0f;
  EXPECT_FALSE(closer->Pick(&query));
  query.maxDistance = 200.0f;
  query.minDistance = 26.0f;
  EXPECT_FALSE(closer->Pick(&query));
  EXPECT_TRUE(farther->Pick(&query));
  EXPECT_EQ(farther, query.hitObject);
}

// --- textures ----------------------------------------------------------------------

TEST_F(SDxSceneTest, TexturesGiveTheirPictureSizeAndAreSharedByName) {
  const struct {
    int format, width, height;
  } pictures[] = {{SImage::FORMAT_JPEG, 300, 200}, {SImage::FORMAT_PNG, 100, 50}};
  for (const auto& p : pictures) {
    SFileMem bytes;
    MakeImageFile(&bytes, p.width, p.height, p.format);
    SDxTexture* texture = s_engine->CreateTexture(&bytes, -1, "picture", SDxTexture::BLEND_ALPHA);
    ASSERT_NE(nullptr, texture);
    EXPECT_EQ(p.width, texture->m_pictureWidth);
    EXPECT_EQ(p.height, texture->m_pictureHeight);
    EXPECT_FLOAT_EQ((float)p.width / p.height, texture->m_aspect);
    EXPECT_GE(texture->m_width, p.width);
    EXPECT_EQ(texture, s_engine->FindTexture("picture"));
    // Every item lets go of a texture that is removed.
    TestObject* object = AddObject(SDxLayerItem::KIND_MESH);
    object->texture = texture;
    EXPECT_TRUE(s_engine->RemoveTexture(texture));
    EXPECT_EQ(nullptr, object->texture);
    EXPECT_EQ(texture, s_engine->removed.back());
    EXPECT_EQ(nullptr, s_engine->FindTexture("picture"));
  }

  // Bad bytes fail and keep the name; a bad normal map keeps the colour.
  SFileMem good, bad("not a picture");
  MakeImageFile(&good, 16, 16, SImage::FORMAT_PNG);
  SDxTexture texture(s_engine);
  ASSERT_TRUE(texture.LoadFromFile(&good, -1, "kept", SDxTexture::BLEND_NONE));
  EXPECT_FALSE(texture.LoadNormalMap(&bad));
  EXPECT_EQ(nullptr, texture.m_normalMap);
  EXPECT_NE(nullptr, texture.m_texture);
  bad.Rewind();
  EXPECT_FALSE(texture.LoadFromFile(&bad, -1, "other", SDxTexture::BLEND_NONE));
  EXPECT_EQ(nullptr, texture.m_texture);
  EXPECT_STREQ("kept", texture.GetName().GetText());
  EXPECT_EQ(nullptr, s_engine->CreateTexture(&bad, 1000, "x", 0));
}

// --- texts -----------------------------------------------------------------------------

TEST_F(SDxSceneTest, TextsBlinkFadeAndHideOnTheirTimer) {
  SDxText* text = layer->AddText("arial", 5.0f, 0, 0, 0xFFFF0000);
  ASSERT_NE(nullptr, text);
  text->SetAlpha(128);
  EXPECT_EQ(0x80FF0000u, text->m_color);
  EXPECT_EQ(0x80000000u, text->m_shadowColor);
  EXPECT_EQ(1, text->m_shadowOffset);  // 1/1000 of 450 pixels, rounded up
  text->SetAlpha(255);
  // Hidden for 50 of every 100 hundredths; a period of 0 never blinks.
  text->SetBlink(100, 50);
  EXPECT_TRUE(text->IsBlinkHidden(10.25f));
  EXPECT_FALSE(text->IsBlinkHidden(10.75f));
  text->SetBlink(0, 50);
  EXPECT_FALSE(text->IsBlinkHidden(10.25f));
  text->SetBlink(0, 0);

  // Shown for 2 s, then faded to 0 over 0.5 s and made inactive.
  IDirect3DDevice9* device = s_engine->m_device;
  auto draw = [&](float t) {
    At(t);
    device->BeginScene();
    layer->RenderScreenItems();
    device->EndScene();
  };
  text->SetDisplayTimer(2.0f, 0.5f);
  draw(1.9f);
  EXPECT_EQ(255, text->m_alpha);
  draw(2.0f);
  draw(2.25f);
  EXPECT_NEAR(128, text->m_alpha, 1);
  EXPECT_TRUE(text->IsActive());
  draw(2.5f);
  EXPECT_EQ(0, text->m_alpha);
  EXPECT_FALSE(text->IsActive());
  EXPECT_FALSE(text->FadeOut(0, 1.0f));

  SDxText* empty = layer->AddText("arial", -3.0f, 0, 0, 0xFFFFFFFF);
  ASSERT_NE(nullptr, empty);
  EXPECT_EQ(0.0f, empty->m_size);
}

// A text drawn again from the glyph draws it kept looks exactly like the
// same text laid out afresh, and so does a text whose text, rectangle,
// colour, format or font changed after it was drawn.
TEST_F(SDxSceneTest, TextsDrawnAgainMatchAFreshLayoutAfterEveryChange) {
  auto frame = [&] { return DrawIntoMainA(s_engine, [&] { layer->RenderScreenItems(); }); };
  auto make = [&] {
    SDxText* text = layer->AddText("arial", 6.0f, 0, DT_LEFT | DT_TOP, 0xFFFF8000);
    if (text) {
      text->SetRect(10, 10, 90, 90);
      text->SetText("SCORE 42", false);
    }
    return text;
  };
  const struct {
    const char* name;
    void (*change)(SDxText*);
  } kChanges[] = {
      {"nothing", [](SDxText*) {}},
      {"text", [](SDxText* t) { t->SetText("LAP 3/5", false); }},
      {"longer text", [](SDxText* t) { t->SetText("SCORE 4200", false); }},
      {"rectangle", [](SDxText* t) { t->SetRect(30, 50, 95, 95); }},
      {"opacity", [](SDxText* t) { t->SetAlpha(100); }},
      {"colours", [](SDxText* t) { t->SetColors(0xFF00FF00, 0xFF0000FF); }},
      {"format", [](SDxText* t) { t->SetFormat(DT_RIGHT | DT_BOTTOM | DT_SINGLELINE); }},
      {"font", [](SDxText* t) { t->CreateFont("arial", 9.0f, SDxText::STYLE_BOLD); }},
      {"no shadow", [](SDxText* t) { t->m_shadow = false; }},
  };
  for (const auto& c : kChanges) {
    SCOPED_TRACE(c.name);
    SDxText* text = make();
    ASSERT_NE(nullptr, text);
    frame();
    frame();
    c.change(text);
    Pixels changed = frame();
    Pixels again = frame();
    layer->RemoveItem(text);

    SDxText* fresh = make();
    ASSERT_NE(nullptr, fresh);
    c.change(fresh);
    Pixels expected = frame();
    layer->RemoveItem(fresh);

    int ink = 0;
    for (uint32_t color : expected.colors) ink += (color & 0xFFFFFF) != 0;
    EXPECT_GT(ink, 50);
    EXPECT_TRUE(changed.colors == expected.colors);
    EXPECT_TRUE(again.colors == expected.colors);
  }
}

TEST_F(SDxSceneTest, TextInkStaysInsideItsRectangle) {
  SDxText* text = layer->AddText("arial", 8.0f, SDxText::STYLE_BOLD, DT_LEFT | DT_TOP, 0xFFFFFFFF);
  ASSERT_NE(nullptr, text);
  text->SetRect(20, 20, 60, 40);  // pixels 160, 90 to 480, 180
  text->SetText("HHHH", false);
  IDirect3DDevice9* device = s_engine->m_device;
  device->SetRenderTarget(0, s_engine->m_mainA.surface);
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
  layer->RenderScreenItems();
  device->EndScene();
  Pixels out = ReadTarget(s_engine, s_engine->m_mainA);
  ASSERT_EQ(800, out.width);
  int inside = 0, outside = 0;
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      bool ink = out.Red(x, y) > 64;
      // The text sits one shadow offset up and left of the rectangle.
      bool in = x >= 159 && x < 480 && y >= 89 && y < 180;
      (in ? inside : outside) += ink;
    }
  }
  EXPECT_GT(inside, 100);
  EXPECT_EQ(0, outside);
}

}  // namespace
