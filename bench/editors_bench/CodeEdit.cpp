// The code editor on a 10 MB source text of 100,000 lines: loading,
// scrolling to the end, finding through the whole text and the cost of one
// keystroke (undo snapshot, edit, notification and repaint of the view).
#include "core/Platform.h"
#include "bench/editors_bench/Bench.h"

#include "core/SFileMem.h"
#include "editors/SCodeEditCtrl.h"

#include <string>

namespace {

const int kLines = 100000;

std::string MakeSource() {
  static const char* const kinds[] = {
      "\tint value%d = compute(\"text with // inside\", %d); // a comment about it all here\r\n",
      "\t\tif (MAX_COUNT > counter_%d) { result += table[%d] * 3 + offset / 2; return; }\r\n",
      "\t/* block */ const char* name%d = \"some string value\"; double x = %d.5;\r\n",
      "void Function%d(int a, int b) { call(a, b, %d, nullptr, true, false); }\r\n",
  };
  std::string text;
  char line[256];
  for (int i = 0; i < kLines; ++i) {
    snprintf(line, sizeof(line), kinds[i % 4], i, i * 7);
    std::string padded = line;
    // About 100 bytes a line.
    while (padded.size() < 102) padded.insert(padded.size() - 2, " ");
    text += padded;
  }
  return text;
}

void Run() {
  std::string source = MakeSource();
  SCodeEditCtrl edit;
  RECT rect = {0, 0, 800, 600};
  if (!edit.Create("", WS_POPUP | WS_VISIBLE, 0, &rect)) {
    printf("no window\n");
    return;
  }
  edit.m_commentColoring = edit.m_stringColoring = edit.m_upperWordColoring = true;
  edit.m_showLineNumbers = true;
  edit.AddKeyword("int", 0xFF0000, true);
  edit.AddKeyword("return", 0xFF0000, false);
  bench::Print("source size", source.size() / (1024.0 * 1024.0), "MB");

  double load = bench::Best(3, [&]() {
    SFileMem file(source.c_str());
    edit.LoadFile(&file);
    ::UpdateWindow(edit.m_hWnd);
  });
  bench::Print("load and paint the first page", load * 1000, "ms");
  bench::Print("lines", edit.GetLineCount(), "");

  double end = bench::Best(3, [&]() {
    edit.SetSelection(0, 0, -1, -1, 0);
    edit.SetSelectionAndRedraw(kLines - 1, 0, -1, -1, 0, false);
  });
  bench::Print("scroll to the end and paint", end * 1000, "ms");

  strcpy(edit.GetFindState().findText, "not in the text");
  for (bool matchCase : {true, false}) {
    edit.GetFindState().matchCase = matchCase;
    double find = bench::Best(3, [&]() {
      edit.SetSelection(0, 0, -1, -1, 0);
      edit.FindNext(false);
    });
    bench::Print(matchCase ? "full-text find, match case" : "full-text find, any case", find * 1000,
                 "ms");
  }

  // The view alone: every visible row painted into a memory context.
  HDC screen = ::GetDC(edit.m_hWnd);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 800, 600);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  edit.SetSelectionAndRedraw(kLines / 2, 10, -1, -1, 0, true);
  double paint = bench::Best(20, [&]() { edit.Paint(memory); });
  bench::Print("paint of the whole view (memory context)", paint * 1000, "ms");
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(edit.m_hWnd, screen);

  // The window's repaint of one row (the toolkit's double buffer of the
  // whole client area, the row painted, the copy to the screen).
  RECT row = {0, 0, 800, edit.m_lineHeight};
  double oneRow = bench::Best(20, [&]() { edit.Redraw(&row); });
  bench::Print("repaint of one row through the window", oneRow * 1000, "ms");

  // Few enough keys that the caret stays inside the view.
  const int keys = 16;
  struct Key {
    const char* name;
    UINT message;
    WPARAM key;
  } rows[] = {
      {"typed character", WM_CHAR, 'x'},
      {"Backspace", WM_KEYDOWN, VK_BACK},
      {"Enter", WM_CHAR, 13},
      {"caret down", WM_KEYDOWN, VK_DOWN},
  };
  // The best of a few keystrokes. With the window's repainting off the
  // figure is the edit itself (undo snapshot, text change, notification);
  // with it on, the repaint too.
  double figures[2][4] = {};
  for (bool painted : {false, true}) {
    for (int k = 0; k < 4; ++k) {
      const Key& row = rows[k];
      edit.SetSelectionAndRedraw(kLines / 2, 40, -1, -1, 0, true);
      ::UpdateWindow(edit.m_hWnd);
      edit.SetRedraw(painted);
      double each = 1e30;
      for (int i = 0; i < keys; ++i) {
        double t0 = bench::Now();
        edit.SendMessage(row.message, row.key, 0);
        double t = bench::Now() - t0;
        if (t < each) each = t;
      }
      SString name;
      name.Format("keystroke, %s%s", row.name, painted ? ", with repaint" : "");
      bench::Print(name.GetText(), each * 1000, "ms");
      figures[painted][k] = each;
      edit.SetRedraw(true);
    }
  }
  // The goal: a keystroke with its repaint within 5 times the edit alone.
  for (int k = 0; k < 4; ++k) {
    SString name;
    name.Format("%s: with repaint / edit alone", rows[k].name);
    bench::Print(name.GetText(), figures[1][k] / figures[0][k], "x");
  }
  ::DestroyWindow(edit.m_hWnd);
}

bench::Group g_group("codeedit", Run);

}  // namespace
