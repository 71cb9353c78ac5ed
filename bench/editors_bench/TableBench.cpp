// The spreadsheet loading a 100,000-row table, and the hex viewer loading
// and scrolling through a 100 MB file.
#include "bench/editors_bench/Bench.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "editors/SBinaryCtrl.h"
#include "editors/SSpreadCtrl.h"
#include "editors/STable.h"

#include <string>
#include <vector>

namespace {

const int kRows = 100000;
const int kColumns = 4;
const int kHexMegabytes = 100;
const int kJumps = 1000;

// Private memory the process has committed, in megabytes: every region of
// the address space added up (the system's memory status does not count
// what VirtualAlloc gives here).
double PrivateMegabytes() {
  double bytes = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* p = nullptr;
       ::VirtualQuery(p, &region, sizeof(region)) == sizeof(region) && region.RegionSize > 0;
       p = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
      bytes += double(region.RegionSize);
    if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < p) break;
  }
  return bytes / (1 << 20);
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

// A table file of kRows rows and kColumns columns with short values and a
// few attributes.
void WriteTable(SFileMem* file) {
  file->WriteStringZ("VANDRO TABLE 1.0.0.0");
  file->WriteStringZ(std::to_string(kColumns).c_str());
  file->WriteStringZ(std::to_string(kRows).c_str());
  file->WriteStringZ("");
  file->WriteStringZ("");
  for (int c = 0; c < kColumns; ++c) {
    file->WriteStringZ(("Column" + std::to_string(c)).c_str());
    file->WriteStringZ("");
    file->WriteStringZ("width=90");
  }
  for (int r = 0; r < kRows; ++r) {
    file->WriteStringZ("");
    file->WriteStringZ(r % 10 == 0 ? "height=24" : "");
    for (int c = 0; c < kColumns; ++c) {
      file->WriteStringZ(std::to_string(r * kColumns + c).c_str());
      file->WriteStringZ("");
      file->WriteStringZ(c == 1 ? "backcolor=#E0E0FF;halign=center" : "");
    }
  }
  file->Rewind();
}

struct Host {
  SWnd parent;
  Host() {
    RECT rect = {0, 0, 820, 620};
    parent.Create("", WS_VISIBLE, 0, &rect);
  }
};

void RunTable() {
  SFileMem file;
  WriteTable(&file);
  bench::Print("table file size", double(file.GetSize()) / (1 << 20), "MB");

  double before = PrivateMegabytes();
  STable table;
  // Best of three loads into an empty table, each followed by its clear
  // (the best of those too: the machine is shared).
  double load = 1e30, clear = 1e30, taken = 0;
  for (int i = 0; i < 3; ++i) {
    file.Rewind();
    double t0 = bench::Now();
    table.Load(&file);
    double t = bench::Now() - t0;
    if (t < load) load = t;
    taken = PrivateMegabytes() - before;
    t0 = bench::Now();
    table.Clear();
    t = bench::Now() - t0;
    if (t < clear) clear = t;
  }
  bench::Print("STable::Load, 100,000 rows x 4 columns", load * 1000, "ms");
  bench::Print("address space taken by the table", taken, "MB");
  bench::Print("STable::Clear of it", clear * 1000, "ms");
  bench::Print("clear / load (goal: at most 0.1)", clear / load, "x");

  Host host;
  RECT rect = {0, 0, 800, 600};
  SSpreadCtrl spread;
  spread.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, host.parent.m_hWnd);
  double control = bench::Best(3, [&] {
    file.Rewind();
    spread.LoadFile(&file);
  });
  bench::Print("SSpreadCtrl::LoadFile with its first paint", control * 1000, "ms");

  // Jumps spread over all rows, as the thumb makes them: the position, then
  // the toolkit's notification.
  double scroll = bench::Best(3, [&] {
    for (int i = 0; i < kJumps; ++i) {
      spread.SetScrollPos(int(int64_t(i) * (kRows - 1) / (kJumps - 1)));
      spread.SendMessage(SWM_VSCROLLED, 0, 0);
    }
  });
  bench::Print("jump through the rows, per jump (repaint)", scroll * 1000 / kJumps, "ms");
  double select = bench::Best(3, [&] { spread.SelectAll(); });
  bench::Print("select all 400,000 cells", select * 1000, "ms");
  PumpMessages();
}

// A file of kHexMegabytes MB on disk.
bool WriteLargeFile(SFilePath* file) {
  if (!file->OpenTemp()) return false;
  std::vector<uint8_t> block(1 << 16);
  for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i * 7);
  for (int i = 0; i < kHexMegabytes * 16; ++i) {
    if (file->Write(block.data(), int(block.size())) != int(block.size())) return false;
  }
  file->Rewind();
  return true;
}

void RunBinary() {
  SFilePath source;
  if (!WriteLargeFile(&source)) {
    printf("no temporary file for the large file\n");
    return;
  }
  Host host;
  RECT rect = {0, 0, 800, 600};
  SBinaryCtrl viewer;
  viewer.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, host.parent.m_hWnd);

  double before = PrivateMegabytes();
  double t0 = bench::Now();
  viewer.LoadFile(&source);
  double load = bench::Now() - t0;
  bench::Print("SBinaryCtrl::LoadFile, 100 MB (copy to its own file)", load * 1000, "ms");
  bench::Print("memory added by the loaded viewer", PrivateMegabytes() - before, "MB");
  bench::Print("rows", viewer.m_rowCount, "");
  bench::Print("row buffer", viewer.m_rowBufferSize, "bytes");

  // Jumps spread over the whole file, as the thumb makes them.
  int rows = viewer.m_rowCount;
  double jumps = bench::Best(3, [&] {
    for (int i = 0; i < kJumps; ++i) {
      int target = int(int64_t(i) * rows / (kJumps - 1));
      viewer.SetScrollPos(target);
      viewer.SendMessage(SWM_VSCROLLED, 0, 0);
    }
  });
  bench::Print("jump through the whole file, per jump (read + paint)", jumps * 1000 / kJumps, "ms");
  viewer.SetScrollPos(rows / 2);
  double lines = bench::Best(3, [&] {
    for (int i = 0; i < kJumps; ++i) viewer.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  });
  bench::Print("line down in the middle, per line", lines * 1000 / kJumps, "ms");
  double wheel = bench::Best(3, [&] {
    for (int i = 0; i < kJumps; ++i) viewer.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
  });
  bench::Print("wheel notch (16 rows), per notch", wheel * 1000 / kJumps, "ms");
  bench::Print("memory added after scrolling", PrivateMegabytes() - before, "MB");
  PumpMessages();
}

bench::Group g_table("table", &RunTable);
bench::Group g_binary("binary", &RunBinary);

}  // namespace
