// The entity factory: one map item becomes its entity, made on a new
// instance of the item's mesh, placed on the tube and filed in the arrays
// of its kind. A full array or a missing mesh makes nothing.
#include "core/Platform.h"

#include "engine/SDxMesh.h"
#include "game/PEntities.h"
#include "game/PGame.h"

#include <math.h>

namespace {

const float kPi = 3.14159265f;

float RowStart(const MAPITEM* item) { return item->row * PGame::kRowLength; }

// On the wall at the radius and angle.
void PlaceOnWall(SDxEntityObj* entity, float radius, float angle, float z) {
  entity->SetPositionXYZ(radius * sinf(angle), radius * cosf(angle), z);
}

void Roll(SDxEntityObj* entity, float angle) { entity->SetRotation(0, 0, angle); }

template <class T>
bool HasRoom(const SArray<T*>& array, int capacity) {
  return array.GetCount() < capacity;
}

}  // namespace

SDxMesh* PGame::Instance(SDxMesh* source) {
  SDxMesh* mesh = SDxMesh::CreateInstance(source, nullptr);
  if (mesh) mesh->SetVisible(true);
  return mesh;
}

bool PGame::CreateEntity(MAPITEM* item) {
  if (!item) return false;
  switch (item->type) {
    case ITEM_ARROW:
      return CreateArrow(item) != nullptr;
    case ITEM_BLOCKER:
      return CreateBlocker(item) != nullptr;
    case ITEM_BOULDER:
      return CreateBoulder(item) != nullptr;
    case ITEM_BOX:
      return CreateBox(item) != nullptr;
    case ITEM_DYNAMITE:
      return CreateDynamite(item) != nullptr;
    case ITEM_ENEMY:
      return CreateEnemy(item) != nullptr;
    case ITEM_FINISH:
      return CreateFinish(item) != nullptr;
    case ITEM_FIRE:
      return CreateFire(item) != nullptr;
    case ITEM_FORWARD:
      return CreateForward(item) != nullptr;
    case ITEM_GEM:
      return CreateGem(item) != nullptr;
    case ITEM_GUARD_DOOR:
      return CreateGuardDoor(item) != nullptr;
    case ITEM_JUMPER:
      return CreateJumper(item) != nullptr;
    case ITEM_LIGHT:
      return CreateLight(item) != nullptr;
    case ITEM_MINE:
      return CreateMine(item) != nullptr;
    case ITEM_MIRROR:
      return CreateMirror(item) != nullptr;
    case ITEM_PISTON:
      return CreatePiston(item) != nullptr;
    case ITEM_TURBO:
      return CreateTurbo(item) != nullptr;
    case ITEM_WAGON:
      return CreateWagon(item) != nullptr;
    case ITEM_WALL:
      return CreateWall(item) != nullptr;
    default:
      return false;  // boss, boss fly, laser, craft and unknown types
  }
}

PArrowEntity* PGame::CreateArrow(MAPITEM* item) {
  if (!HasRoom(arrows, MAX_ARROWS)) return nullptr;
  SDxMesh* mesh = Instance(arrowMesh);
  if (!mesh) return nullptr;
  PArrowEntity* arrow = new PArrowEntity(mesh->GetLayer(), mesh, item);
  PlaceOnWall(arrow, 950, item->angle - 0.04f, RowStart(item) + (item->subtype != 0 ? 1000 : 0));
  if (item->subtype == 1) arrow->SetRotation(kPi, 0, 0);
  arrow->StoreStartZ();
  arrows.Add(arrow);
  return arrow;
}

PBlockerEntity* PGame::CreateBlocker(MAPITEM* item) {
  if (!HasRoom(blockers, MAX_BLOCKERS) || item->subtype < 0 || item->subtype > 2) return nullptr;
  SDxMesh* sources[3] = {fanMesh, blockerMeshes[0], blockerMeshes[1]};
  SDxMesh* mesh = Instance(sources[item->subtype]);
  if (!mesh) return nullptr;
  PBlockerEntity* blocker = new PBlockerEntity(mesh->GetLayer(), mesh, item);
  blocker->SetPositionXYZ(0, 0, RowStart(item) + 500);
  blockers.Add(blocker);
  return blocker;
}

PBoulderEntity* PGame::CreateBoulder(MAPITEM* item) {
  if (!HasRoom(boulders, MAX_BOULDERS)) return nullptr;
  SDxMesh* mesh = Instance(dummyMesh);
  if (!mesh) return nullptr;
  PBoulderEntity* boulder = new PBoulderEntity(mesh->GetLayer(), mesh, item);
  boulder->SetPositionXYZ(0, 0, RowStart(item));
  boulders.Add(boulder);
  return boulder;
}

PPlatformEntity* PGame::CreateBox(MAPITEM* item) {
  if (!HasRoom(platforms, MAX_PLATFORMS) || item->subtype < 0 || item->subtype > 2) return nullptr;
  SDxMesh* mesh = Instance(boxMeshes[item->subtype]);
  if (!mesh) return nullptr;
  PBoxEntity* box = new PBoxEntity(mesh->GetLayer(), mesh, item, boxCorners[item->subtype]);
  platforms.Add(box);
  return box;
}

PDynamiteEntity* PGame::CreateDynamite(MAPITEM* item) {
  if (!HasRoom(dynamites, MAX_DYNAMITES)) return nullptr;
  SDxMesh* mesh = Instance(dynamiteMesh);
  if (!mesh) return nullptr;
  PDynamiteEntity* dynamite = new PDynamiteEntity(mesh->GetLayer(), mesh, item);
  PlaceOnWall(dynamite, 1000, item->angle, RowStart(item) + 500);
  Roll(dynamite, kPi - item->angle);
  dynamites.Add(dynamite);
  return dynamite;
}

PEnemyEntity* PGame::CreateEnemy(MAPITEM* item) {
  if (!HasRoom(enemies, MAX_ENEMIES) || !HasRoom(platforms, MAX_PLATFORMS)) return nullptr;
  SDxMesh* mesh = Instance(enemyMesh);
  if (!mesh) return nullptr;
  PEnemyEntity* enemy = new PEnemyEntity(mesh->GetLayer(), mesh, item);
  PlaceOnWall(enemy, 1000, item->angle, RowStart(item) + 500);
  Roll(enemy, kPi - item->angle);
  enemy->RotateLocal(kPi, 0, 0);
  if (theme == THEME_MEDIEVAL) enemy->OffsetZ(-30);
  if (theme == THEME_HITECH) enemy->OffsetZ(-200);
  enemies.Add(enemy);
  platforms.Add(enemy);
  return enemy;
}

PFinishEntity* PGame::CreateFinish(MAPITEM* item) {
  if (!HasRoom(finishes, MAX_FINISHES)) return nullptr;
  SDxMesh* mesh = Instance(finishMesh);
  if (!mesh) return nullptr;
  PFinishEntity* finish = new PFinishEntity(mesh->GetLayer(), mesh, item);
  finish->SetPositionXYZ(0, 0, RowStart(item));
  finishes.Add(finish);
  return finish;
}

PFireEntity* PGame::CreateFire(MAPITEM* item) {
  if (!HasRoom(fires, MAX_FIRES)) return nullptr;
  SDxMesh* mesh = Instance(fireMesh);
  if (!mesh) return nullptr;
  PFireEntity* fire = new PFireEntity(mesh->GetLayer(), mesh, item);
  PlaceOnWall(fire, 915, item->angle, RowStart(item) + 500);
  Roll(fire, kPi - item->angle);
  fires.Add(fire);
  return fire;
}

PForwardEntity* PGame::CreateForward(MAPITEM* item) {
  if (!HasRoom(forwards, MAX_FORWARDS)) return nullptr;
  SDxMesh* mesh = Instance(forwardMesh);
  if (!mesh) return nullptr;
  PForwardEntity* forward = new PForwardEntity(mesh->GetLayer(), mesh, item);
  forward->SetPositionXYZ(0, 0, RowStart(item));
  Roll(forward, kPi - item->angle - kPi / 2 + kPi / 16);
  forwards.Add(forward);
  return forward;
}

PGemEntity* PGame::CreateGem(MAPITEM* item) {
  if (!HasRoom(gems, MAX_GEMS)) return nullptr;
  // Radius and place in the row by subtype.
  const float kRadius[3] = {940, 200, 540}, kOffset[3] = {500, 500, 250};
  int kind = item->subtype >= 0 && item->subtype < 3 ? item->subtype : 0;
  SDxMesh* mesh = Instance(gemMesh);
  if (!mesh) return nullptr;
  PGemEntity* gem = new PGemEntity(mesh->GetLayer(), mesh, item, kRadius[kind]);
  PlaceOnWall(gem, kRadius[kind], item->angle, RowStart(item) + kOffset[kind]);
  Roll(gem, kPi - item->angle);
  gems.Add(gem);
  return gem;
}

PDoorEntity* PGame::CreateGuardDoor(MAPITEM* item) {
  if (!HasRoom(doors, MAX_DOORS)) return nullptr;
  SDxMesh* mesh = Instance(guardDoorMeshes[0]);
  if (!mesh) return nullptr;
  SDxMesh* leaf = Instance(guardDoorMeshes[1]);
  if (!leaf) {
    dx->RemoveItem(mesh);
    return nullptr;
  }
  PGuardDoorEntity* door = new PGuardDoorEntity(mesh->GetLayer(), mesh, leaf, item);
  // The column's turn, without the half-cell offset of the item's angle.
  float g = item->column / 16.0f * 2 * kPi;
  door->SetPositionXYZ(0, 0, RowStart(item));
  leaf->SetPositionXYZ(0, 0, RowStart(item));
  Roll(door, g);
  leaf->SetRotation(0, 0, g);
  door->PlaceGuards(g + kPi / 16);
  doors.Add(door);
  return door;
}

PPlatformEntity* PGame::CreateJumper(MAPITEM* item) {
  if (!HasRoom(platforms, MAX_PLATFORMS)) return nullptr;
  SDxMesh* mesh = Instance(jumperMeshes[item->subtype == 0 ? 0 : 1]);
  if (!mesh) return nullptr;
  PJumperEntity* jumper = new PJumperEntity(mesh->GetLayer(), mesh, item, jumperCorners);
  platforms.Add(jumper);
  return jumper;
}

PLightEntity* PGame::CreateLight(MAPITEM* item) {
  if (!HasRoom(lights, MAX_LIGHTS)) return nullptr;
  SDxMesh* mesh = Instance(dummyMesh);
  if (!mesh) return nullptr;
  PLightEntity* light = new PLightEntity(mesh->GetLayer(), mesh, item);
  PlaceOnWall(light, 700, item->angle, RowStart(item) + 500);
  light->PlaceLight();
  lights.Add(light);
  return light;
}

PMineEntity* PGame::CreateMine(MAPITEM* item) {
  if (!HasRoom(mines, MAX_MINES)) return nullptr;
  SDxMesh* mesh = Instance(mineMesh);
  if (!mesh) return nullptr;
  PMineEntity* mine = new PMineEntity(mesh->GetLayer(), mesh, item);
  PlaceOnWall(mine, 995, item->angle, RowStart(item) + 500);
  Roll(mine, kPi - item->angle);
  mines.Add(mine);
  return mine;
}

PMirrorEntity* PGame::CreateMirror(MAPITEM* item) {
  if (!HasRoom(mirrors, MAX_MIRRORS) || !HasRoom(platforms, MAX_PLATFORMS) || item->subtype < 0 ||
      item->subtype >= MIRROR_KINDS)
    return nullptr;
  SDxMesh* mesh = Instance(mirrorMeshes[item->subtype]);
  if (!mesh) return nullptr;
  PMirrorEntity* mirror = new PMirrorEntity(mesh->GetLayer(), mesh, item);
  PlaceOnWall(mirror, 840, item->angle, RowStart(item) + 500 - 150);
  Roll(mirror, kPi - item->angle);
  mirrors.Add(mirror);
  platforms.Add(mirror);
  return mirror;
}

PPlatformEntity* PGame::CreatePiston(MAPITEM* item) {
  if (!HasRoom(platforms, MAX_PLATFORMS)) return nullptr;
  SDxMesh* mesh = Instance(pistonMesh);
  if (!mesh) return nullptr;
  PPistonEntity* piston = new PPistonEntity(mesh->GetLayer(), mesh, item, pistonCorners);
  platforms.Add(piston);
  return piston;
}

PTurboEntity* PGame::CreateTurbo(MAPITEM* item) {
  if (!HasRoom(turbos, MAX_TURBOS)) return nullptr;
  SDxMesh* mesh = Instance(turboMesh);
  if (!mesh) return nullptr;
  PTurboEntity* turbo = new PTurboEntity(mesh->GetLayer(), mesh, item);
  turbo->SetPositionXYZ(0, 0, RowStart(item));
  Roll(turbo, kPi - item->angle - kPi / 2);
  turbos.Add(turbo);
  return turbo;
}

PWagonEntity* PGame::CreateWagon(MAPITEM* item) {
  if (!HasRoom(wagons, MAX_WAGONS) || !HasRoom(platforms, MAX_PLATFORMS)) return nullptr;
  SDxMesh* mesh = Instance(wagonMesh);
  if (!mesh) return nullptr;
  PWagonEntity* wagon = new PWagonEntity(mesh->GetLayer(), mesh, item);
  PlaceOnWall(wagon, 1000, item->angle, RowStart(item) + 500);
  Roll(wagon, kPi - item->angle);
  wagons.Add(wagon);
  platforms.Add(wagon);
  return wagon;
}

PPlatformEntity* PGame::CreateWall(MAPITEM* item) {
  if (!HasRoom(platforms, MAX_PLATFORMS) || item->subtype < 0 || item->subtype > 6) return nullptr;
  // Piece (wallMeshes index) and corner table by subtype.
  const int kPiece[7] = {0, 1, 1, 3, 4, 4, 5};
  D3DXVECTOR3* const kCorners[7] = {wallCorners01, wallCorners01, wallCorners01, wallCorners34,
                                    wallCorners34, wallCorners34, wallCorners6};
  int piece = kPiece[item->subtype];
  // In egypt a plain wall right after a backward arrow shows the arrow's opening.
  if (item->subtype == 0 && theme == THEME_EGYPT) {
    MAPITEM* before = GetMapItem(item->column, item->row - 1);
    if (before && before->type == ITEM_ARROW && before->subtype == 1) piece = 2;
  }
  SDxMesh* mesh = Instance(wallMeshes[piece]);
  if (!mesh) return nullptr;
  PWallEntity* wall = new PWallEntity(mesh->GetLayer(), mesh, item, kCorners[item->subtype]);
  platforms.Add(wall);
  return wall;
}
