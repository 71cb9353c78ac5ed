// A scripted drag for the drag loops' input seam: the cursor follows the
// points (staying on the last), the button is down for the given number of
// passes (by default one pass a point), Escape is down from the given pass on
// (0: never), and a call may watch each pass. The real input is put back
// when the script goes.
#pragma once

#include "core/Platform.h"
#include "window/DragInput.h"

#include <functional>
#include <vector>

class DragScript {
public:
  explicit DragScript(std::vector<POINT> path, int downPasses = -1, int escapeAt = 0,
                      std::function<void(int pass)> onPass = nullptr) {
    s_path = path;
    s_downPasses = downPasses < 0 ? int(path.size()) : downPasses;
    s_escapeAt = escapeAt;
    s_onPass = onPass;
    s_pass = 0;
    g_readDragInput = Read;
  }
  ~DragScript() { g_readDragInput = ReadRealDragInput; }
  DragScript(const DragScript&) = delete;
  DragScript& operator=(const DragScript&) = delete;

private:
  static void Read(DragInput* input) {
    input->cursor = s_path[size_t(s_pass) < s_path.size() ? size_t(s_pass) : s_path.size() - 1];
    ++s_pass;
    input->buttonDown = s_pass <= s_downPasses;
    input->escape = s_escapeAt > 0 && s_pass >= s_escapeAt;
    if (s_onPass) s_onPass(s_pass);
  }

  static inline std::vector<POINT> s_path;
  static inline int s_pass = 0, s_downPasses = 0, s_escapeAt = 0;
  static inline std::function<void(int)> s_onPass;
};
