// The entries the game asks of each of its five archives, by the names it
// uses when it loads a level or the menu.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace RequiredNames {

// The level sounds in load order: a sound's id is its index, so a missing
// one would give every later sound the wrong id.
extern const char* const kLevelSounds[];
extern const int kLevelSoundCount;
// The menu sounds in load order (channels 0 to 3).
extern const char* const kMenuSounds[];
extern const int kMenuSoundCount;

// Every entry of each archive, without duplicates, in no particular order.
std::vector<std::string> Images();
std::vector<std::string> Sounds();
std::vector<std::string> Meshes();
std::vector<std::string> Effects();
std::vector<std::string> Levels();
// The theme textures the level loads with their normal maps, each with the
// name of its normal map (the name without its extension, "+n.", the
// extension); Images() holds both.
std::vector<std::pair<std::string, std::string>> NormalMaps();

}  // namespace RequiredNames
