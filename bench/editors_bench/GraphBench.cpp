// The graph control with a board of 2,000 boxes and 4,000 links: loading the
// XML text, laying every box out, painting, hit testing and saving.
#include "bench/editors_bench/Bench.h"

#include "core/SFileMem.h"
#include "core/SXml.h"
#include "core/Utility.h"
#include "editors/SGraphBoard.h"
#include "editors/SGraphBox.h"
#include "editors/SGraphCtrl.h"
#include "editors/SGraphPlug.h"

#include <string>

namespace {

const int kBoxes = 2000;
const int kColumns = 50;

// Each box has two inputs and two outputs; output 0 feeds the next box's
// input 0, output 1 the input 1 of the box seven places on: 4,000 links.
std::string MakeGraph() {
  std::string text = "<xml><graph><board nextid=\"" + std::to_string(kBoxes * 5 + 1) + "\"/>";
  for (int i = 0; i < kBoxes; ++i) {
    int id = 1 + i * 5;
    text += "<box><box id=\"" + std::to_string(id) + "\" name=\"box " + std::to_string(i) +
            "\" x=\"" + std::to_string((i % kColumns) * 110) + "\" y=\"" +
            std::to_string((i / kColumns) * 90) + "\"/>";
    for (int p = 0; p < 4; ++p) {
      text += "<plug><plug id=\"" + std::to_string(id + 1 + p) + "\" type=\"" +
              (p < 2 ? "1" : "2") + "\" name=\"" + (p < 2 ? "in" : "out") + "\"/>";
      if (p >= 2) {
        int target = (i + (p == 2 ? 1 : 7)) % kBoxes;
        text += "<trg id=\"" + std::to_string(1 + target * 5 + 1 + (p - 2)) + "\"/>";
      }
      text += "</plug>";
    }
    text += "</box>";
  }
  return text + "</graph></xml>";
}

void Run() {
  SWnd parent;
  RECT outer = {0, 0, 1280, 1024};
  parent.Create("graph bench", WS_POPUP | WS_VISIBLE, 0, &outer);
  SGraphCtrl* ctrl = new SGraphCtrl;
  ctrl->Create("", WS_CHILD | WS_VISIBLE, 0, &outer, parent.m_hWnd, reinterpret_cast<HMENU>(1));
  std::string text = MakeGraph();
  bench::Print("graph text (bytes)", double(text.size()), "B");

  double parse = bench::Best(5, [&] {
    SFileMem file(text.c_str());
    SXml document;
    document.Parse(&file);
  });
  bench::Print("parse the XML text alone", parse * 1000.0, "ms");
  bool loaded = false;
  double load = bench::Best(5, [&] {
    SFileMem file(text.c_str());
    loaded = ctrl->LoadFile(&file);
  });
  if (!loaded || !ctrl->m_board) {
    printf("graph did not load\n");
    delete ctrl;
    return;
  }
  SGraphBoard* board = ctrl->m_board;
  int links = 0;
  for (int i = 0; i < board->m_boxes.GetCount(); ++i) {
    SGraphBox* box = board->m_boxes.GetAt(i);
    for (int j = 0; j < box->m_plugs.GetCount(); ++j)
      links += box->m_plugs.GetAt(j)->m_outgoing.GetCount();
  }
  printf("%d boxes, %d links\n", board->m_boxes.GetCount(), links);
  bench::Print("load 2000 boxes / 4000 links (parse, build, link)", load * 1000.0, "ms");

  double layout = bench::Best(5, [&] {
    for (int i = 0; i < board->m_boxes.GetCount(); ++i) board->m_boxes.GetAt(i)->UpdateLayout();
  });
  bench::Print("lay out every box", layout * 1000.0, "ms");

  BITMAPINFO info = TopDownBitmapInfo32(1280, 1024);
  HDC dc = ::CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT everything = {-100000, -100000, 100000, 100000};
  double paintAll = bench::Best(5, [&] {
    ctrl->Paint(dc, everything);
    ::GdiFlush();
  });
  bench::Print("paint every box and link (no culling)", paintAll * 1000.0, "ms");
  double paintView = bench::Best(5, [&] {
    ::SendMessageA(ctrl->m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::GdiFlush();
  });
  bench::Print("paint a 1280 x 1024 view (WM_PRINTCLIENT)", paintView * 1000.0, "ms");
  ctrl->m_flags |= SGraphCtrl::FLAG_TREE;
  double paintTree = bench::Best(3, [&] {
    ctrl->Paint(dc, everything);
    ::GdiFlush();
  });
  bench::Print("paint everything in tree mode", paintTree * 1000.0, "ms");
  ctrl->m_flags &= ~SGraphCtrl::FLAG_TREE;

  double hit = bench::Best(5, [&] {
    SGraphHit record;
    for (int i = 0; i < 100; ++i) ctrl->HitTest(5 + i, 5, &record);
  });
  bench::Print("hit test (each, empty point)", hit * 10000.0, "us");

  double save = bench::Best(5, [&] {
    SXml document;
    ctrl->SaveXml(document.GetRoot());
    document.WriteText();
  });
  bench::Print("save as XML text", save * 1000.0, "ms");

  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  delete ctrl;
}

bench::Group g_graph("graph", Run);

}  // namespace
