#include "core/Platform.h"
#include "engine/SDxEntity.h"

#include "EngineTestSupport.h"
#include "core/TimeBase.h"
#include "engine/SDxDispatcher.h"
#include "engine/SDxLayer.h"
#include "engine/SDxManager.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShape.h"

#include <functional>
#include <string>

namespace {

float g_realClock = 0.0f;
float RealClock() { return g_realClock; }

// An entity that writes its passes, messages, contacts and deletion into a
// shared log ("up2" is entity 2's update), with an action for its update.
class Probe : public SDxEntityObj {
public:
  Probe(SDxLayer* layer, std::string* log, SDxObject* object = nullptr)
      : SDxEntityObj(layer, object), m_log(log) {}
  ~Probe() override { Write("del"); }

  void PreUpdate() override {
    SDxEntityObj::PreUpdate();
    Write("pre");
  }
  void Update() override {
    Write("up");
    // A copy: the action may delete this entity.
    if (std::function<void(Probe*)> action = onUpdate) action(this);
  }
  void PostUpdate() override {
    Write("post");
    if (scanOnPostUpdate) SDxEntityObj::PostUpdate();
  }
  bool HandleMessage(DXMSG* message) override {
    Write("msg");
    if (std::function<void(Probe*)> action = onMessage) action(this);
    return SDxEntityObj::HandleMessage(message);
  }
  bool OnContact(SDxContactQuery* query) override {
    contacts.push_back(*query);
    return contactAnswer;
  }
  void Write(const char* what) { *m_log += std::string(what) + std::to_string(m_id) + " "; }

  std::string* m_log;
  std::function<void(Probe*)> onUpdate, onMessage;
  bool scanOnPostUpdate = false;
  bool contactAnswer = true;
  std::vector<SDxContactQuery> contacts;
};

// A force that writes its frame time into the log.
class LoggingForce : public SDxForce {
public:
  explicit LoggingForce(std::string* log) : m_log(log) {}
  void Apply(SDxEntityObj3*, float dt) override {
    *m_log += "force" + std::to_string((int)(dt * 1000.0f + 0.5f)) + " ";
  }
  std::string* m_log;
};

const bool kAllFaces[SDxShape::FACE_COUNT] = {true, true, true, true, true, true};

class SDxEntityTest : public EngineSuite {
protected:
  void SetUp() override {
    EngineSuite::SetUp();
    s_engine->m_clock = RealClock;
    g_realClock = 10.0f;
    layer = s_engine->CreateLayer();
    manager = layer->m_manager;
    dispatcher = layer->m_dispatcher;
  }
  void TearDown() override {
    s_engine->m_layers.RemoveValue(layer);
    delete layer;
    s_engine->m_clock = GetTimeSeconds;
  }
  Probe* Make(SDxObject* object = nullptr) { return new Probe(layer, &log, object); }
  // A log of one frame of the manager.
  std::string Frame() {
    log.clear();
    manager->Update();
    return log;
  }
  // A box shape of the given size at a position, both contact flags set.
  SDxShape* Box(float size, float x, float y, float z) {
    SDxShape* shape = layer->AddShape();
    shape->AddBox(nullptr, nullptr, size, size, size, false, 1.0f, kAllFaces);
    shape->SetPositionXYZ(x, y, z);
    shape->m_contactFlags[0] = true;
    return shape;
  }

  SDxLayer* layer = nullptr;
  SDxManager* manager = nullptr;
  SDxDispatcher* dispatcher = nullptr;
  std::string log;
};

TEST_F(SDxEntityTest, EntitiesMadeOrDeletedDuringAPassAreRunOnceInIdOrder) {
  Probe* first = Make();
  Probe* second = Make();
  Make();
  // Made during an update: update and post-update in the same frame, after
  // its creator; its first pre-update in the next frame.
  first->onUpdate = [&](Probe* self) {
    self->onUpdate = nullptr;
    Make();
  };
  EXPECT_EQ("pre1 pre2 pre3 up1 up2 up3 up4 post1 post2 post3 post4 ", Frame());
  EXPECT_EQ("pre1 pre2 pre3 pre4 up1 up2 up3 up4 post1 post2 post3 post4 ", Frame());

  // Deleting an earlier entity, or itself, during an update skips no one.
  second->onUpdate = [&](Probe*) { delete first; };
  EXPECT_EQ("pre1 pre2 pre3 pre4 up1 up2 del1 up3 up4 post2 post3 post4 ", Frame());
  second->onUpdate = [](Probe* self) { delete self; };
  EXPECT_EQ("pre2 pre3 pre4 up2 del2 up3 up4 post3 post4 ", Frame());
  ASSERT_EQ(2, manager->GetCount());
  EXPECT_EQ(3, manager->GetEntity(0)->GetId());
}

TEST_F(SDxEntityTest, RemovedEntitiesFinishTheFrameAndGetNoMessages) {
  Probe* first = Make();
  Probe* second = Make();
  Probe* third = Make();
  ASSERT_TRUE(dispatcher->Post(first, 1, 0.0f));
  ASSERT_TRUE(dispatcher->Post(second, 2, 0.0f));
  ASSERT_TRUE(dispatcher->Post(third, 3, 0.0f));
  g_realClock = 11.0f;
  // Flagged during its update: it still gets its post-update and is gone
  // before the messages are delivered.
  second->onUpdate = [](Probe* self) { self->Remove(); };
  // Deleted by the first message's handler: its message goes with it.
  first->onMessage = [&](Probe*) { delete third; };
  EXPECT_EQ("pre1 pre2 pre3 up1 up2 up3 post1 post2 post3 del2 msg1 del3 ", Frame());
  EXPECT_EQ(0, dispatcher->GetCount());
  EXPECT_EQ(1, manager->GetCount());
}

TEST_F(SDxEntityTest, IdsRiseFromOneAndStartAgainAfterRemoveAll) {
  Probe* a = Make();
  Make();
  EXPECT_EQ(1, a->GetId());
  delete manager->GetEntity(1);
  EXPECT_EQ(3, Make()->GetId());  // never reused while the manager lives
  EXPECT_EQ(a, manager->GetEntity(0));
  EXPECT_EQ(3, manager->m_ids[1]);
  EXPECT_FLOAT_EQ(s_engine->GetTime(), a->GetCreationTime());
  manager->RemoveAll();
  EXPECT_EQ("del3 del1 ", log.substr(log.size() - 10));
  EXPECT_EQ(1, Make()->GetId());
  layer->Clear();
  EXPECT_EQ(0, manager->GetCount());
  EXPECT_EQ(1, Make()->GetId());

  // A fixed capacity (at least 8) keeps the registered entity and refuses
  // the entity beyond it, which is then never run.
  layer->SetFixedCapacity(8);
  for (int i = 0; i < 7; ++i) Make();
  Probe* refused = Make();
  EXPECT_EQ(8, manager->GetCount());
  EXPECT_EQ(8, manager->m_ids.GetCount());
  EXPECT_EQ(std::string::npos, Frame().find("up9"));
  delete refused;
  layer->SetFixedCapacity(-1);
  EXPECT_EQ(8, manager->GetCount());
}

TEST_F(SDxEntityTest, AFixedCapacityKeepsTheEntitiesTheirIdsAndTheirMessages) {
  // Fewer, more or growable again: the storage holds at least the entities
  // already registered.
  const struct {
    int capacity;
    int entities;
  } cases[] = {{512, 3}, {2, 10}, {-1, 3}};
  for (const auto& c : cases) {
    layer->Clear();
    std::vector<Probe*> made;
    for (int i = 0; i < c.entities; ++i) made.push_back(Make());
    ASSERT_TRUE(dispatcher->Post(made.back(), 7, 0.0f));
    log.clear();
    layer->SetFixedCapacity(c.capacity);
    EXPECT_EQ("", log) << c.capacity;  // nobody deleted
    ASSERT_EQ(c.entities, manager->GetCount()) << c.capacity;
    for (int i = 0; i < c.entities; ++i) {
      EXPECT_EQ(made[i], manager->GetEntity(i)) << c.capacity;
      EXPECT_EQ(i + 1, manager->m_ids[i]) << c.capacity;
    }
    // Ids go on rising; the kept entities run and get their message.
    Probe* next = Make();
    EXPECT_EQ(c.entities + 1, next->GetId()) << c.capacity;
    g_realClock += 1.0f;
    std::string frame = Frame();
    EXPECT_NE(std::string::npos, frame.find("up1 ")) << c.capacity;
    EXPECT_NE(std::string::npos, frame.find("up" + std::to_string(c.entities + 1) + " "));
    EXPECT_NE(std::string::npos, frame.find("msg" + std::to_string(c.entities) + " "));
  }
  layer->SetFixedCapacity(-1);
}

TEST_F(SDxEntityTest, AReceiverFlaggedButAliveGetsItsMessagesAndAFreedOneNone) {
  Probe* first = Make();
  Probe* second = Make();
  Probe* third = Make();
  // Flagged by the handler of the message before its own: still alive, it
  // gets its message; one due later is dropped when it is deleted.
  first->onMessage = [&](Probe*) { second->Remove(); };
  ASSERT_TRUE(dispatcher->Post(first, 1, 0.0f));
  ASSERT_TRUE(dispatcher->Post(second, 2, 0.0f));
  ASSERT_TRUE(dispatcher->Post(second, 4, 5.0f));
  g_realClock = 11.0f;
  EXPECT_EQ("pre1 pre2 pre3 up1 up2 up3 post1 post2 post3 msg1 msg2 ", Frame());
  // Flagged between frames: a delivery before the next frame reaches it.
  third->Remove();
  ASSERT_TRUE(dispatcher->Post(third, 3, 0.0f));
  g_realClock = 12.0f;
  log.clear();
  dispatcher->DispatchDelayed();
  EXPECT_EQ("msg3 ", log);
  g_realClock = 20.0f;
  EXPECT_EQ("pre1 pre2 pre3 up1 up2 up3 post1 post2 post3 del2 del3 ", Frame());
  EXPECT_EQ(0, dispatcher->GetCount());
}

TEST_F(SDxEntityTest, MessagesAreDeliveredStrictlyAfterTheirTime) {
  std::vector<uint32_t> received;
  struct Receiver : Probe {
    using Probe::Probe;
    bool HandleMessage(DXMSG* message) override {
      ids->push_back(message->id);
      if (message->id == 99) GetLayer()->m_dispatcher->Post(this, 99, 0.0f);
      return true;
    }
    std::vector<uint32_t>* ids;
  };
  Receiver* receiver = new Receiver(layer, &log);
  receiver->ids = &received;
  dispatcher->Post(receiver, 2, 0.5f);
  dispatcher->Post(receiver, 1, 0.25f);
  dispatcher->Post(receiver, 3, 0.25f);  // after the earlier one of the same time
  EXPECT_FALSE(dispatcher->Post(nullptr, 4, 0.0f));
  SDxLayer* other = s_engine->CreateLayer();
  EXPECT_FALSE(other->m_dispatcher->Post(receiver, 4, 0.0f));
  s_engine->m_layers.RemoveValue(other);
  delete other;

  const struct {
    float clock;
    std::vector<uint32_t> delivered;
  } steps[] = {
      {10.25f, {}},
      {10.375f, {1, 3}},
      {10.5f, {1, 3}},
      {10.625f, {1, 3, 2}},
  };
  for (const auto& step : steps) {
    g_realClock = step.clock;
    dispatcher->DispatchDelayed();
    EXPECT_EQ(step.delivered, received) << step.clock;
  }

  // At a clock of 0 a message is stamped just above it: it neither blocks
  // the queue nor is lost. A negative delay counts as 0.
  received.clear();
  g_realClock = 0.0f;
  dispatcher->Post(receiver, 5, -1.0f);
  dispatcher->Post(receiver, 6, 1.0f);
  EXPECT_GT(dispatcher->GetQueued(0)->dispatchTime, 0.0f);
  g_realClock = 1.5f;
  dispatcher->DispatchDelayed();
  EXPECT_EQ((std::vector<uint32_t>{5, 6}), received);

  // A message posted while delivering waits for the next call.
  dispatcher->Post(receiver, 99, 0.0f);
  g_realClock = 2.0f;
  dispatcher->DispatchDelayed();
  EXPECT_EQ(1, dispatcher->GetCount());
  delete receiver;
  EXPECT_EQ(0, dispatcher->GetCount());
}

TEST_F(SDxEntityTest, ForcesActBetweenPreUpdateAndUpdateWithTheFrameTime) {
  Make();
  LoggingForce force(&log);
  manager->m_forceManager.m_objects.Add(nullptr);
  manager->m_forceManager.m_forces.Add(&force);
  s_engine->m_dt = 0.016f;
  EXPECT_EQ("pre1 force16 up1 post1 ", Frame());
  manager->RemoveAll();
  EXPECT_EQ(0, manager->m_forceManager.m_forces.GetCount());
}

TEST_F(SDxEntityTest, ObjectsLeaveTheLayerWithTheirEntity) {
  SDxShape* main = Box(1, 0, 0, 0);
  SDxShape* extra = Box(1, 5, 0, 0);
  Probe* entity = Make(main);
  entity->m_objects.Add(extra);
  extra->m_owner = entity;
  EXPECT_EQ(entity, main->m_owner);
  // An entity that shares an object without owning it leaves it alone.
  Probe* borrower = Make(main);
  borrower->m_ownsObjects = false;
  delete borrower;
  EXPECT_EQ(entity, main->m_owner);
  EXPECT_EQ(2, layer->GetCount(SDxLayer::LIST_SHAPES));

  entity->SetPositionXYZ(1, 2, 3);
  EXPECT_EQ(D3DXVECTOR3(1, 2, 3), extra->GetPosition());
  entity->SetVisible(false);
  EXPECT_FALSE(extra->IsVisible());
  EXPECT_FALSE(entity->IsVisible());

  // An object the layer removes leaves its owner's array; the entity's
  // deletion then removes the rest once.
  EXPECT_TRUE(layer->RemoveItem(main));
  EXPECT_EQ(extra, entity->GetMainObject());
  delete entity;
  EXPECT_EQ(0, layer->GetCount(SDxLayer::LIST_SHAPES));

  // Without objects: nothing to read and nothing to touch.
  Probe* empty = Make();
  SDxContactQuery query;
  query.otherObjects = &layer->m_objects;
  EXPECT_EQ(nullptr, empty->GetMainObject());
  EXPECT_EQ(nullptr, empty->GetPosition());
  EXPECT_FALSE(empty->Collide(&query));
}

TEST_F(SDxEntityTest, ContactScansTestBoxesThenEachKindsGeometry) {
  Probe* entity = Make(Box(2, 0, 0, 0));
  entity->scanOnPostUpdate = true;
  Probe* owner = Make(Box(2, 1.5f, 0, 0));
  SDxShape* meshSource = Box(2, 0, 0, 0);
  SDxMesh* mesh = meshSource->CreateMesh(layer);
  ASSERT_NE(nullptr, mesh);
  mesh->SetPositionXYZ(0, 1.5f, 0);
  mesh->m_contactFlags[0] = true;
  SDxShape* distant = Box(2, 0, 0, 10);
  SDxShape* own = Box(2, 0, 0, 0.5f);
  entity->m_objects.Add(own);
  own->m_owner = entity;
  SDxObject* others[] = {owner->GetMainObject(), mesh, distant, own};
  for (SDxObject* other : others) layer->m_objects.Add(other);

  // The default post-update notifies the shape (with its face) and the
  // mesh (by an axis ray, which writes no face); the distant box and the
  // entity's own object give nothing.
  Frame();
  ASSERT_EQ(4u, entity->contacts.size());  // both own objects meet both
  const SDxContactQuery& shapeHit = entity->contacts[0];
  EXPECT_EQ(owner->GetMainObject(), shapeHit.hitObject);
  EXPECT_EQ(owner, shapeHit.hitEntity);
  EXPECT_GE(shapeHit.faceIndex, 0);
  const SDxContactQuery& meshHit = entity->contacts[1];
  EXPECT_EQ(mesh, meshHit.hitObject);
  EXPECT_EQ(nullptr, meshHit.hitEntity);
  EXPECT_EQ(shapeHit.faceIndex, meshHit.faceIndex);  // left as the shape wrote it
  EXPECT_NEAR(0.5f, meshHit.contactPoint.y, 1e-4f);  // the mesh's lower face

  const struct {
    const char* what;
    void (*arrange)(SDxObject* other, SDxContactQuery* query);
    bool notify, answer;
    bool result;
    size_t contacts;
  } cases[] = {
      {"first contact ends a silent scan", [](SDxObject*, SDxContactQuery*) {}, false, true, true,
       0},
      {"a false answer ends the scan", [](SDxObject*, SDxContactQuery*) {}, true, false, false, 1},
      {"contact flags clear", [](SDxObject* o, SDxContactQuery*) { o->m_contactFlags[0] = false; },
       false, true, false, 0},
      {"contact flags ignored",
       [](SDxObject* o, SDxContactQuery* q) {
         o->m_contactFlags[0] = false;
         q->ignoreContactFlags = true;
       },
       false, true, true, 0},
      {"hidden", [](SDxObject* o, SDxContactQuery*) { o->SetVisible(false); }, false, true, false,
       0},
      {"hidden included",
       [](SDxObject* o, SDxContactQuery* q) {
         o->SetVisible(false);
         q->includeHidden = true;
       },
       false, true, true, 0},
      {"boxes touching", [](SDxObject* o, SDxContactQuery*) { o->SetPositionXYZ(2, 0, 0); }, false,
       true, true, 0},
      {"boxes apart", [](SDxObject* o, SDxContactQuery*) { o->SetPositionXYZ(2.01f, 0, 0); }, false,
       true, false, 0},
  };
  for (const auto& c : cases) {
    SDxObject* other = owner->GetMainObject();
    other->m_contactFlags[0] = true;
    other->SetVisible(true);
    other->SetPositionXYZ(1.5f, 0, 0);
    SArray<SDxObject*> list;
    list.Add(other);
    SDxContactQuery query;
    query.otherObjects = &list;
    query.notify = c.notify;
    entity->contactAnswer = c.answer;
    entity->contacts.clear();
    c.arrange(other, &query);
    EXPECT_EQ(c.result, entity->Collide(&query)) << c.what;
    EXPECT_EQ(c.contacts, entity->contacts.size()) << c.what;
  }
}

TEST_F(SDxEntityTest, TheFrameStepRunsTheManagersBeforeItsHook) {
  struct Engine : SDx {
    void OnFrame() override { *log += "hook "; }
    std::string* log;
  };
  SWnd* window = MakeEngineWindow().release();
  Engine engine;
  engine.log = &log;
  SDxConfig config;
  ASSERT_TRUE(engine.Create(window, &config, nullptr));
  engine.GetConfig()->frameLimit = 0;
  new Probe(engine.GetMainLayer(), &log);
  new Probe(engine.GetFirstLayer(), &log);
  g_engine = &engine;
  SDx::Frame();
  g_engine = nullptr;
  EXPECT_EQ("pre1 up1 post1 pre1 up1 post1 hook ", log);
  engine.Destroy();
  EXPECT_EQ("pre1 up1 post1 pre1 up1 post1 hook del1 del1 ", log);
  delete window;
}

}  // namespace
