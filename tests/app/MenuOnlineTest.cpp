// The front end online, against the reference server: the online entry,
// the scores page in blocks of 20, the players' ranking, online ranks in
// the information panel and a result restored from the server.
#include "core/Platform.h"

#include "app/GameWindow.h"
#include "app/ReferenceServer.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"

#include <string>

namespace {

class MenuOnline : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(0, server.port) << "the reference server is not running";
    server.Check();
  }
  void TearDown() override {
    game.Close();
    EXPECT_EQ("OK", server.Check()) << "problems the server saw";
  }
  void Open(int difficulty, const char* name = "bob") {
    ASSERT_NO_FATAL_FAILURE(game.Open(difficulty, server.port, name));
  }
  // The main page's online entry with the lists the server is told to send.
  void GoOnline(const std::string& answer) {
    server.Answer(answer);
    game.Press(VK_DOWN);
    game.Press(VK_RETURN);
  }
  std::string Text(SDxText* text) { return text ? text->m_text.GetText() : "<none>"; }
  // The players page's whole ranking, page after page as the page fills
  // them, one "place points name" line per place.
  std::string ShownRanking() {
    std::string shown;
    for (int page = 0; page * PMenu::PLAYERS_PAGE < menu().listCount; ++page) {
      menu().selection = page;
      menu().FillPlayerList();
      for (int column = 0; column < 4; ++column) {
        std::string texts[3];
        for (int i = 0; i < 3; ++i) texts[i] = Text(menu().listTexts[column * 3 + i]);
        size_t at[3] = {0, 0, 0};
        while (at[0] < texts[0].size()) {
          for (int i = 0; i < 3; ++i) {
            size_t end = texts[i].find('\n', at[i]);
            if (end == std::string::npos) end = texts[i].size();
            shown += texts[i].substr(at[i], end - at[i]) + (i < 2 ? " " : "\n");
            at[i] = end + 1;
          }
        }
      }
    }
    return shown;
  }
  // The reference ranking in the same lines: "points,name" lines numbered.
  static std::string NumberedRanking(const std::string& ranking) {
    std::string lines;
    char place[16];
    size_t at = 0;
    for (int n = 1; at < ranking.size(); ++n) {
      size_t comma = ranking.find(',', at), end = ranking.find('\n', at);
      snprintf(place, sizeof(place), "%02d ", n);
      lines += place + ranking.substr(at, comma - at) + " " +
               ranking.substr(comma + 1, end - comma - 1) + "\n";
      at = end + 1;
    }
    return lines;
  }
  // The first line where two texts of lines differ, or "" when they agree.
  static std::string FirstDifference(const std::string& shown, const std::string& expected) {
    size_t at = 0;
    for (int line = 1;; ++line) {
      size_t a = shown.find('\n', at), b = expected.find('\n', at);
      std::string x = shown.substr(at, a == std::string::npos ? a : a - at);
      std::string y = expected.substr(at, b == std::string::npos ? b : b - at);
      if (x != y || a != b)
        return "line " + std::to_string(line) + ": shown \"" + x + "\", reference \"" + y + "\"";
      if (a == std::string::npos) return "";
      at = a + 1;
    }
  }
  PMenu& menu() { return game.Menu(); }
  PWnd& app() { return game.app; }

  ReferenceServer server;
  GameWindow game;
};

// "name,cell,time," records of count players p<first>.. in one cell.
std::string Records(const char* prefix, int first, int count, const char* cell) {
  std::string text;
  for (int i = first; i < first + count; ++i)
    text += prefix + std::to_string(i) + "," + cell + "," + std::to_string(1000 + i) + ",";
  return text;
}

std::string Places(int first, int last, const char* end) {
  std::string text;
  char place[16];
  for (int i = first; i <= last; ++i) {
    snprintf(place, sizeof(place), "%02d%s", i, end);
    text += place;
  }
  return text;
}

TEST_F(MenuOnline, ScoresInBlocksOfTwenty) {
  ASSERT_NO_FATAL_FAILURE(Open(0));
  GoOnline("GVR2,1.02," + Records("p", 0, 45, "00") + "solo,20,7100\n");
  ASSERT_EQ(PMenu::PAGE_ONLINE, menu().page);
  EXPECT_EQ(0, menu().difficulty);
  // Down stops at the last item; Up moves back.
  for (int i = 0; i < 3; ++i) game.Press(VK_DOWN);
  EXPECT_EQ(2, menu().selection);
  game.Press(VK_UP);
  game.Press(VK_UP);
  game.Press(VK_RETURN);
  ASSERT_EQ(PMenu::PAGE_SCORES, menu().page);
  EXPECT_EQ(0, menu().world);
  EXPECT_EQ(0, menu().level);
  EXPECT_EQ(menu().pageImages[PMenu::SLOT_SCORES], menu().background->m_texture);
  EXPECT_TRUE(menu().rankTexts[0]->IsActive());
  struct Block {
    int first, last;
  } blocks[] = {{1, 20}, {21, 40}, {41, 45}, {1, 20}};
  for (const Block& block : blocks) {
    EXPECT_EQ(Places(block.first, block.last, "\r\n"), Text(menu().rankTexts[0]));
    std::string names, times;
    for (int i = block.first - 1; i < block.last; ++i) {
      names += "p" + std::to_string(i) + "\r\n";
      SString time;
      times += std::string(FormatTime(time, 1000 + i, false).GetText()) + "\r\n";
    }
    EXPECT_EQ(names, Text(menu().rankTexts[1]));
    EXPECT_EQ(times, Text(menu().rankTexts[2]));
    game.Press(VK_RETURN);
  }
  // The cursor reaches locked cells with a level, not the cells without
  // one; the block stays.
  EXPECT_EQ(1, app().cellStates[0][2][0]);
  game.Press(VK_RIGHT);
  game.Press(VK_RIGHT);
  EXPECT_EQ(2, menu().world);
  EXPECT_EQ(menu().pageImages[PMenu::SLOT_SCORES + 2], menu().background->m_texture);
  EXPECT_EQ(1, menu().selection);
  game.Press(VK_UP);
  game.Press(VK_UP);
  EXPECT_EQ(0, menu().level);
  game.Press(VK_LEFT);
  game.Press(VK_DOWN);
  EXPECT_EQ(1, menu().world);
  EXPECT_EQ(0, menu().level);
  game.Press(VK_LEFT);
  game.Press(VK_LEFT);
  game.Press(VK_DOWN);
  game.Press(VK_DOWN);
  EXPECT_EQ(0, menu().world);
  EXPECT_EQ(2, menu().level);
  EXPECT_EQ("", Text(menu().rankTexts[1]));
  // Back on the online page and in again: the scores start at (0, 0).
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PMenu::PAGE_ONLINE, menu().page);
  game.Press(VK_RETURN);
  EXPECT_EQ(0, menu().world);
  EXPECT_EQ(0, menu().level);
  game.Press(VK_ESCAPE);
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);
}

TEST_F(MenuOnline, PlayersRankingPagesAndColumns) {
  ASSERT_NO_FATAL_FAILURE(Open(1));
  // ace: first in two levels and third in a third: 50 + 50 + 48 points.
  // 150 players in all.
  GoOnline("GVR2,1.02,ace,00,900," + Records("q", 0, 60, "00") + "ace,01,900," +
           Records("r", 0, 60, "01") + "x,02,800,y,02,850,ace,02,900," + Records("s", 0, 27, "02") +
           "hidden,11,100\n");
  game.Press(VK_DOWN);
  game.Press(VK_RETURN);
  ASSERT_EQ(PMenu::PAGE_PLAYERS, menu().page);
  EXPECT_EQ(menu().difficultyImages[1], menu().difficultySprite->m_texture);
  EXPECT_TRUE(menu().difficultySprite->IsVisible());
  EXPECT_EQ(150, menu().listCount);
  std::string places = Text(menu().listTexts[0]);
  EXPECT_EQ(Places(1, 25, "\n"), places);
  EXPECT_EQ("148\n50\n", Text(menu().listTexts[1]).substr(0, 7));
  EXPECT_EQ("ace\nx\n", Text(menu().listTexts[2]).substr(0, 6));
  EXPECT_EQ(Places(76, 100, "\n"), Text(menu().listTexts[9]));
  // The second page: 101-125 and 126-150; Down on the last page stays.
  game.Press(VK_DOWN);
  game.Press(VK_DOWN);
  EXPECT_EQ(1, menu().selection);
  EXPECT_EQ(Places(101, 125, "\n"), Text(menu().listTexts[0]));
  EXPECT_EQ(Places(126, 150, "\n"), Text(menu().listTexts[3]));
  EXPECT_EQ("", Text(menu().listTexts[6]));
  EXPECT_EQ("", Text(menu().listTexts[11]));
  // The last place holds the fewest points: 50 - 60 for the 61st of a list.
  std::string last = Text(menu().listTexts[4]);
  EXPECT_EQ("\n-10\n", last.substr(last.size() - 5));
  game.Press(VK_UP);
  EXPECT_EQ(0, menu().selection);
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PMenu::PAGE_ONLINE, menu().page);
}

// Large answers ranked on the players page exactly as the service's rules
// rank them, equal totals in their order: the flood of distinct players at
// the reply's bound (equal places over the cells) and crowds of players
// listed again and again (totals added up, names taken out and put back).
TEST_F(MenuOnline, PlayersRankingOfLargeAnswersIsTheReferenceRanking) {
  ASSERT_NO_FATAL_FAILURE(Open(1));
  const struct {
    const char* name;
    int seed, players;  // players 0: the flood
  } cases[] = {{"flood", 0, 0}, {"crowd of 2000", 3, 2000}, {"crowd of 150", 4, 150}};
  for (const auto& c : cases) {
    if (c.players == 0)
      server.Mode("flood");
    else
      server.Crowd(c.seed, c.players);
    game.Press(VK_DOWN);
    game.Press(VK_RETURN);
    ASSERT_EQ(PMenu::PAGE_ONLINE, menu().page) << c.name;
    game.Press(VK_DOWN);
    game.Press(VK_RETURN);
    ASSERT_EQ(PMenu::PAGE_PLAYERS, menu().page) << c.name;
    std::string expected = NumberedRanking(server.Ranking());
    std::string shown = ShownRanking();
    EXPECT_EQ("", FirstDifference(shown, expected)) << c.name;
    EXPECT_LT(c.players ? c.players / 2 : 50000, menu().listCount) << c.name;
    game.Press(VK_ESCAPE);
    game.Press(VK_ESCAPE);
    ASSERT_EQ(PMenu::PAGE_MAIN, menu().page) << c.name;
  }
}

TEST_F(MenuOnline, RanksInTheInformationPanel) {
  // The server's lists of difficulty 0: alice 50.00, then bob 61.00 in (0, 0).
  ASSERT_NO_FATAL_FAILURE(Open(0));
  const char* kBase = "ABU RAWASH\nAncient Egypt\nClassic Level\n";
  struct Case {
    const char* player;
    int difficulty;
    const char* rank;
    bool rival;
  } cases[] = {
      {"alice", 0, "#1 (0:50.00)", false},
      {"bob", 0, "#2 (1:01.00)\n#1 (0:50.00)", true},
      {"carol", 0, "Not Ranking", false},
      {"bob", 1, "N/A for this difficulty", false},
  };
  menu().GoToPage(PMenu::PAGE_MAP);
  for (const Case& c : cases) {
    app().playerName = c.player;
    menu().difficulty = c.difficulty;
    menu().SetMapCell(0, 0);
    menu().DrawLevelInfo();
    std::string labels = Text(menu().infoLabels), values = Text(menu().infoValues);
    EXPECT_EQ(c.rival ? "Rank\nRival Rank" : "Rank", labels.substr(labels.find("Rank")))
        << c.player;
    EXPECT_EQ(kBase, values.substr(0, strlen(kBase)));
    EXPECT_EQ(c.rank, values.substr(values.find("N/A\n") + 4)) << c.player;
  }
}

// The player's identity on the server is read for an online difficulty
// only: offline, with the same values stored, no name is shown and the user
// and code stay 0 and empty.
TEST_F(MenuOnline, TheIdentityIsReadOnlyForAnOnlineDifficulty) {
  struct Case {
    int difficulty;
    const char* name;
    int user;
    const char* code;
  } cases[] = {{-1, "", 0, ""}, {1, "bob", 7, "ABC123"}};
  for (const Case& c : cases) {
    GameWindow window;
    ASSERT_NO_FATAL_FAILURE(window.Open(c.difficulty, server.port));
    window.Menu().GoToPage(PMenu::PAGE_MAP);
    EXPECT_TRUE(window.Menu().playerLabel->IsActive());
    EXPECT_EQ(c.name, Text(window.Menu().playerLabel)) << c.difficulty;
    EXPECT_EQ(c.user, window.app.userId) << c.difficulty;
    EXPECT_TRUE(window.app.playerCode == c.code) << c.difficulty;
  }
}

TEST_F(MenuOnline, OnlineDifficultyChoosesPagesAndImages) {
  ASSERT_NO_FATAL_FAILURE(Open(2));
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_DIFFICULTY, menu().page);
  EXPECT_EQ(2, menu().selection);
  // A result that counts online shows its own loading image.
  for (int difficulty : {2, 1}) {
    menu().difficulty = difficulty;
    menu().SetMapCell(0, 0);
    menu().GoToPage(PMenu::PAGE_LOADING);
    int slot = difficulty == 2 ? PMenu::SLOT_LOADING_ONLINE : PMenu::SLOT_LOADING;
    EXPECT_EQ(menu().pageImages[slot], menu().background->m_texture) << difficulty;
    app().EnterMenu(PMenu::PAGE_MAIN, -1, -1);
  }
}

TEST_F(MenuOnline, RestoreRecordsTheServersGhost) {
  ASSERT_NO_FATAL_FAILURE(Open(0));
  app().difficultyUnlocked[0] = true;
  app().EnterMenu(PMenu::PAGE_MAP, 0, 0);
  // A failed download records nothing; a good one records the level.
  for (bool fails : {true, false}) {
    if (fails) server.Mode("badtag");
    game.Press(VK_RETURN);
    game.Press(VK_DOWN);
    game.Press(VK_DOWN);
    game.Press(VK_RETURN);
    ASSERT_EQ(PMenu::PAGE_CONFIRMATION, menu().page);
    game.Press(VK_UP);
    game.Press(VK_RETURN);
    EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
    EXPECT_EQ(fails ? 2 : 3, app().cellStates[0][0][0]);
    EXPECT_EQ(fails ? 0 : 7100, app().bestTimes[0][0][0]);
  }
  EXPECT_EQ(2, app().cellStates[0][1][0]);
  EXPECT_EQ(2, app().cellStates[0][0][1]);
  EXPECT_NE(INVALID_FILE_ATTRIBUTES,
            ::GetFileAttributesA(game.saves.File("ghost1000.sav").c_str()));
  // The map shows it at once.
  EXPECT_EQ(menu().cellImages[0][1], menu().cells[0][0]->m_texture);
  EXPECT_TRUE(menu().cells[1][0]->IsVisible());
}

}  // namespace
