// Prints the texts of the child windows of the visible top-level window with
// the given title, one a line (a message box: its text and its buttons), so
// that a script can read what a program shows. Ends with 1 when no such
// window exists.
#include "core/Platform.h"

#include <stdio.h>
#include <string.h>

namespace {

BOOL CALLBACK PrintText(HWND child, LPARAM) {
  char text[4096] = "";
  if (::GetWindowTextA(child, text, sizeof(text)) > 0) printf("%s\n", text);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = nullptr;
  while ((window = ::FindWindowExA(nullptr, window, nullptr, argv[1])) != nullptr) {
    if (::IsWindowVisible(window)) break;
  }
  if (!window) return 1;
  ::EnumChildWindows(window, PrintText, 0);
  return 0;
}
