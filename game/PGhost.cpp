#include "core/Platform.h"
#include "game/PGhost.h"

#include <limits.h>

int TruncateCoordinate(float value) {
  if (!(value == value)) return 0;  // not a number
  if (value >= 2147483520.0f) return INT_MAX;
  if (value <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(value);
}

PGhost::PGhost() : time(0) { points.Reserve(RESERVE); }

PGhost::~PGhost() {}

bool PGhost::AddPoint(D3DXVECTOR3 position) {
  D3DXVECTOR3 whole(float(TruncateCoordinate(position.x)), float(TruncateCoordinate(position.y)),
                    float(TruncateCoordinate(position.z)));
  return points.Add(whole) >= 0;
}

bool PGhost::AddDelta(D3DXVECTOR3 delta) {
  if (points.GetCount() == 0) return AddPoint(delta);
  D3DXVECTOR3 last = points.GetLast();
  D3DXVECTOR3 sum(last.x + float(TruncateCoordinate(delta.x)),
                  last.y + float(TruncateCoordinate(delta.y)),
                  last.z + float(TruncateCoordinate(delta.z)));
  return AddPoint(sum);
}

void PGhost::Clear() {
  name = "";
  time = 0;
  points.RemoveAll();
}

PGhost& PGhost::operator=(const PGhost& other) {
  if (this == &other) return *this;
  name = other.name;
  time = other.time;
  points.RemoveAll();
  for (int i = 0; i < other.points.GetCount(); ++i) points.Add(other.points[i]);
  return *this;
}
