// One recorded path of a run: the craft's positions, one every quarter of a
// second, with the run's time and the name of the player who drove it.
//
// The point buffer is sized once, at construction, and fixed: recording,
// clearing and copying never allocate, and the count never passes
// CAPACITY. Points offered past the capacity are refused (false), so a
// path read from a file or a server can never overrun the buffer.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

#include <d3dx9.h>

class PGhost {
public:
  enum {
    RESERVE = 720,       // room asked for; the array raises it to CAPACITY
    CAPACITY = 1024,     // fixed room of the point buffer
    RECORD_LIMIT = 719,  // points of a recording cut at 180 s
  };

  PGhost();
  ~PGhost();

  // Appends the position with each coordinate truncated toward zero; false
  // (nothing stored) when the record is full.
  bool AddPoint(D3DXVECTOR3 position);
  // The first point is taken as a position; every later one is the last
  // point plus the truncated delta. False when the record is full.
  bool AddDelta(D3DXVECTOR3 delta);
  int GetCount() const { return points.GetCount(); }
  const D3DXVECTOR3& GetPoint(int index) const { return points[index]; }
  // Empty name, time 0, no point; the buffer stays.
  void Clear();
  PGhost& operator=(const PGhost& other);

  SString name;
  int time;
  SArray<D3DXVECTOR3> points;

private:
  PGhost(const PGhost&) = delete;
};

// A coordinate truncated toward zero to a whole number (1.9 gives 1, -1.9
// gives -1); values outside the 32-bit range are held at its ends.
int TruncateCoordinate(float value);
