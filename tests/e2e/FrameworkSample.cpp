// A small program that drives the framework as the game's entry does:
// start-up with the program's flags, the application icons, a main window,
// the polling application loop with an idle callback, and shutdown once the
// window is gone. The idle callback closes the window after a number of
// calls, standing in for the player closing it. The program ends with 0 when
// the loop ran its idle calls and ended through the window's WM_DESTROY.
#include "core/Platform.h"

#include "window/Framework.h"
#include "window/MessageLoop.h"
#include "window/SWnd.h"

namespace {

const int kFrames = 50;

class MainWnd : public SWnd {
public:
  bool destroyed = false;

  bool OnMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override {
    if (message == WM_DESTROY) {
      destroyed = true;
      ::PostQuitMessage(0);
    }
    return SWnd::OnMessage(message, wParam, lParam, result);
  }
};

struct Frames {
  MainWnd* window;
  int count;
};

// The idle callback: one frame per empty poll of the loop.
int Frame(void* argument) {
  Frames* frames = static_cast<Frames*>(argument);
  if (++frames->count == kFrames) frames->window->Close();
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  StartupFramework(instance, showCommand, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  SetApplicationIcons(107, 107);

  MainWnd* window = new MainWnd;
  RECT rect = {40, 40, 440, 340};
  if (!window->Create("Framework sample", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &rect)) {
    delete window;
    ShutdownFramework();
    return 1;
  }

  Frames frames = {window, 0};
  bool blocking = false;
  RunMessageLoop(&blocking, Frame, &frames);
  bool ranAndEnded = window->destroyed && window->m_hWnd == nullptr && frames.count >= kFrames;

  delete window;
  ShutdownFramework();
  return ranAndEnded ? 0 : 1;
}
