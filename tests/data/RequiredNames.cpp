#include "core/Platform.h"
#include "tests/data/RequiredNames.h"

#include <algorithm>

namespace RequiredNames {

const char* const kLevelSounds[] = {
    "accelerate.wav",        "alarm.wav",           "bip_allgems.wav",       "bip_dynamite.wav",
    "bip_gem.wav",           "bip_start.wav",       "bip_target.wav",        "blood.wav",
    "boss_move.wav",         "boulder.wav",         "bounce_gem.wav",        "bounce_ground.wav",
    "bounce_ground2.wav",    "bounce_laser.wav",    "bounce_platform.wav",   "bounce_wallfront.wav",
    "bounce_wallside.wav",   "box.wav",             "brake.wav",             "catchdynamite.wav",
    "decelerate.wav",        "die.wav",             "door.wav",              "dynamite.wav",
    "electricity.wav",       "end.wav",             "explosion_arrow.wav",   "explosion_boss.wav",
    "explosion_dynamite.wav", "explosion_enemy.wav", "explosion_gem.wav",    "explosion_laser.wav",
    "explosion_mine.wav",    "fan.wav",             "fire.wav",              "jump_jump.wav",
    "jump_slide.wav",        "laser.wav",           "laser_enemy.wav",       "mirror.wav",
    "move.wav",              "newgem.wav",          "piston_activate.wav",   "piston_pullback.wav",
    "prelaser.wav",          "pushwall.wav",        "slide.wav",             "turbo.wav",
    "voice_gameover0.wav",   "voice_gameover1.wav", "voice_gameover2.wav",   "voice_gameover3.wav",
    "voice_gameover4.wav",   "voice_success.wav",   "voice_start.wav",       "wagon.wav",
    "wind.wav",
};
const int kLevelSoundCount = sizeof(kLevelSounds) / sizeof(kLevelSounds[0]);

const char* const kMenuSounds[] = {"menu_button.wav", "menu.mp3", "menu_select.wav",
                                   "menu_select2.wav"};
const int kMenuSoundCount = sizeof(kMenuSounds) / sizeof(kMenuSounds[0]);

namespace {

// Images of every level, then the centre level's and the lesson's.
const char* const kLevelImages[] = {
    "dark.jpg", "msg_pause.png", "msg_gameover.png", "msg_timeout.png", "msg_success.png",
    "msg_missedgems.png", "msg_uploading.png", "digits_green.png", "digits_orange.png",
    "digits_red.png", "digits_white.png", "particle_spot.png", "particle_star.png",
    "particle_cloud.png", "particle_cloudalpha.png", "explosion.jpg", "smoke.jpg", "hole.png",
    "blood.jpg", "shockwave0.jpg", "shockwave1.jpg", "dead_standard.jpg", "dead_bullet.jpg",
    "dead_destroy.jpg", "boulder.jpg", "boulderblood.jpg", "hud_gem.png", "hud_map.png",
    "hud_target.png", "hud_targetboss.png", "hud_cell.png", "hud_cellship.png", "hud_cellgem.png",
    "hud_cellwall.png", "hud_cellroof.png", "hud_celljumper.png", "hud_celldoor.png",
    "hud_celldoor2.png", "hud_cellbox.png", "hud_cellmine.png", "hud_cellblocker.png",
    "hud_cellfinish.png", "hud_distance.png", "hud_life.png", "hud_qualification.png",
    "hud_besttime.png", "hud_rivaltime.png", "hud_time.png", "hud_rank.png", "hud_pos.png",
    "hud_dynamite.png", "hud_dynamiteicon.png", "hud_turboicon.png", "finish.jpg", "finish2.jpg",
    "dynamite.jpg", "laser.png", "laser_ship.png", "laser_enemy.png", "default_wagon.jpg",
    "boss.jpg", "boss_fly.jpg", "hud_tip_gem.png", "hud_tip_hiddengem.png", "hud_tip_jumper.png",
    "hud_tip_guard.png", "hud_tip_wall.png", "hud_tip_enemy.png", "hud_tip_mirror.png",
    "hud_tip_door.png", "hud_tip_mat.png", "hud_tip_end.png",
};

// Theme texture slots: the file after "theme_", which of egypt, medieval
// and hitech have it, and whether the level loads it with its normal map.
const struct {
  const char* file;
  bool egypt, medieval, hitech, normalMap;
} kThemeSlots[] = {
    {"ground.jpg", true, true, true, false},     {"wall.jpg", true, true, true, true},
    {"wallarrow.jpg", true, false, false, true}, {"wall_on.jpg", true, false, true, true},
    {"wall_off.jpg", true, false, true, true},   {"wall_top.jpg", true, true, true, false},
    {"wall_roof.jpg", true, true, true, false},  {"wall_roof1.jpg", true, true, true, true},
    {"wall_roof2.jpg", true, true, true, true},  {"piston.jpg", false, false, true, true},
    {"jumper.jpg", true, true, true, false},     {"jumper2.jpg", true, true, true, false},
    {"door_small.jpg", true, true, true, false}, {"door_big.jpg", true, true, true, false},
    {"door_side.jpg", true, true, true, false},  {"blocker.jpg", true, true, true, true},
    {"box.jpg", true, true, true, false},        {"boxfront.jpg", true, true, true, false},
    {"boxtop.jpg", true, true, true, false},     {"forward.jpg", true, true, true, false},
    {"turbo.jpg", true, true, true, false},      {"enemy.jpg", true, true, true, false},
    {"fan.jpg", true, true, true, false},        {"gem.png", true, true, true, true},
    {"guard.jpg", true, true, true, false},      {"guard2.jpg", false, true, false, false},
    {"mine.jpg", true, true, true, false},       {"mirror.jpg", true, true, true, false},
};

const char* const kBonusImages[] = {
    "bonus_ground.jpg", "bonus_wall.jpg",    "bonus_wall_top.jpg", "bonus_wall_roof.jpg",
    "bonus_jumper.jpg", "bonus_jumper2.jpg", "bonus_steam.jpg",    "bonus_enemy.jpg",
    "bonus_gem.jpg",    "bonus_boulder.jpg",
};

const char* const kMenuImages[] = {
    "menu_main.jpg", "menu_help.jpg", "menu_credits.jpg", "menu_confirmation.jpg",
    "menu_difficulty.jpg", "menu_lesson.jpg", "menu_map_egypt.jpg", "menu_map_medieval.jpg",
    "menu_map_hitech.jpg", "menu_online.jpg", "menu_scores_egypt.jpg", "menu_scores_medieval.jpg",
    "menu_scores_hitech.jpg", "menu_players.jpg", "menu_loading.jpg", "menu_loadingonline.jpg",
    "menu_loading.png", "menu_end.jpg", "menu_link_off0.png", "menu_link_off1.png",
    "menu_link_on0.png", "menu_link_on1.png", "menu_level_egypt_off.png",
    "menu_level_egypt_on.png", "menu_level_medieval_off.png", "menu_level_medieval_on.png",
    "menu_level_hitech_off.png", "menu_level_hitech_on.png", "digits_white.png", "easy.png",
    "normal.png", "hard.png", "particle_spot.png",
};

const char* const kMeshes[] = {
    "dummy.x",       "arrow.xtx",       "enemy_egypt.x",  "enemy_medieval.x", "enemy_hitech.x",
    "enemy_.x",      "fan.x",           "fire_medieval.xtx", "gem.x",         "guard_egypt.x",
    "guard_medieval.x", "guard_hitech.x", "guard_.x",     "mine_medieval.x", "mine_hitech.x",
    "mirror.x",      "dynamite.x",      "wagon.x",        "boss.x",          "boss_fly.x",
};

void Append(std::vector<std::string>& names, const std::string& name) {
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

template <size_t N>
void AppendAll(std::vector<std::string>& names, const char* const (&list)[N]) {
  for (const char* name : list) Append(names, name);
}

}  // namespace

std::vector<std::string> Images() {
  std::vector<std::string> names;
  AppendAll(names, kLevelImages);
  for (const auto& slot : kThemeSlots) {
    if (slot.egypt) Append(names, std::string("egypt_") + slot.file);
    if (slot.medieval) Append(names, std::string("medieval_") + slot.file);
    if (slot.hitech) Append(names, std::string("hitech_") + slot.file);
  }
  for (const auto& pair : NormalMaps()) Append(names, pair.second);
  AppendAll(names, kBonusImages);
  AppendAll(names, kMenuImages);
  for (int on = 0; on < 2; ++on) {
    for (int k = 0; k < 4; ++k)
      Append(names, std::string(on ? "menu_arrow_on" : "menu_arrow_off") + char('0' + k) + ".png");
  }
  for (int world = 0; world < 5; ++world) {
    for (int level = 0; level < 5; ++level)
      Append(names, std::string("menu_name_") + char('0' + world) + char('0' + level) + ".png");
  }
  return names;
}

std::vector<std::pair<std::string, std::string>> NormalMaps() {
  std::vector<std::pair<std::string, std::string>> pairs;
  const char* const themes[3] = {"egypt_", "medieval_", "hitech_"};
  for (const auto& slot : kThemeSlots) {
    bool has[3] = {slot.egypt, slot.medieval, slot.hitech};
    for (int theme = 0; theme < 3; ++theme) {
      if (!slot.normalMap || !has[theme]) continue;
      std::string name = std::string(themes[theme]) + slot.file;
      size_t dot = name.rfind('.');
      pairs.push_back({name, name.substr(0, dot) + "+n" + name.substr(dot)});
    }
  }
  return pairs;
}

std::vector<std::string> Sounds() {
  std::vector<std::string> names;
  AppendAll(names, kLevelSounds);
  for (int theme = 0; theme < 3; ++theme) Append(names, std::string("music") + char('0' + theme) + ".mp3");
  AppendAll(names, kMenuSounds);
  return names;
}

std::vector<std::string> Meshes() {
  std::vector<std::string> names;
  AppendAll(names, kMeshes);
  return names;
}

std::vector<std::string> Effects() { return {"pp_nightvision.fx"}; }

std::vector<std::string> Levels() {
  // The 21 map cells, the lesson (1, 1) and the bonus level (3, 3); the
  // cells (1, 3) and (3, 1) hold nothing.
  std::vector<std::string> names;
  for (int world = 0; world < 5; ++world) {
    for (int level = 0; level < 5; ++level) {
      if ((world == 1 && level == 3) || (world == 3 && level == 1)) continue;
      names.push_back(std::string("level_") + char('0' + world) + char('0' + level) + ".txt");
    }
  }
  return names;
}

}  // namespace RequiredNames
