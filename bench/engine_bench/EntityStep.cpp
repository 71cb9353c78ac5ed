// The entity step: 1,000 entities on unit boxes move along z through a layer
// whose object list holds solid boxes, each running its post-update contact
// scan against them; one manager update is measured (the fastest batch). The entities' boxes
// take part in contacts, or are left as objects are built (their scans
// then test nothing).
#include "core/Platform.h"

#include "bench/BenchTiming.h"
#include "engine/SDx.h"
#include "engine/SDxEntity.h"
#include "engine/SDxLayer.h"
#include "engine/SDxManager.h"
#include "engine/SDxShape.h"

#include <stdint.h>
#include <stdio.h>

namespace {

// A fixed sequence in [-range / 2, range / 2], the same on every run.
float Spread(float range) {
  static uint32_t state = 54321;
  state = state * 1664525u + 1013904223u;
  return range * ((float)(state >> 8) / 16777216.0f - 0.5f);
}

// An entity that moves along z, wrapping at the end of the field, and
// counts the contacts of its scan.
class Mover : public SDxEntityObj {
public:
  Mover(SDxLayer* layer, SDxObject* object, float speed, int* contacts)
      : SDxEntityObj(layer, object), m_speed(speed), m_contacts(contacts) {}
  void Update() override {
    SDxEntityObj::Update();
    OffsetZ(GetZ() > 100.0f ? -200.0f : m_speed);
  }
  bool OnContact(SDxContactQuery*) override {
    ++*m_contacts;
    return true;
  }
  float m_speed;
  int* m_contacts;
};

// A box shape at a random place in the field, taking part in contacts.
SDxShape* AddSolidBox(SDxLayer* layer, float size) {
  static const bool kFaces[SDxShape::FACE_COUNT] = {true, true, true, true, true, true};
  SDxShape* shape = layer->AddShape();
  shape->AddBox(nullptr, nullptr, size, size, size, false, 1.0f, kFaces);
  shape->SetPositionXYZ(Spread(200), Spread(200), Spread(200));
  shape->m_contactFlags[0] = true;
  return shape;
}

}  // namespace

// Prints the step for several counts of solid boxes.
void PrintEntitySteps(SDx* engine) {
  const struct {
    int solids;
    bool takePart;
  } kRuns[] = {{100, false}, {20, true}, {100, true}};
  for (const auto& run : kRuns) {
    SDxLayer* layer = engine->CreateLayer();
    for (int i = 0; i < run.solids; ++i) layer->m_objects.Add(AddSolidBox(layer, 10.0f));
    int contacts = 0;
    for (int i = 0; i < 1000; ++i) {
      SDxShape* box = AddSolidBox(layer, 1.0f);
      box->m_contactFlags[0] = run.takePart;
      new Mover(layer, box, 0.75f + Spread(0.5f), &contacts);
    }
    for (int u = 0; u < 10; ++u) layer->m_manager->Update();
    // The fastest of several batches: the machine is shared.
    const int kBatches = 10, kUpdates = 40;
    double seconds = 1e9;
    contacts = 0;
    for (int b = 0; b < kBatches; ++b) {
      double start = bench::Now();
      for (int u = 0; u < kUpdates; ++u) layer->m_manager->Update();
      double batch = (bench::Now() - start) / kUpdates;
      seconds = batch < seconds ? batch : seconds;
    }
    printf(
        "  entity step, 1000 moving entities %s, scanning %d solid boxes: %.3f ms (%.1f "
        "contacts)\n",
        run.takePart ? "in contact" : "as built", run.solids, seconds * 1e3,
        (double)contacts / (kBatches * kUpdates));
  }
}
