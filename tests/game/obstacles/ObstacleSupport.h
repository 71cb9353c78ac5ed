// Runs with the track's obstacles: what the tests ask of the entities made
// from a level text, and where they put the craft.
#pragma once

#include "core/Platform.h"

#include "engine/SDxManager.h"
#include "engine/SDxShape.h"
#include "tests/game/run/RunSupport.h"

#include <math.h>

constexpr float kPi = 3.14159265f;

class ObstacleSuite : public RunSuite {
protected:
  // The entity made from the item at (column, row) of the attempt's map.
  template <class T>
  static T* EntityAt(int column, int row) {
    MAPITEM* item = Game().GetMapItem(column, row);
    return item && item->entity ? static_cast<T*>((SDxEntity*)item->entity) : nullptr;
  }
  // The centre angle of a column's cells.
  static float Angle(int column) { return PGame::ColumnAngle(column); }
  // The craft placed (z, angle, distance from the axis), standing.
  static void Place(float z, float angle, float radius = 960) {
    PShipEntity* ship = Ship();
    ship->trackPosition = z;
    ship->angle = angle;
    ship->radius = radius;
    ship->speed = 0;
    ship->angularSpeed = 0;
    ship->UpdatePosition();
  }
  // A level that is no lesson, its run started with the boulder held far
  // back (it rolls 2000 a second).
  static void RunLevel(const std::string& rows, int world, int level, int difficulty = 1,
                       int lives = 3) {
    Play(rows, difficulty, world, level, lives);
    StartRun();
    Game().GetBoulderShape()->SetZ(-40000);
  }
  // The rows as the cell's level: the lesson (1, 1) runs from its first
  // frame, any other cell as RunLevel starts it.
  static void PlayCell(const std::string& rows, int world, int level) {
    if (world == 1 && level == 1) {
      PlayLesson(rows);
    } else {
      RunLevel(rows, world, level);
    }
  }
  // Whether the entity is alive: registered with the game layer's manager
  // and not flagged for removal.
  static bool IsLive(const SDxEntity* entity) {
    SDxManager* manager = Ship()->GetLayer()->m_manager;
    for (int i = 0; i < manager->GetCount(); ++i)
      if (manager->GetEntity(i) == entity) return !entity->IsRemoved();
    return false;
  }
};
