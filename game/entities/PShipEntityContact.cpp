// How the craft meets the solid things of the level: the tops and faces of
// the platforms, the doors and the blockers, tested with 32 spheres swept
// from the craft's last position to its new one; and the crash that ends a
// run.
#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxShape.h"
#include "engine/SDxSound.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "game/entities/PShipEntity.h"

#include <math.h>

namespace {

// A face of a platform's collision box: two triangles of its corners.
struct Face {
  int corners[2][3];
};
enum { FACE_FRONT, FACE_BACK, FACE_RIGHT, FACE_LEFT, FACE_TOP, FACE_COUNT };
const Face kFaces[FACE_COUNT] = {
    {{{2, 6, 3}, {6, 7, 3}}},  // front: z min, met by a craft coming along +z
    {{{1, 5, 0}, {5, 4, 0}}},  // back: z max
    {{{0, 4, 2}, {4, 6, 2}}},  // right side: x min
    {{{3, 7, 1}, {7, 5, 1}}},  // left side: x max
    {{{6, 4, 7}, {4, 5, 7}}},  // top: y max, toward the axis
};

// Whether the sphere (in the platform's model space) reaches the face's
// first, second or either triangle (which: 0, 1, or -1 for both).
bool FaceTouches(const PPlatformEntity* platform, int face, int which, const D3DXVECTOR3& center,
                 float radius) {
  for (int t = 0; t < 2; ++t) {
    if (which >= 0 && which != t) continue;
    const int* c = kFaces[face].corners[t];
    SDxTriangle triangle;
    triangle.Set(platform->corners[c[0]], platform->corners[c[1]], platform->corners[c[2]]);
    if (SphereOverlapsTriangle(triangle, center, radius, nullptr, nullptr)) return true;
  }
  return false;
}

// An entity counts as near when the z lies within 2000 of it.
bool IsWithin2000(const SDxEntityObj* entity, float z) { return fabsf(entity->GetZ() - z) <= 2000; }

bool IsRowWallItem(const MAPITEM* item) {
  return item && item->type == PGame::ITEM_WALL && item->subtype >= 0 && item->subtype <= 2;
}

// The live platform made from the item, or null.
PPlatformEntity* LivePlatform(const PGame* game, const MAPITEM* item) {
  if (!item || !item->entity) return nullptr;
  for (int i = 0; i < game->GetPlatformCount(); ++i) {
    PPlatformEntity* platform = game->GetPlatform(i);
    if ((SDxEntity*)platform == (SDxEntity*)item->entity) return platform;
  }
  return nullptr;
}

// Two pieces that leave less than this between them along the tube close
// the gap: the craft's spheres cannot get in.
const float kClosedGap = 50;
// Slack for distances computed through the pieces' matrices.
const float kSlack = 1;

// The platform's corners in world space; false when it has no object.
bool WorldCorners(const PPlatformEntity* platform, D3DXVECTOR3 out[8]) {
  const D3DXMATRIX* world = platform->GetWorldMatrix();
  if (!world) return false;
  for (int i = 0; i < 8; ++i) D3DXVec3TransformCoord(&out[i], &platform->corners[i], world);
  return true;
}

// How far some of the corners reach from the tube axis, and where along it.
struct Reach {
  float nearest, farthest, zMin, zMax;
};
template <int N>
Reach ReachOf(const D3DXVECTOR3 c[8], const int (&corners)[N]) {
  Reach reach = {1e30f, -1e30f, 1e30f, -1e30f};
  for (int i : corners) {
    float d = sqrtf(c[i].x * c[i].x + c[i].y * c[i].y);
    reach.nearest = fminf(reach.nearest, d);
    reach.farthest = fmaxf(reach.farthest, d);
    reach.zMin = fminf(reach.zMin, c[i].z);
    reach.zMax = fmaxf(reach.zMax, c[i].z);
  }
  return reach;
}

// Whether the piece fills the space right before the platform's front, in
// the same column: its solid runs along the tube from no later than the
// front up to the front or past it (a gap under 50 counts as closed), and
// its back face reaches over the whole front, from its inner to its outer
// edge. Where each piece stands comes from the live entities, so a piece
// that slides or was pushed is met where it is now.
bool CoversFront(const PPlatformEntity* piece, const PPlatformEntity* platform) {
  const int kFront[4] = {2, 3, 6, 7}, kBack[4] = {0, 1, 4, 5};
  const int kAll[8] = {0, 1, 2, 3, 4, 5, 6, 7};
  D3DXVECTOR3 p[8], w[8];
  if (!WorldCorners(piece, p) || !WorldCorners(platform, w)) return false;
  const Reach front = ReachOf(w, kFront), back = ReachOf(p, kBack), whole = ReachOf(p, kAll);
  if (whole.zMin > front.zMin + kSlack || front.zMin - whole.zMax >= kClosedGap) return false;
  return back.nearest <= front.nearest + kSlack && back.farthest >= front.farthest - kSlack;
}

// Whether a craft driving forward can meet a wall's front: not when the
// piece of the row before in its column (a wall or a ramp) covers it. For a
// sliding wall that depends on both offsets: it hides behind a fixed piece
// only until it slides out, and behind a sliding piece only while it keeps
// up with it; a low roof does not cover what lies below it, and a low step
// is too short to cover the row after it.
bool FrontIsExposed(const PGame* game, const PPlatformEntity* platform) {
  const MAPITEM* item = platform->mapItem;
  if (platform->GetType() != PGame::ITEM_WALL || !item) return true;
  const MAPITEM* before = game->GetMapItem(item->column, item->row - 1);
  if (!before || (before->type != PGame::ITEM_WALL && before->type != PGame::ITEM_JUMPER))
    return true;
  const PPlatformEntity* piece = LivePlatform(game, before);
  return !piece || !CoversFront(piece, platform);
}

// Whether a craft driving backward can meet the platform's back.
bool BackIsExposed(const PGame* game, const PPlatformEntity* platform) {
  if (platform->GetType() == PGame::ITEM_JUMPER) return false;
  const MAPITEM* item = platform->mapItem;
  if (platform->GetType() != PGame::ITEM_WALL || !item) return true;
  return !IsRowWallItem(game->GetMapItem(item->column, item->row + 1));
}

}  // namespace

void PShipEntity::HitFace(D3DXVECTOR3* points, int* count, float strength) {
  trackPosition = GetLastPosition()->z;
  UpdatePosition();
  Rebound(strength, PGame::SOUND_BOUNCE_WALL_FRONT);
  *count = SamplePoints(points);
}

void PShipEntity::HitSide(D3DXVECTOR3* points, int* count) {
  PlaySideSound();
  angle = previousAngle;
  angularSpeed = -angularSpeed / 2;
  UpdatePosition();
  *count = SamplePoints(points);
}

void PShipEntity::PlaySideSound() {
  SDx* dx = GetEngine();
  SDxSound* side = dx->GetSound(PGame::SOUND_BOUNCE_WALL_SIDE);
  if (!dx->IsSoundPlaying(PGame::SOUND_BOUNCE_WALL_SIDE) || (side && side->GetDuration() > 0.2f)) {
    dx->PlaySound(PGame::SOUND_BOUNCE_WALL_SIDE, false, 1.0f, 0);
  } else if (GetSpeedRatio() > 0.25f) {
    dx->PlaySound(PGame::SOUND_SLIDE, true, 0.25f, 0);
  }
}

bool PShipEntity::RideTop(const D3DXVECTOR3& point, float sampleRadius) {
  PPlatformEntity* top = nullptr;
  SDxTriangle triangle;
  if (!g_game->ProbePlatforms(&top, &triangle, point, sampleRadius) || !top || !top->IsVisible())
    return false;
  // The plane of the top, met from the axis whichever way it winds.
  const D3DXVECTOR3 axis(0, 0, point.z);
  D3DXVECTOR3 hit;
  SDxTriangle flipped = triangle;
  flipped.SwapWinding();
  if (RayHitsTriangle(triangle, axis, point - axis, true, &hit, nullptr, nullptr) ||
      RayHitsTriangle(flipped, axis, point - axis, true, &hit, nullptr, nullptr)) {
    D3DXVECTOR3 d = hit - axis;
    radius = D3DXVec3Length(&d) - sampleRadius;
    UpdatePosition();
  }
  if (top->GetType() != PGame::ITEM_JUMPER) return false;
  SDx* dx = GetEngine();
  float h = triangle.corners[1].z - point.z;
  if (h > 500) {
    rampTime = dx->GetTime();
    dx->PlaySound(PGame::SOUND_JUMP_SLIDE, false, GetSpeedRatio(), 0);
  }
  if (static_cast<PJumperEntity*>(top)->IsLauncher() && speed > 1000 && h < 100 &&
      dx->GetTimeSince(rampTime) < 1.0f)
    Jump(ClampFloat(speed / 4000, 0, 1) * 2500, false);
  return true;
}

void PShipEntity::Collide(D3DXVECTOR3* points, int* count, float sampleRadius, bool* onRamp) {
  SDx* dx = GetEngine();
  PGame* game = g_game;
  *onRamp = false;
  for (int i = 0; i < *count; ++i) {
    PPlatformEntity* hit = nullptr;
    SDxTriangle triangle;
    if (!game->ProbePlatforms(&hit, &triangle, points[i], sampleRadius)) continue;
    if (airborne && dx->GetTimeSince(jumpTime) > 0.1f) {
      dx->SetRumble(0.5f, 0.5f, 0.2f);
      dx->PlaySound(PGame::SOUND_BOUNCE_PLATFORM, false, 1.0f, 0);
      if (Jump(fabsf(verticalSpeed) / 4, true)) {
        radius = previousRadius;
        UpdatePosition();
        *count = SamplePoints(points);
        return;
      }
      airborne = false;
    }
    if (RideTop(points[*count - 1], sampleRadius)) *onRamp = true;
    *count = SamplePoints(points);
    if (!*onRamp) return;
  }
  // Faces: no point touched a top, or the craft is on a ramp.
  for (int p = 0; p < game->GetPlatformCount(); ++p) {
    PPlatformEntity* platform = game->GetPlatform(p);
    if (!platform->IsVisible() || !IsWithin2000(platform, trackPosition)) continue;
    if (*onRamp && platform->GetType() == PGame::ITEM_JUMPER) continue;
    bool stopAll = false;
    TestFaces(platform, points, count, sampleRadius, &stopAll);
    if (stopAll) return;
  }
}

void PShipEntity::TestFaces(PPlatformEntity* platform, D3DXVECTOR3* points, int* count,
                            float sampleRadius, bool* stopAll) {
  D3DXMATRIX inverse;
  float scale = platform->GetScale();
  if (scale <= 0 || !platform->GetInverseWorld(&inverse)) return;
  const PGame* game = g_game;
  int type = platform->GetType();
  bool jumper = type == PGame::ITEM_JUMPER;
  float r = sampleRadius / scale;
  // The speed keeps its sign until a contact ends the test.
  const bool frontOpen = speed > 0 && FrontIsExposed(game, platform);
  for (int i = 0; i < *count; ++i) {
    D3DXVECTOR3 center;
    D3DXVec3TransformCoord(&center, &points[i], &inverse);
    if (type == PGame::ITEM_PISTON && static_cast<PPistonEntity*>(platform)->IsActive()) {
      if (FaceTouches(platform, FACE_FRONT, -1, center, r) ||
          FaceTouches(platform, FACE_RIGHT, -1, center, r) ||
          FaceTouches(platform, FACE_LEFT, -1, center, r)) {
        static_cast<PPistonEntity*>(platform)->ChangeState(PPiston_Default::Instance(), 0);
        Crash(PGame::ITEM_PISTON, -0.5f);
        *stopAll = true;
        return;
      }
      continue;
    }
    if (frontOpen && FaceTouches(platform, FACE_FRONT, jumper ? 1 : -1, center, r)) {
      float hitSpeed = speed;
      HitFace(points, count, speed);
      if (type == PGame::ITEM_WAGON) static_cast<PWagonEntity*>(platform)->Strike();
      if (type == PGame::ITEM_WALL && fabsf(hitSpeed) > 1000)
        static_cast<PWallEntity*>(platform)->Push();
      *stopAll = true;
      return;
    }
    if (speed < 0 && BackIsExposed(game, platform) &&
        FaceTouches(platform, FACE_BACK, -1, center, r)) {
      HitFace(points, count, speed / 2);
      *stopAll = true;
      return;
    }
    int side = angularSpeed < 0 ? FACE_RIGHT : angularSpeed > 0 ? FACE_LEFT : -1;
    if (side >= 0 && FaceTouches(platform, side, jumper ? 0 : -1, center, r)) {
      HitSide(points, count);
      return;
    }
  }
}

void PShipEntity::CollideDoors(D3DXVECTOR3* points, int* count, float r) {
  const PGame* game = g_game;
  for (int d = 0; d < game->GetDoorCount(); ++d) {
    PDoorEntity* door = game->GetDoor(d);
    if (!IsWithin2000(door, trackPosition)) continue;
    float z = door->GetZ();
    bool open = door->IsOpen();
    bool outside = !IsAngleBetween(angle, door->GetOpeningStart(), door->GetOpeningEnd(), nullptr);
    for (int i = 0; i < *count; ++i) {
      const D3DXVECTOR3 p = points[i];
      if (open && z < p.z && p.z < z + 1000 && outside) {
        HitSide(points, count);
        return;
      }
      if (speed > 0 &&
          ((!open && z < p.z + r) || (open && z < p.z + r && p.z + r < z + 500 && outside))) {
        HitFace(points, count, speed);
        return;
      }
      if (speed < 0 && open && z + 500 < p.z - r && p.z - r < z + 1000 && outside) {
        HitFace(points, count, speed / 2);
        return;
      }
    }
  }
}

void PShipEntity::CollideBlockers(D3DXVECTOR3* points, int* count, float r) {
  PGame* game = g_game;
  for (int b = 0; b < game->blockers.GetCount(); ++b) {
    PBlockerEntity* blocker = game->blockers[b];
    if (!IsWithin2000(blocker, trackPosition)) continue;
    float z = blocker->GetZ(), R = blocker->GetRadius();
    for (int i = 0; i < *count; ++i) {
      const D3DXVECTOR3 p = points[i];
      float d = sqrtf(p.x * p.x + p.y * p.y);
      if (d - r >= R) continue;
      bool ahead = speed > 0 && points[0].z < z && z - 50 < p.z + r;
      bool behind = speed < 0 && points[0].z > z && p.z - r < z + 50;
      if (!ahead && !behind) continue;
      HitFace(points, count, speed);
      if (blocker->IsDeadly()) Crash(PGame::ITEM_BLOCKER, 0);
      return;
    }
  }
}

void PShipEntity::HitByShot(int kind) {
  if (stopped || !g_game) return;
  // A stick that went off on a wagon is spent: the shot reaches the craft.
  if (heldDynamite && !heldDynamite->GetCarrier() && !heldDynamite->IsExploded()) {
    heldDynamite->Explode();
    return;
  }
  Rebound(4000, PGame::SOUND_BOUNCE_LASER);
  g_game->DecrementLife(kind);
}

void PShipEntity::Crash(int kind, float impact) {
  if (stopped || !g_game) return;
  SDx* dx = GetEngine();
  PGame* game = g_game;
  lockTarget = nullptr;
  game->ShowTargetIndicator(nullptr);
  DropDynamite();
  if (impact != 0) {
    trackPosition = GetLastPosition()->z;
    UpdatePosition();
    if (impact == 666) {
      Rebound(-4000, PGame::SOUND_BOUNCE_WALL_FRONT);
    } else if (impact < 0) {
      Rebound(fminf(-impact, 1) * 4000, PGame::SOUND_BOUNCE_WALL_FRONT);
    } else {
      Rebound(fminf(impact, 1) * speed, PGame::SOUND_BOUNCE_WALL_FRONT);
    }
  }
  deathKind = kind;
  stopped = true;
  if (camera) {
    if (kind == 0) {
      camera->StartShake(4.0f, 1.0f, -1.0f, false);
    } else {
      camera->StartShake(1.0f, 0.5f, -1.0f, false);
    }
  }
  if (kind == 0 && game->GetBoulderShape()) game->GetBoulderShape()->SetZ(trackPosition + 495);
  EndRun();
  dx->PlaySound(PGame::SOUND_DIE, false, 1.0f, 0);
  dx->SetRumble(1.0f, 1.0f, 1.0f);
  game->SetState(3);
}
