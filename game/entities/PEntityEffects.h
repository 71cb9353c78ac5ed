// The scene effects that several entities make the same way: the explosion
// sheet as a blob, the cloud puff of an explosion, the shock-wave ring and
// a point light. Each is made on the given layer (null without a layer or
// when the engine cannot make it) and owned by the layer; the entity that
// made it removes it from the scene when it goes.
#pragma once

#include "core/Platform.h"

#include <d3dx9.h>

class SDxBlob;
class SDxLayer;
class SDxLight;
class SDxParticlePoint;
class SDxPresetShockwave;

// "explosion.jpg" as a sheet of 4 x 8 frames, size x size, 24 frames a
// second, turned to nothing, hidden until played.
SDxBlob* AddExplosionBlob(SDxLayer* layer, float size);
// The blob at the point, moved toward the camera by the distance, its
// animation from the start (shown).
void PlayExplosion(SDxBlob* blob, const D3DXVECTOR3& at, float towardCamera);
// 25 atoms of "particle_cloudalpha.png" fading from white (the alpha) to
// nothing over 1 s, 25 a second in every direction at speed 50; not
// started.
SDxParticlePoint* AddExplosionSmoke(SDxLayer* layer, float pointSize, float alpha);
// A ring of "shockwave0.jpg" drawn into the second beam target, 0.5 s a
// run, not running.
SDxPresetShockwave* AddShockwave(SDxLayer* layer, float outerRadius, float width);
// A light of that colour and intensity, range (range, -1), switched on.
SDxLight* AddPointLight(SDxLayer* layer, float r, float g, float b, float intensity, float range);
