// The web service client against the reference server (tests/app/
// game_server.py, started beside this program; its port comes as
// GAME_SERVER_PORT and is written into the registry under a test key). The
// server checks every request it gets; each test ends by asking it whether
// it saw a problem.
#include "core/Platform.h"

#include "app/PWeb.h"
#include "app/ReferenceServer.h"
#include "app/PWnd.h"
#include "core/SNetwork.h"

#include <gtest/gtest.h>

#include <random>
#include <stdio.h>
#include <stdlib.h>
#include <string>

namespace {

const char kTestKey[] = "Software\\Ardel Vandro\\Gravrun\\WebTest";
const char kVectorGhost[] = "AQAAABIAAAAYAAAAeJwzNDDQMdUxMgBSxjoGOrqGBgAf6ANW@";

class Web : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(0, server.port) << "the reference server is not running";
    ReferenceServer::WriteIdentity(kTestKey, server.port);
    app.onlineDifficulty = 0;
    app.ReadOnlineIdentity(kTestKey);
    app.web.timeoutMs = 1000;
    Check();
  }
  void TearDown() override {
    EXPECT_EQ("OK", Check()) << "problems the server saw";
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
  }
  std::string Server(const char* path, const std::string& query) { return server.Get(path, query); }
  std::string Check() { return server.Check(); }
  int Requests() { return server.Requests(); }
  void Mode(const char* mode, int times = 1) { server.Mode(mode, times); }
  void Answer(const std::string& text) { server.Answer(text); }
  std::string Name(int world, int level, int i) { return app.hiscores[world][level][i]->GetText(); }
  int Time(int world, int level, int i) {
    return int(app.hiscores[world][level][i]->GetUserValue1());
  }
  // "WL COUNT LAST" for each cell, world by world, as the server's /lists.
  std::string HeldLists() {
    std::string text;
    for (int w = 0; w < 5; ++w)
      for (int l = 0; l < 5; ++l) {
        int count = app.hiscores[w][l].GetCount();
        text += std::to_string(w) + std::to_string(l) + " " + std::to_string(count) + " " +
                (count ? Name(w, l, count - 1) : std::string()) + "\n";
      }
    return text;
  }

  ReferenceServer server;
  PWnd app;
};

TEST(PWebText, TestVectors) {
  PGhost ghost;
  ghost.AddPoint(D3DXVECTOR3(100, 5, 2000));
  ghost.AddPoint(D3DXVECTOR3(103, 5, 1990));
  EXPECT_STREQ(kVectorGhost, PWebText::EncodeGhost(ghost).GetText());
  EXPECT_STREQ("fa69c65400864fe160f16efe14692600", PWebText::Sign((std::string("ABC123"
                                                                               "1"
                                                                               "2"
                                                                               "3"
                                                                               "7100") +
                                                                   kVectorGhost)
                                                                      .c_str())
                                                       .GetText());
  PGhost empty;
  EXPECT_EQ(0, PWebText::EncodeGhost(empty).GetLength());

  PGhost decoded;
  ASSERT_TRUE(PWebText::DecodeGhost(kVectorGhost, &decoded));
  ASSERT_EQ(2, decoded.GetCount());
  EXPECT_EQ(103.0f, decoded.GetPoint(1).x);
  EXPECT_EQ(1990.0f, decoded.GetPoint(1).z);

  // Signing replaces the characters at 0, 8 and 16 by A, B and C.
  EXPECT_STREQ(PWebText::Sign("ABCDEFGHBJKLMNOPCRST").GetText(),
               PWebText::Sign("xBCDEFGHxJKLMNOPxRST").GetText());
  EXPECT_STRNE(PWebText::Sign("ABCDEFGHBJKLMNOPCRST").GetText(),
               PWebText::Sign("ABCDEFGHBJKLMNOPCRSx").GetText());
}

TEST(PWebText, MutatedGhostTextsAreBounded) {
  std::mt19937 random(7);
  std::string good = kVectorGhost;
  const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_@=";
  for (int round = 0; round < 4000; ++round) {
    std::string text = good;
    for (int e = 0; e < 1 + int(random() % 3); ++e) {
      size_t at = random() % text.size();
      if (random() % 3 == 0)
        text.insert(at, 1, alphabet[random() % (sizeof(alphabet) - 1)]);
      else
        text[at] = alphabet[random() % (sizeof(alphabet) - 1)];
    }
    PGhost ghost;
    bool decoded = PWebText::DecodeGhost(text.c_str(), &ghost);
    ASSERT_LE(ghost.GetCount(), PGhost::CAPACITY);
    if (!decoded) {
      ASSERT_EQ(0, ghost.GetCount());
    }
  }
}

TEST_F(Web, OfflineSendsNothing) {
  PGhost a, b, c;
  a.AddPoint(D3DXVECTOR3(1, 1, 1));
  app.hiscores[0][0].Add("bob");  // the player, listed
  int before = Requests();
  for (int offline = 0; offline < 2; ++offline) {
    if (offline == 0)
      app.onlineDifficulty = -1;
    else {
      app.onlineDifficulty = 0;
      app.web.host = "";  // no server set
    }
    EXPECT_FALSE(app.LoadAllHiscores());
    EXPECT_FALSE(app.LoadLevelHiscores(0, 0));
    EXPECT_FALSE(app.DownloadGhost(0, 0, &a));
    EXPECT_FALSE(app.DownloadGhosts(0, 0, &a, &b, &c));
    EXPECT_EQ(1, a.GetCount());
    EXPECT_EQ(1, app.hiscores[0][0].GetCount());
  }
  EXPECT_FALSE(app.IsOnline());
  EXPECT_EQ(0, app.GetPlayerRank(0, 0));
  bool reload = false;
  EXPECT_FALSE(app.UploadGhost(0, 0, 100, &a, &reload));
  EXPECT_EQ(before, Requests());
}

TEST_F(Web, HiscoreAnswers) {
  ASSERT_TRUE(app.LoadAllHiscores());
  ASSERT_EQ(2, app.hiscores[0][0].GetCount());
  EXPECT_EQ("alice", Name(0, 0, 0));
  EXPECT_EQ(6100, Time(0, 0, 1));
  EXPECT_EQ(2, app.GetPlayerRank(0, 0));
  EXPECT_EQ(0, app.GetPlayerRank(0, 1));

  Answer("GVR2,1.02,x\n");
  EXPECT_TRUE(app.LoadAllHiscores());
  EXPECT_EQ(1, app.hiscores[0][0].GetCount()) << "a record of one token is still a name";

  Answer("GVR2,1.02\n");
  EXPECT_TRUE(app.LoadAllHiscores());
  EXPECT_EQ(0, app.hiscores[0][0].GetCount());

  Answer("GVR2,1.02,far,9,99999,low,,-5,short,13\n");
  ASSERT_TRUE(app.LoadAllHiscores());
  ASSERT_EQ(1, app.hiscores[4][0].GetCount());
  EXPECT_EQ(17900, Time(4, 0, 0));
  ASSERT_EQ(1, app.hiscores[0][0].GetCount());
  EXPECT_EQ(0, Time(0, 0, 0));
  ASSERT_EQ(1, app.hiscores[1][3].GetCount());
  EXPECT_EQ("short", Name(1, 3, 0));
  EXPECT_EQ(0, Time(1, 3, 0));

  Answer("GVR2,1.02,carl,4200,dora,-1\n");
  ASSERT_TRUE(app.LoadLevelHiscores(2, 3));
  ASSERT_EQ(2, app.hiscores[2][3].GetCount());
  EXPECT_EQ(0, Time(2, 3, 1));

  // Thousands of records: every one is kept (the answer's size bounds them).
  Mode("many", 2);
  EXPECT_TRUE(app.LoadAllHiscores());
  EXPECT_EQ(5000, app.hiscores[0][0].GetCount());
  EXPECT_EQ("p4999", Name(0, 0, 4999));
  EXPECT_TRUE(app.LoadLevelHiscores(2, 3));
  EXPECT_EQ(5000, app.hiscores[2][3].GetCount());

  // A reply of tens of thousands of players near the reply's bound: every
  // record is kept, in order, so a cell late in the answer keeps all its
  // entries and a player far down its list has the rank of their place.
  Mode("flood");
  EXPECT_TRUE(app.LoadAllHiscores());
  EXPECT_EQ(Server("/lists", "cmd=all_hiscores"), HeldLists());
  EXPECT_EQ("f0", Name(0, 0, 0));
  int last = app.hiscores[4][4].GetCount();
  ASSERT_GT(last, 2000);
  app.playerName = Name(4, 4, last - 1).c_str();
  EXPECT_EQ(last, app.GetPlayerRank(4, 4));
  app.playerName = "bob";
  Mode("flood");
  EXPECT_TRUE(app.LoadLevelHiscores(2, 3));
  ASSERT_GT(app.hiscores[2][3].GetCount(), 50000);
  EXPECT_EQ(Server("/lists", "cmd=level_hiscores"),
            std::to_string(app.hiscores[2][3].GetCount()) + " " +
                Name(2, 3, app.hiscores[2][3].GetCount() - 1) + "\n");

  // Failures leave the lists empty.
  for (const char* mode : {"empty", "badtag", "badversion", "close", "silent"}) {
    app.hiscores[1][0].Add("old");
    Mode(mode);
    EXPECT_FALSE(app.LoadAllHiscores()) << mode;
    EXPECT_EQ(0, app.hiscores[1][0].GetCount()) << mode;
  }
}

TEST_F(Web, APlayerFarDownAListHasTheRankOfTheirPlace) {
  std::string all = "GVR2,1.02", level = "GVR2,1.02";
  for (int i = 1; i < 150; ++i) {
    all += ",p" + std::to_string(i) + ",23," + std::to_string(1000 + i);
    level += ",p" + std::to_string(i) + "," + std::to_string(1000 + i);
  }
  Answer(all + ",bob,23,9000\n");
  ASSERT_TRUE(app.LoadAllHiscores());
  EXPECT_EQ(150, app.hiscores[2][3].GetCount());
  EXPECT_EQ(150, app.GetPlayerRank(2, 3));
  Answer(level + ",bob,9000\n");
  ASSERT_TRUE(app.LoadLevelHiscores(2, 3));
  EXPECT_EQ(150, app.GetPlayerRank(2, 3));
  EXPECT_EQ(9000, Time(2, 3, 149));
}

TEST_F(Web, OwnGhost) {
  PGhost ghost;
  ASSERT_TRUE(app.DownloadGhost(2, 3, &ghost));
  EXPECT_EQ(2, ghost.GetCount());
  EXPECT_EQ(7100, ghost.time);
  EXPECT_STREQ("bob", ghost.name.GetText());

  for (const char* mode : {"forged", "padded", "oversized", "empty", "badversion", "silent"}) {
    ghost.AddPoint(D3DXVECTOR3(1, 1, 1));
    Mode(mode);
    EXPECT_FALSE(app.DownloadGhost(2, 3, &ghost)) << mode;
    EXPECT_EQ(0, ghost.GetCount()) << mode;
  }
  Answer("GVR2,1.02,x\n");
  EXPECT_FALSE(app.DownloadGhost(2, 3, &ghost)) << "three tokens";
  Answer(std::string("GVR2,1.02,99999,") + kVectorGhost + ",extra\n");
  EXPECT_FALSE(app.DownloadGhost(2, 3, &ghost)) << "five tokens";
  Answer(std::string("GVR2,1.02,99999,") + kVectorGhost + "\n");
  ASSERT_TRUE(app.DownloadGhost(2, 3, &ghost));
  EXPECT_EQ(17900, ghost.time);
}

TEST_F(Web, RivalGhostsArePlacedAndBounded) {
  PGhost first, second, third;
  const struct {
    const char* mode;
    bool result;
    const char* names[3];  // first, second, third ("" empty)
  } cases[] = {
      {"rivals1", true, {"rival0", "", ""}},
      {"rivals2", true, {"rival1", "", "rival0"}},
      {"normal", true, {"rival2", "rival1", "rival0"}},
      {"rivals4", true, {"rival2", "rival1", "rival0"}},
      {"ghostbad", false, {"", "", "rival0"}},
      {"empty", false, {"", "", ""}},
  };
  for (const auto& c : cases) {
    Mode(c.mode);
    EXPECT_EQ(c.result, app.DownloadGhosts(1, 2, &first, &second, &third)) << c.mode;
    PGhost* slots[] = {&first, &second, &third};
    for (int i = 0; i < 3; ++i) {
      EXPECT_STREQ(c.names[i], slots[i]->name.GetText()) << c.mode << " slot " << i;
      EXPECT_EQ(*c.names[i] == 0, slots[i]->GetCount() == 0) << c.mode << " slot " << i;
    }
  }
  Answer("GVR2,1.02\n");
  EXPECT_TRUE(app.DownloadGhosts(1, 2, &first, &second, &third));
  EXPECT_EQ(0, first.GetCount());
}

TEST_F(Web, UploadIsSignedAndAnswered) {
  PGhost ghost;
  ghost.AddPoint(D3DXVECTOR3(100, 5, 2000));
  ghost.AddPoint(D3DXVECTOR3(103, 5, 1990));
  app.onlineDifficulty = 1;
  bool reload = false;
  ASSERT_TRUE(app.UploadGhost(2, 3, 7100, &ghost, &reload));
  EXPECT_TRUE(reload);
  std::string last = Server("/last", "");
  EXPECT_NE(std::string::npos, last.find("secure=fa69c65400864fe160f16efe14692600\n")) << last;

  // What was uploaded comes back unchanged.
  PGhost back;
  ASSERT_TRUE(app.DownloadGhost(2, 3, &back));
  ASSERT_EQ(2, back.GetCount());
  EXPECT_EQ(7100, back.time);
  EXPECT_EQ(1990.0f, back.GetPoint(1).z);

  Mode("noreload");
  EXPECT_TRUE(app.UploadGhost(2, 3, 7100, &ghost, &reload));
  EXPECT_FALSE(reload);
  for (const char* mode : {"empty", "close", "silent"}) {
    reload = true;
    Mode(mode);
    EXPECT_FALSE(app.UploadGhost(2, 3, 7100, &ghost, &reload)) << mode;
    EXPECT_TRUE(reload) << mode << ": the flag is left alone";
  }

  // A code with characters that mean something in a form reaches the
  // server unchanged and signs the upload.
  const std::string code = "a&b=c+d%e f";
  app.playerCode = code.c_str();
  Server("/control", "code=" + ReferenceServer::Hex(code));
  EXPECT_TRUE(app.UploadGhost(2, 3, 7000, &ghost, &reload));
  Server("/control", "code=" + ReferenceServer::Hex("ABC123"));
}

TEST_F(Web, MutatedAnswersNeverCrash) {
  std::mt19937 random(99);
  const std::string answers[] = {
      std::string("GVR2,1.02,ann,5000,") + kVectorGhost + ",ben,5100," + kVectorGhost + "\n",
      std::string("GVR2,1.02,7100,") + kVectorGhost + "\n",
      "GVR2,1.02,ann,00,5000,ben,34,6100\n",
  };
  PGhost first, second, third;
  for (int round = 0; round < 300; ++round) {
    std::string text = answers[round % 3];
    for (int e = 0; e < 1 + int(random() % 3); ++e) text[random() % text.size()] = char(random());
    Answer(text);
    switch (round % 3) {
      case 0:
        app.DownloadGhosts(0, 1, &first, &second, &third);
        break;
      case 1:
        app.DownloadGhost(0, 1, &first);
        break;
      default:
        app.LoadAllHiscores();
        break;
    }
    ASSERT_LE(first.GetCount(), PGhost::CAPACITY);
    ASSERT_LE(app.hiscores[0][0].GetCount(), 100);
  }
}

TEST_F(Web, ThousandsOfMutatedAnswersStayInBounds) {
  const int kRounds = 2000;
  int before = Requests();
  server.Mutate(20261207, kRounds);
  PGhost own, first, second, third;
  for (int round = 0; round < kRounds; ++round) {
    switch (round % 4) {
      case 0:
        app.LoadAllHiscores();
        break;
      case 1:
        app.LoadLevelHiscores(round % 5, round / 5 % 5);
        break;
      case 2:
        app.DownloadGhost(1, 2, &own);
        break;
      default:
        app.DownloadGhosts(1, 2, &first, &second, &third);
        break;
    }
    int held = 0;
    for (auto& row : app.hiscores)
      for (SStringArray& list : row) {
        held += list.GetCount();
        for (int i = 0; i < list.GetCount(); ++i) ASSERT_LE(list[i]->GetUserValue1(), 17900u);
      }
    ASSERT_LE(held, int(PWebLink::MAX_REPLY)) << "round " << round;
    for (const PGhost* ghost : {&own, &first, &second, &third}) {
      ASSERT_LE(ghost->GetCount(), PGhost::CAPACITY) << "round " << round;
      ASSERT_GE(ghost->time, 0);
      ASSERT_LE(ghost->time, 17900);
    }
  }
  EXPECT_EQ(before + kRounds, Requests());
}

}  // namespace
