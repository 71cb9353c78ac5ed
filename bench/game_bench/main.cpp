// Level loading from the data archives: the time to load a level (warm:
// the level was loaded once before) and to unload it, per level cell.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "core/TimeBase.h"
#include "window/Framework.h"

#include <stdio.h>

int main() {
  StartupFramework(::GetModuleHandleA(nullptr), SW_SHOWNORMAL, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  int result = 1;
  {
    SWnd window;
    RECT rect = {0, 0, 800, 450};
    window.Create("game bench", WS_OVERLAPPEDWINDOW, 0, &rect);
    PWnd app;
    g_app = &app;
    SString folder = GetProgramFolder() + "..\\app\\";
    SResource* archives[] = {&app.resImg, &app.resSnd, &app.resObj, &app.resFx, &app.resDat};
    const char* names[] = {"gravrun2.img", "gravrun2.snd", "gravrun2.obj", "gravrun2.fx",
                           "gravrun2.dat"};
    for (int i = 0; i < 5; ++i) {
      archives[i]->SetKey(GAME_ARCHIVE_KEY);
      if (!archives[i]->Open((folder + names[i]).GetText())) printf("missing %s\n", names[i]);
    }
    SDxConfig config;
    SString error;
    if (!app.dx.Create(&window, &config, &error)) {
      printf("no device: %s\n", error.GetText());
    } else {
      const int cells[][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {2, 2}, {3, 3}, {4, 4}};
      double worstLoad = 0, worstUnload = 0;
      for (const auto& cell : cells) {
        app.EnterGame(1, cell[0], cell[1]);
        app.LeaveMode();
        double start = GetTimeSeconds();
        app.EnterGame(1, cell[0], cell[1]);
        double loaded = GetTimeSeconds();
        app.LeaveMode();
        double unloaded = GetTimeSeconds();
        printf("level %d%d: load %.3f s, unload %.3f s\n", cell[0], cell[1], loaded - start,
               unloaded - loaded);
        if (loaded - start > worstLoad) worstLoad = loaded - start;
        if (unloaded - loaded > worstUnload) worstUnload = unloaded - loaded;
      }
      printf("slowest: load %.3f s, unload %.3f s\n", worstLoad, worstUnload);
      result = 0;
    }
    g_app = nullptr;
  }
  ShutdownFramework();
  return result;
}
