// The level map: a level text read into linked map items.
//
// The text: lines end with CR LF (a lone CR or LF ends nothing); line 1 is
// the life count (read as atoi reads it); every further non-empty line is
// one row of 17 cells, column 16 being the same cell as column 0.
#include "core/Platform.h"

#include "core/SFileMem.h"
#include "game/PGame.h"
#include "game/PGameHost.h"

#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

struct ItemChar {
  unsigned char byte;
  int type;
  int subtype;
  bool target;
};

// Every byte that makes an item; any other byte is an empty cell.
const ItemChar kItemChars[] = {
    {0xBB, PGame::ITEM_ARROW, 0, false},      {0xAB, PGame::ITEM_ARROW, 1, false},
    {'X', PGame::ITEM_BLOCKER, 0, false},     {0xA9, PGame::ITEM_BLOCKER, 1, false},
    {0xAE, PGame::ITEM_BLOCKER, 2, false},    {'@', PGame::ITEM_BOULDER, 0, false},
    {'$', PGame::ITEM_BOX, 0, false},         {'#', PGame::ITEM_BOX, 1, false},
    {0xA3, PGame::ITEM_BOX, 2, false},        {'d', PGame::ITEM_DYNAMITE, 0, false},
    {'D', PGame::ITEM_DYNAMITE, 1, false},    {'e', PGame::ITEM_ENEMY, 0, false},
    {0xEA, PGame::ITEM_ENEMY, 1, false},      {'E', PGame::ITEM_ENEMY, 2, true},
    {0xCA, PGame::ITEM_ENEMY, 3, true},       {'Z', PGame::ITEM_FINISH, 0, false},
    {'<', PGame::ITEM_FIRE, 0, false},        {'>', PGame::ITEM_FIRE, 1, false},
    {'^', PGame::ITEM_FIRE, 2, false},        {0x95, PGame::ITEM_FORWARD, 0, false},
    {'*', PGame::ITEM_GEM, 0, true},          {'+', PGame::ITEM_GEM, 1, true},
    {'=', PGame::ITEM_GEM, 2, true},          {0xB0, PGame::ITEM_GUARD_DOOR, 0, false},
    {0xB9, PGame::ITEM_GUARD_DOOR, 1, false}, {0xB2, PGame::ITEM_GUARD_DOOR, 2, false},
    {0xB3, PGame::ITEM_GUARD_DOOR, 3, false}, {'\\', PGame::ITEM_JUMPER, 0, false},
    {'/', PGame::ITEM_JUMPER, 1, false},      {'o', PGame::ITEM_LIGHT, 0, false},
    {0xD8, PGame::ITEM_LIGHT, 1, false},      {0xF4, PGame::ITEM_LIGHT, 2, false},
    {'O', PGame::ITEM_LIGHT, 3, false},       {0xA4, PGame::ITEM_MINE, 0, false},
    {'7', PGame::ITEM_MIRROR, 0, false},      {'9', PGame::ITEM_MIRROR, 1, false},
    {'1', PGame::ITEM_MIRROR, 2, false},      {'3', PGame::ITEM_MIRROR, 3, false},
    {'l', PGame::ITEM_MIRROR, 4, false},      {'r', PGame::ITEM_MIRROR, 5, false},
    {'f', PGame::ITEM_MIRROR, 6, false},      {'b', PGame::ITEM_MIRROR, 7, false},
    {'P', PGame::ITEM_PISTON, 0, false},      {'T', PGame::ITEM_TURBO, 0, false},
    {'W', PGame::ITEM_WAGON, 0, false},       {'|', PGame::ITEM_WALL, 0, false},
    {'\'', PGame::ITEM_WALL, 1, false},       {'"', PGame::ITEM_WALL, 2, false},
    {0x97, PGame::ITEM_WALL, 3, false},       {'}', PGame::ITEM_WALL, 4, false},
    {'{', PGame::ITEM_WALL, 5, false},        {'z', PGame::ITEM_WALL, 6, false},
};
static_assert(sizeof(kItemChars) / sizeof(kItemChars[0]) == 52, "52 item characters");

const ItemChar* FindItemChar(unsigned char byte) {
  for (const ItemChar& c : kItemChars)
    if (c.byte == byte) return &c;
  return nullptr;
}

const int kRowCells = 17;

// One line of the buffer from *at: its start and length; *at moves past
// the CR LF that ends it (or to the end).
void NextLine(const char* text, int size, int* at, const char** start, int* length) {
  *start = text + *at;
  int i = *at;
  while (i < size && !(text[i] == '\r' && i + 1 < size && text[i + 1] == '\n')) ++i;
  *length = i - *at;
  *at = i < size ? i + 2 : size;
}

void FreeRecords(SArray<MAPITEM*>& items, SArray<MAPITEM*>& rows) {
  for (int i = 0; i < items.GetCount(); ++i) delete items[i];
  items.RemoveAll();
  rows.RemoveAll();
}

}  // namespace

float PGame::ColumnAngle(int column) {
  return (float)((double)(float)column / 16.0 * -6.2831854820251465 + 0.19634954631328583);
}

void PGame::FreeMaps() {
  FreeRecords(mapItems, mapRows);
  FreeRecords(runItems, runRows);
}

bool PGame::ParseLevel(const char* name) {
  levelFile = name;
  FreeMaps();
  // A level that cannot be read runs without the ghosts of the one before.
  for (int slot = 1; slot < GHOST_COUNT; ++slot) ghosts[slot].Clear();

  SFileMem file;
  if (!host || !host->LoadData(&file, name) || !file.IsOpen()) return false;
  const char* text = (const char*)file.GetBuffer();
  int size = file.GetSize();

  int at = 0;
  const char* line;
  int length;
  NextLine(text, size, &at, &line, &length);
  levelLives = atoi(std::string(line, length).c_str());
  if (difficulty == 0) {
    levelLives += 5;
  } else if (difficulty == 2) {
    levelLives = IsCentreLevel() ? levelLives / 2 : 0;
  }

  targetCount = 0;
  MAPITEM* last = nullptr;
  int row = 0;
  while (at < size) {
    NextLine(text, size, &at, &line, &length);
    if (length == 0) continue;
    MAPITEM* head = nullptr;
    for (int c = 0; c < kRowCells; ++c) {
      unsigned char byte = c < length ? (unsigned char)line[c] : 0;
      if (byte == '.' || byte == 0) continue;
      const ItemChar* item = FindItemChar(byte);
      if (!item) continue;
      int column = c == 16 ? 0 : c;
      MAPITEM* record = new MAPITEM();
      record->prev = last;
      record->type = item->type;
      record->subtype = item->subtype;
      record->row = row;
      record->column = column;
      record->angle = ColumnAngle(column);
      if (item->target) ++targetCount;
      // A plain guard door after the first one of the level has no guards.
      if (byte == 0xB0) {
        for (int i = mapItems.GetCount() - 1; i >= 0; --i) {
          if (mapItems[i]->type == ITEM_GUARD_DOOR && mapItems[i]->subtype == 0) {
            record->subtype = -1;
            break;
          }
        }
      }
      if (last) last->next = record;
      for (int i = mapItems.GetCount() - 1; i >= 0 && mapItems[i]->row + 1 >= row; --i) {
        MAPITEM* above = mapItems[i];
        if (above->row == row - 1 && above->column == column) {
          record->up = above;
          above->down = record;
          break;
        }
      }
      mapItems.Add(record);
      last = record;
      if (!head) head = record;
    }
    mapRows.Add(head);
    ++row;
  }
  if (IsCentreLevel()) ++targetCount;
  // The player's own ghost of the cell, then the rivals'.
  host->LoadGhost(&ghosts[1], difficulty, world, level);
  LoadRivalGhosts();
  return true;
}

void PGame::CopyMapForRun() {
  FreeRecords(runItems, runRows);
  int count = mapItems.GetCount();
  for (int i = 0; i < count; ++i) {
    MAPITEM* copy = new MAPITEM(*mapItems[i]);
    copy->prev = copy->next = copy->up = copy->down = nullptr;
    copy->entity = nullptr;
    runItems.Add(copy);
  }
  // Links by index: an item's neighbours are found in the level's map.
  for (int i = 0; i < count; ++i) {
    const MAPITEM* source = mapItems[i];
    MAPITEM* copy = runItems[i];
    if (i > 0) copy->prev = runItems[i - 1];
    if (i + 1 < count) copy->next = runItems[i + 1];
    if (source->up) copy->up = runItems[mapItems.Find(source->up)];
    if (source->down) copy->down = runItems[mapItems.Find(source->down)];
  }
  for (int r = 0; r < mapRows.GetCount(); ++r) {
    MAPITEM* head = mapRows[r];
    runRows.Add(head ? runItems[mapItems.Find(head)] : nullptr);
  }
}

MAPITEM* PGame::GetMapItem(int column, int row) const {
  if (row < 0 || row >= runRows.GetCount()) return nullptr;
  for (MAPITEM* item = runRows[row]; item && item->row == row; item = item->next)
    if (item->column == column) return item;
  return nullptr;
}

int PGame::GetItemTypeAt(int column, int row) const {
  MAPITEM* item = GetMapItem(column, row);
  return item ? item->type : 0;
}
