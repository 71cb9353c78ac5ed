// The game's five archives for the benchmarks that run the application
// object: those the build made beside the game program, opened with the key
// they were made with (GAME_ARCHIVE_KEY, set by the build).
#pragma once

#include "core/Platform.h"

#include "app/PWnd.h"
#include "window/Framework.h"

#include <stdio.h>

namespace bench {

inline void OpenGameArchives(PWnd& app) {
  SString folder = GetProgramFolder() + "..\\app\\";
  SResource* archives[] = {&app.resImg, &app.resSnd, &app.resObj, &app.resFx, &app.resDat};
  const char* names[] = {"gravrun2.img", "gravrun2.snd", "gravrun2.obj", "gravrun2.fx",
                         "gravrun2.dat"};
  for (int i = 0; i < 5; ++i) {
    archives[i]->SetKey(GAME_ARCHIVE_KEY);
    if (!archives[i]->Open((folder + names[i]).GetText())) printf("missing %s\n", names[i]);
  }
}

}  // namespace bench
