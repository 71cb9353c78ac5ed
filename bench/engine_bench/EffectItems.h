// The per-frame cost of the engine's effect items.
#pragma once

#include "core/Platform.h"

class SDx;
class SDxSprite;
class SDxTexture;

// A square opaque texture of size x size noise pixels, filed in the
// engine's texture array.
SDxTexture* MakeTexture(SDx* engine, int size);
// The i-th sprite of a 4 x 4 sheet: by i % 4 a signed number counting up,
// an endless fade, a looping animation, or the plain first frame.
void VarySprite(SDxSprite* sprite, int i);

// Prints the cost per frame (update and drawing into main A) of 20 point
// particle systems of 500 atoms, of 100 sprites and of 50 decals.
void MeasureEffectItems(SDx* engine);
