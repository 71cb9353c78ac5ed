// The players' ranking of the online pages against the working list it
// stands for, built entry by entry with the framework's own arrays: a name
// list and a points list kept largest first by SArray::InsertSorted. Seeded
// lists of many shapes: a player again and again, a few players in long
// lists, many players in few lists, the same players reversed (one long run
// of equal totals), equal places over many lists.
#include "core/Platform.h"

#include "app/menu/PPlayerRanking.h"
#include "core/SArray.h"
#include "core/SStringArray.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

class DescendingPoints : public SArray<int> {
public:
  DescendingPoints() { m_flags = 1; }
};

// "points name" lines of the working list of the lists.
std::string WorkingList(const std::vector<SStringArray*>& lists) {
  SStringArray names;
  DescendingPoints points;
  for (const SStringArray* list : lists)
    for (int i = 0; i < list->GetCount(); ++i) {
      const char* name = (*list)[i]->GetText();
      int total = PPlayerRanking::FIRST_PLACE_POINTS - i;
      int known = names.Find(name);
      if (known >= 0) {
        total += points[known];
        names.RemoveAndDelete(known);
        points.RemoveAt(known);
      }
      names.Add(name, points.InsertSorted(total));
    }
  std::string lines;
  for (int i = 0; i < names.GetCount(); ++i)
    lines += std::to_string(points[i]) + " " + names[i]->GetText() + "\n";
  return lines;
}

std::string Ranked(const std::vector<SStringArray*>& lists) {
  PPlayerRanking ranking;
  ranking.Rank(lists.data(), int(lists.size()));
  std::string lines;
  for (int i = 0; i < ranking.GetCount(); ++i)
    lines += std::to_string(ranking.GetPoints(i)) + " " + ranking.GetName(i) + "\n";
  return lines;
}

// The first line where the ranking leaves the working list, "" when none.
std::string FirstDifference(const std::string& ranked, const std::string& working) {
  size_t at = 0;
  while (at < ranked.size() && at < working.size()) {
    size_t end = working.find('\n', at);
    if (ranked.compare(at, end + 1 - at, working, at, end + 1 - at) != 0)
      return "ranked " + ranked.substr(at, ranked.find('\n', at) - at) + " where the list has " +
             working.substr(at, end - at);
    at = end + 1;
  }
  return ranked.size() == working.size() ? "" : "lengths differ";
}

TEST(PlayerRanking, IsTheWorkingListEntryByEntry) {
  const struct {
    const char* shape;
    int lists, entries, players;  // entries a list at most; names from players
    bool reversed;                // the second list the first one backwards
  } cases[] = {
      {"one player again and again", 3, 40, 1, false},
      {"a few players in long lists", 6, 400, 5, false},
      {"some players in many lists", 21, 120, 300, false},
      {"many players in few lists", 3, 2000, 4000, false},
      {"the same players reversed", 2, 1500, 1 << 30, true},
      {"equal places over many lists", 21, 200, 1 << 30, false},
  };
  for (const auto& c : cases) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      std::mt19937 random(seed);
      std::vector<SStringArray> owned(size_t(c.lists));
      int next = 0;
      for (SStringArray& list : owned) {
        int count = c.entries - int(random() % unsigned(c.entries / 4 + 1));
        for (int i = 0; i < count; ++i) {
          // A huge player count: every entry a player of its own.
          int player = c.players == 1 << 30 ? next++ : int(random() % unsigned(c.players));
          list.Add(("n" + std::to_string(player)).c_str());
        }
      }
      if (c.reversed) {
        owned[1].DeleteAndRemoveAll();
        for (int i = owned[0].GetCount() - 1; i >= 0; --i) owned[1].Add(owned[0][i]->GetText());
      }
      std::vector<SStringArray*> lists;
      for (SStringArray& list : owned) lists.push_back(&list);
      ASSERT_EQ("", FirstDifference(Ranked(lists), WorkingList(lists)))
          << c.shape << ", seed " << seed;
    }
  }
}

TEST(PlayerRanking, SkipsMissingListsAndReadsNamesByTheirBytes) {
  SStringArray first, second;
  for (const char* name : {"Bo", "bo", "", "bo"}) first.Add(name);
  for (const char* name : {"", "Bo"}) second.Add(name);
  const SStringArray* lists[] = {&first, nullptr, &second};
  PPlayerRanking ranking;
  ranking.Rank(lists, 3);
  // bo: 49 + 47; "": 48 + 50; Bo: 50 + 49.
  ASSERT_EQ(3, ranking.GetCount());
  const struct {
    const char* name;
    int points;
  } expected[] = {{"Bo", 99}, {"", 98}, {"bo", 96}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(expected[i].name, ranking.GetName(i)) << i;
    EXPECT_EQ(expected[i].points, ranking.GetPoints(i)) << i;
  }
  ranking.Rank(lists, 0);
  EXPECT_EQ(0, ranking.GetCount());
}

}  // namespace
