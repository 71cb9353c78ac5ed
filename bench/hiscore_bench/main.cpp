// The hiscores of the online pages at the largest answer the client takes
// (a reply of PWebLink::MAX_REPLY bytes, its header lines included): the
// time to fill the 25 lists from the answer's text (the request itself not
// counted), to open the players page (the ranking of every player and the
// first page of 100) and to turn a page. Each should stay within one frame
// at 60 frames a second. The first opening of the first answer is the
// first ranking of the process, with its memory still to be taken.
//
// Two answers: every record a player of its own, spread over the cells in
// turn (the most players an answer can hold), and a few thousand players
// each listed in many cells in shuffled order (every entry after a
// player's first takes the player out of the ranking and puts them back).
#include "core/Platform.h"

#include "app/PWeb.h"
#include "app/PWnd.h"
#include "bench/BenchGame.h"
#include "bench/BenchTiming.h"
#include "app/menu/PMenu.h"
#include "window/Framework.h"

#include <stdio.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

const int kRuns = 5;
const double kFrame = 1.0 / 60.0;
// The status line and header lines of a reply, generously.
const int kHeaderBytes = 200;

// A short name of a number: digits and lower-case letters.
std::string ShortName(char prefix, int number) {
  std::string name(1, prefix);
  do {
    name += "0123456789abcdefghijklmnopqrstuvwxyz"[number % 36];
    number /= 36;
  } while (number > 0);
  return name;
}

// The answer of records "name,cell,time" up to the reply's bound; the
// records come from next(index) until it gives an empty name.
template <class Next>
std::string Answer(Next next, int* records) {
  std::string answer = "GVR2,1.02";
  const size_t limit = size_t(PWebLink::MAX_REPLY) - kHeaderBytes - 1;
  *records = 0;
  for (int i = 0;; ++i) {
    std::string record = next(i);
    if (record.empty() || answer.size() + 1 + record.size() > limit) break;
    answer += ",";
    answer += record;
    ++*records;
  }
  return answer + "\n";
}

std::string Record(const std::string& name, int world, int level, int time) {
  return name + "," + char('0' + world) + char('0' + level) + "," + std::to_string(time);
}

// Every record a new player; the cells in turn.
std::string DistinctPlayers(int* records) {
  return Answer(
      [](int i) {
        int cell = i % 25;
        return Record(ShortName('p', i), cell / 5, cell % 5, 4000 + i % 9000);
      },
      records);
}

// Players listed in many cells: each cell a shuffled run through the
// players, cell after cell.
std::string RepeatedPlayers(int* records) {
  const int players = 3000;
  std::mt19937 random(12345);
  std::vector<int> order(players);
  for (int i = 0; i < players; ++i) order[size_t(i)] = i;
  std::vector<std::pair<int, int>> entries;  // player, cell
  for (int lap = 0; lap < 4; ++lap)
    for (int cell = 0; cell < 25; ++cell) {
      std::shuffle(order.begin(), order.end(), random);
      for (int player : order) entries.push_back({player, cell});
    }
  return Answer(
      [&entries](int i) {
        if (size_t(i) >= entries.size()) return std::string();
        int cell = entries[size_t(i)].second;
        return Record(ShortName('r', entries[size_t(i)].first), cell / 5, cell % 5, 5000 + i % 9000);
      },
      records);
}

struct Timing {
  double best = 1e30, worst = 0, sum = 0;
  int count = 0;
  void Add(double seconds) {
    if (seconds < best) best = seconds;
    if (seconds > worst) worst = seconds;
    sum += seconds;
    ++count;
  }
};

void Print(const char* what, const Timing& t) {
  printf("  %-42s %7.3f ms on average, %7.3f ms at best, %7.3f ms at worst of %d %s\n", what,
         t.sum / t.count * 1e3, t.best * 1e3, t.worst * 1e3, t.count,
         t.worst <= kFrame ? "(within a frame)" : "(MORE THAN A FRAME)");
}

void Bench(PWnd& app, const char* title, const std::string& text, int records) {
  SString answer(text.c_str());
  Timing fill, open, turn;
  for (int run = 0; run < kRuns; ++run) {
    app.menu.GoToPage(PMenu::PAGE_ONLINE);
    double filling = bench::Now();
    app.ReadAllHiscores(answer);
    fill.Add(bench::Now() - filling);
    double opening = bench::Now();
    app.menu.GoToPage(PMenu::PAGE_PLAYERS);
    open.Add(bench::Now() - opening);
    // The players page's Down: the next page of 100, page after page.
    for (int page = 1; page < 50 && page * PMenu::PLAYERS_PAGE < app.menu.listCount; ++page) {
      double turning = bench::Now();
      ++app.menu.selection;
      app.menu.FillPlayerList();
      turn.Add(bench::Now() - turning);
    }
  }
  int kept = 0;
  for (auto& row : app.hiscores)
    for (SStringArray& list : row) kept += list.GetCount();
  printf("%s\n", title);
  printf("  answer %d bytes (a reply of at most %d bytes with its header lines), %d records\n",
         answer.GetLength(), int(PWebLink::MAX_REPLY), records);
  printf("  kept %d records in the lists, %d players ranked\n", kept, app.menu.listCount);
  Print("fill the 25 lists from the answer", fill);
  Print("open the players page (rank, first page)", open);
  Print("turn a page of the players page", turn);
}

}  // namespace

int main() {
  StartupFramework(::GetModuleHandleA(nullptr), SW_SHOWNORMAL, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  int result = 1;
  {
    SWnd window;
    RECT rect = {0, 0, 800, 450};
    window.Create("hiscore bench", WS_OVERLAPPEDWINDOW, 0, &rect);
    PWnd app;
    g_app = &app;
    bench::OpenGameArchives(app);
    SDxConfig config;
    SString error;
    if (!app.dx.Create(&window, &config, &error)) {
      printf("no device: %s\n", error.GetText());
    } else {
      app.onlineDifficulty = 1;
      app.menu.difficulty = 1;
      app.EnterMenu(PMenu::PAGE_ONLINE, -1, -1);
      // The page's first opening loads its background image: once before
      // the timings, with empty lists.
      double opening = bench::Now();
      app.menu.GoToPage(PMenu::PAGE_PLAYERS);
      printf("first opening of the players page (its image loaded), empty lists: %.3f ms\n",
             (bench::Now() - opening) * 1e3);
      int records = 0;
      std::string distinct = DistinctPlayers(&records);
      Bench(app, "every record a player of its own:", distinct, records);
      std::string repeated = RepeatedPlayers(&records);
      Bench(app, "3000 players in every cell, shuffled:", repeated, records);
      app.LeaveMode();
      result = 0;
    }
    g_app = nullptr;
  }
  ShutdownFramework();
  return result;
}
