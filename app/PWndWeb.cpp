#include "core/Platform.h"
#include "app/PWnd.h"

#include "core/SStringParser.h"

#include <ctype.h>

namespace {

const char kTag[] = "GVR2";
const char kVersion[] = "1.02";
const int kMaxTime = 17900;
// The records of an answer are kept up to PWnd::MAX_ANSWER_SCORES, so that
// every rank of a list of that length is right.

int Clamp(int value, int low, int high) {
  return value < low ? low : (value > high ? high : value);
}

// The level value: world digit and level digit.
SString LevelText(int world, int level) {
  return SString::FromInt(world) + SString::FromInt(level);
}

// A GET query: the command, the user (when given), the difficulty and the
// level (when world is not negative), in this order.
SString Query(const char* cmd, const int* user, int difficulty, int world, int level) {
  SString query = SString("cmd=") + cmd;
  if (user) query += SString("&user=") + SString::FromInt(*user);
  query += SString("&difficulty=") + SString::FromInt(difficulty);
  if (world >= 0) query += SString("&level=") + LevelText(world, level);
  return query;
}

// Percent-encodes what a form value cannot carry as it is, so that the
// server reads the value back unchanged (letters and digits pass as they
// are).
SString FormValue(const SString& value) {
  static const char kHex[] = "0123456789ABCDEF";
  SString out;
  for (int i = 0; i < value.GetLength(); ++i) {
    unsigned char c = (unsigned char)value.GetAt(i);
    if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '@') {
      out += char(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// Steps 2 to 5 of reading a GET answer: last character off, tag, tokens,
// version. tokens is filled; false when the answer does not hold.
bool ReadAnswer(SString answer, SStringParser* tokens, int minTokens) {
  if (answer.GetLength() > 0) answer.TrimRight(1);
  if (answer.Left(4) != kTag) return false;
  int count = tokens->ParseText(answer, ",", 0, '"');
  return count >= minTokens && tokens->GetToken(1) == kVersion;
}

bool AppendScore(SStringArray& list, const SString& name, int time) {
  int index = list.Add(name.GetText());
  if (index < 0) return false;
  list[index]->SetUserValue1(uint32_t(Clamp(time, 0, kMaxTime)));
  return true;
}

}  // namespace

void PWnd::ReadOnlineIdentity(const char* key) {
  web.host = registry.GetString(HKEY_CURRENT_USER, key, "server");
  int port = int(registry.GetNumber(HKEY_CURRENT_USER, key, "serverPort"));
  web.port = port > 0 && port < 65536 ? port : PWebLink::DEFAULT_PORT;
  // Offline the player has no identity on the server.
  if (!IsOnline()) {
    userId = 0;
    playerName.Empty();
    playerCode.Empty();
    return;
  }
  userId = int(registry.GetNumber(HKEY_CURRENT_USER, key, "userId"));
  playerName = registry.GetString(HKEY_CURRENT_USER, key, "userName");
  playerCode = registry.GetString(HKEY_CURRENT_USER, key, "userCode");
}

bool PWnd::LoadAllHiscores() {
  if (!IsOnline()) return false;
  for (auto& row : hiscores)
    for (SStringArray& list : row) list.DeleteAndRemoveAll();
  SStringParser tokens;
  if (!ReadAnswer(web.Get(Query("all_hiscores", nullptr, onlineDifficulty, -1, -1).GetText()),
                  &tokens, 2))
    return false;
  for (int i = 2, taken = 0; i < tokens.GetCount() && taken < MAX_ANSWER_SCORES; i += 3, ++taken) {
    SString cell = tokens.GetToken(i + 1);
    int world = Clamp(cell.GetLength() > 0 ? cell.GetAt(0) - '0' : -1, 0, MAP_SIZE - 1);
    int level = Clamp(cell.GetLength() > 1 ? cell.GetAt(1) - '0' : -1, 0, MAP_SIZE - 1);
    AppendScore(hiscores[world][level], tokens.GetToken(i), tokens.GetInt(i + 2));
  }
  return true;
}

bool PWnd::LoadLevelHiscores(int world, int level) {
  if (!IsOnline()) return false;
  if (world < 0 || world >= MAP_SIZE || level < 0 || level >= MAP_SIZE) return false;
  SStringArray& list = hiscores[world][level];
  list.DeleteAndRemoveAll();
  SStringParser tokens;
  if (!ReadAnswer(
          web.Get(Query("level_hiscores", nullptr, onlineDifficulty, world, level).GetText()),
          &tokens, 2))
    return false;
  for (int i = 2; i < tokens.GetCount() && list.GetCount() < MAX_ANSWER_SCORES; i += 2)
    if (!AppendScore(list, tokens.GetToken(i), tokens.GetInt(i + 1))) break;
  return true;
}

bool PWnd::DownloadGhost(int world, int level, PGhost* ghost) {
  if (!IsOnline() || !ghost) return false;
  ghost->Clear();
  SStringParser tokens;
  if (!ReadAnswer(web.Get(Query("ghost", &userId, onlineDifficulty, world, level).GetText()),
                  &tokens, 4) ||
      tokens.GetCount() != 4)
    return false;
  if (!PWebText::DecodeGhost(tokens.GetToken(3).GetText(), ghost)) return false;
  ghost->name = playerName;
  ghost->time = Clamp(tokens.GetInt(2), 0, kMaxTime);
  return true;
}

bool PWnd::DownloadGhosts(int world, int level, PGhost* first, PGhost* second, PGhost* third) {
  if (!IsOnline() || !first || !second || !third) return false;
  first->Clear();
  second->Clear();
  third->Clear();
  SStringParser tokens;
  if (!ReadAnswer(web.Get(Query("ghosts", &userId, onlineDifficulty, world, level).GetText()),
                  &tokens, 2))
    return false;
  // Record k lands in third, second, first; a fourth and later record has
  // no place and is ignored.
  PGhost* targets[] = {third, second, first};
  for (int k = 0; k < 3 && 2 + 3 * k < tokens.GetCount(); ++k) {
    int i = 2 + 3 * k;
    PGhost* target = targets[k];
    if (!PWebText::DecodeGhost(tokens.GetToken(i + 2).GetText(), target)) return false;
    target->name = tokens.GetToken(i);
    target->time = Clamp(tokens.GetInt(i + 1), 0, kMaxTime);
  }
  if (second->GetCount() == 0) {
    *second = *third;
    third->Clear();
  }
  if (first->GetCount() == 0) {
    *first = *second;
    second->Clear();
  }
  return true;
}

bool PWnd::UploadGhost(int world, int level, int time, const PGhost* ghost, bool* reload) {
  if (!web.HasServer() || !ghost) return false;
  SString text = PWebText::EncodeGhost(*ghost);
  SString difficulty = SString::FromInt(onlineDifficulty);
  SString timeText = SString::FromInt(time);
  SString signature = PWebText::Sign((playerCode + difficulty + SString::FromInt(world) +
                                      SString::FromInt(level) + timeText + text)
                                         .GetText());
  SString body = SString("cmd=ghost&secure=") + signature + "&code=" + FormValue(playerCode) +
                 "&difficulty=" + difficulty + "&level=" + LevelText(world, level) +
                 "&time=" + timeText + "&ghost=" + text;
  SString answer = web.Post(body.GetText());
  if (answer.Left(4) != kTag) return false;
  if (reload) *reload = answer.Mid(4, 2) == "YA";
  return true;
}

int PWnd::GetPlayerRank(int world, int level) {
  if (!IsOnline() || world < 0 || world >= MAP_SIZE || level < 0 || level >= MAP_SIZE) return 0;
  return hiscores[world][level].Find(playerName.GetText()) + 1;
}
