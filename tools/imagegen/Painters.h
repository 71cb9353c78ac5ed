// The painters of the image table, one per kind (the first part of a row's
// kind field):
//
//   solid                   c0 everywhere; caption centred in c1
//   texture:PATTERN[:LOOK]  a tileable pattern mixing c0 and c1, accents c2;
//                           caption small at the bottom; LOOK "relief" lights
//                           it from its height (c0 high, c1 low, accents
//                           higher), "normal" also makes its normal map
//   label                   transparent; caption segments as centred lines
//                           in c0 outlined with c1
//   caption                 label text on an opaque c1 ground, text c0,
//                           outline c2
//   panel                   rounded c1 panel with a c2 border; first segment
//                           a heading, the rest lines, all in c0
//   digits                  4 x 4 frames: 0-9, '-', '.', ':' in frames 0-12
//   explosion               4 x 8 frames of a growing, fading fireball
//   spot, star, cloud, ring, splat, hole
//                           soft particle shapes in c0 (alpha in a PNG,
//                           brightness on black in a JPEG)
//   icon:SHAPE[:PARAM]      a vector shape (gem, ship, crosshair[:boss],
//                           dynamite, turbo, arrow:DEGREES, frame, bar:h|v,
//                           cell:open|done, tile) filled c0, outlined c1,
//                           details c2; tile draws the caption in c2
//   page:ITEMS:DECOR        a menu page: c0 to c1 gradient, accents c2, text
//                           c3; ITEMS lists item positions of the menu ("-"
//                           for none; "A@B" takes the ends of item A at the
//                           height of item B); DECOR is none, ring, twin,
//                           map, scores or list; caption: title, one text
//                           per item, then body lines
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

class Canvas;
struct ImageDescription;

// Paints the description onto the canvas (made at the description's size);
// false with a message for an unknown kind or a bad parameter.
bool PaintImage(const ImageDescription& description, Canvas& canvas, SString& error);
// True when the description asks for a normal map beside the image.
bool HasNormalMap(const ImageDescription& description);
// Paints the normal map of the description's height onto the canvas (made
// at the description's size): tangent-space normals as RGB.
bool PaintNormalMap(const ImageDescription& description, Canvas& canvas, SString& error);
