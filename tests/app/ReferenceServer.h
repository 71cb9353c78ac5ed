// The reference server of the game's web service, started beside the test
// program (tests/app/with_server.sh): its port, its controls and its checks.
#pragma once

#include "core/Platform.h"
#include "core/SNetwork.h"
#include "core/SRegistry.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>

class ReferenceServer {
public:
  // The port from GAME_SERVER_PORT; 0 when the server is not running.
  ReferenceServer() {
    const char* text = getenv("GAME_SERVER_PORT");
    port = text ? atoi(text) : 0;
  }

  // The values the game reads its server and the player's online identity
  // from, under the registry key: this machine's server on the port, user
  // 7 named name with the code "ABC123".
  static void WriteIdentity(const char* key, int port, const char* name = "bob") {
    SRegistry registry;
    registry.SetString(HKEY_CURRENT_USER, key, "server", "127.0.0.1");
    registry.SetNumber(HKEY_CURRENT_USER, key, "serverPort", DWORD(port));
    registry.SetNumber(HKEY_CURRENT_USER, key, "userId", 7);
    registry.SetString(HKEY_CURRENT_USER, key, "userName", name);
    registry.SetString(HKEY_CURRENT_USER, key, "userCode", "ABC123");
  }

  // Bytes as hexadecimal digits: how texts travel to the server's controls.
  static std::string Hex(const std::string& bytes) {
    std::string out;
    char pair[3];
    for (unsigned char c : bytes) {
      snprintf(pair, sizeof(pair), "%02x", c);
      out += pair;
    }
    return out;
  }

  std::string Get(const char* path, const std::string& query) {
    SNetwork network;
    std::string url = "http://127.0.0.1:" + std::to_string(port) + path;
    return network.HttpGet(url.c_str(), query.c_str()).GetText();
  }
  // "OK", or the problems the server saw in the requests since the last
  // check.
  std::string Check() { return Get("/check", ""); }
  int Requests() { return atoi(Get("/count", "").c_str()); }
  // The next requests get the answer of that mode.
  void Mode(const char* mode, int times = 1) {
    Get("/control", std::string("mode=") + mode + "&times=" + std::to_string(times));
  }
  // The next requests get a good answer of their command with a few random
  // edits, from the server's generator seeded by seed.
  void Mutate(int seed, int times) {
    Get("/control", "seed=" + std::to_string(seed) + "&mode=mutate&times=" + std::to_string(times));
  }
  // The next request gets a hiscore answer of that many players listed
  // again and again over the cells, from the generator seeded by seed.
  void Crowd(int seed, int players) {
    Get("/control", "seed=" + std::to_string(seed) + "&players=" + std::to_string(players) +
                        "&mode=crowd");
  }
  // The players' ranking of the last all_hiscores answer by the service's
  // rules: one "points,name" line per place.
  std::string Ranking() { return Get("/ranking", ""); }
  // The next request gets exactly this text as its answer.
  void Answer(const std::string& text) { Get("/control", "answer=" + Hex(text)); }

  int port;
};
