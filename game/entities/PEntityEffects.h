// The scene items that several entities of the track make alike: their
// point lights, explosion sheets and particle puffs, each added to the
// entity's layer (and removed from it by the entity's destructor).
#pragma once

#include "core/Platform.h"

#include <d3dx9.h>

class SDxBlob;
class SDxLayer;
class SDxLayerItem;
class SDxLight;
class SDxParticlePoint;
class SDxTexture;

// A point light of the colour and intensity, its range the first value
// with the second taken from it; null without a layer.
SDxLight* AddPointLight(SDxLayer* layer, float r, float g, float b, float intensity, float range);

// The explosion sheet ("explosion.jpg", 4 columns by 8 rows, every frame)
// size x size, 24 frames a second, not turned to the camera, hidden until
// it goes off.
SDxBlob* AddExplosion(SDxLayer* layer, float size);
// The explosion at the point, 1 toward the camera, played from its first
// frame.
void SetOff(SDxBlob* explosion, const D3DXVECTOR3& at);

// A particle emitter as the entities describe it: its atoms fade from the
// first colour to the second; not started.
struct PEmitterLook {
  int atoms;
  bool alphaCloud;  // "particle_cloudalpha.png", else "particle_cloud.png"
  float from[4], to[4];
  float pointSize, lifetime, rate, speed;
  D3DXVECTOR3 rangeMin, rangeMax;
};
SDxParticlePoint* AddEmitter(SDxLayer* layer, const PEmitterLook& look);

// The puff every burst and explosion makes: atoms white to nothing, 1.0 s,
// 25 a second, in every direction at 50.
PEmitterLook PuffLook(int atoms, float pointSize);
// The smoke rising from a fuse or a flame: speed and lifetime given, 2 tenths
// wide, rising.
PEmitterLook RisingLook(int atoms, float pointSize, float lifetime, float rate, float speed);

// The item (when not null) leaves its layer.
void RemoveFromLayer(SDxLayerItem* item);
// Each of the items.
template <class... Items>
void RemoveFromLayer(Items*... items) {
  (RemoveFromLayer(static_cast<SDxLayerItem*>(items)), ...);
}

class SDxPresetShockwave;
// A ring of "shockwave0.jpg" drawn into the second beam target, 0.5 s a
// run, not running; null without a layer.
SDxPresetShockwave* AddShockwave(SDxLayer* layer, float outerRadius, float width);
