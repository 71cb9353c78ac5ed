#include "core/Platform.h"
#include "app/PWnd.h"

#include "core/SStringParser.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

const char kTag[] = "GVR2";
const char kVersion[] = "1.02";
const int kMaxTime = 17900;

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

// The tokens of a hiscore answer, read one after the other: the answer
// without its last character, split at every ',' (as the parser splits it
// with that one separator and no quoting), each token a number or a name.
// A hiscore answer is large (a reply may hold a megabyte of records), so
// the tokens are cut in one copy of the text instead of one string each.
class HiscoreTokens {
public:
  // Steps 2 to 5 of reading a GET answer with at least two tokens; false
  // when the answer does not hold.
  bool Read(const SString& answer) {
    int length = answer.GetLength();
    if (length > 0) --length;
    if (length < 4 || memcmp(answer.GetText(), kTag, 4) != 0) return false;
    m_text.assign(answer.GetText(), size_t(length));
    m_next = &m_text[0];
    m_end = m_next + length;
    Next();
    return HasMore() && strcmp(Next(), kVersion) == 0;
  }
  bool HasMore() const { return m_next <= m_end; }
  // The next token; the empty text past the last one.
  const char* Next() {
    if (!HasMore()) return "";
    char* token = m_next;
    char* comma = static_cast<char*>(memchr(token, ',', size_t(m_end - token)));
    if (comma) {
      *comma = 0;
      m_next = comma + 1;
    } else {
      m_next = m_end + 1;
    }
    return token;
  }
  // The next token read as a decimal integer (0 without digits).
  int NextInt() { return atoi(Next()); }

private:
  std::string m_text;
  char* m_next = nullptr;
  char* m_end = nullptr;
};

// Appends the name to the list with its time clamped into the entry's first
// user word; false when the list cannot grow.
bool AppendScore(SStringArray& list, const char* name, int time) {
  int index = list.GetCount();
  list.SetSize(index + 1, true);
  if (list.GetCount() != index + 1) return false;
  SString* entry = new SString(name);
  entry->SetUserValue1(uint32_t(Clamp(time, 0, kMaxTime)));
  list[index] = entry;
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
  return ReadAllHiscores(
      web.Get(Query("all_hiscores", nullptr, onlineDifficulty, -1, -1).GetText()));
}

bool PWnd::ReadAllHiscores(const SString& answer) {
  for (auto& row : hiscores)
    for (SStringArray& list : row) list.DeleteAndRemoveAll();
  HiscoreTokens tokens;
  if (!tokens.Read(answer)) return false;
  SStringPool::Scope scope(&hiscoreStrings);
  while (tokens.HasMore()) {
    const char* name = tokens.Next();
    const char* cell = tokens.Next();
    int time = tokens.NextInt();
    int world = Clamp(cell[0] ? cell[0] - '0' : -1, 0, MAP_SIZE - 1);
    int level = Clamp(cell[0] && cell[1] ? cell[1] - '0' : -1, 0, MAP_SIZE - 1);
    if (!AppendScore(hiscores[world][level], name, time)) break;
  }
  return true;
}

bool PWnd::LoadLevelHiscores(int world, int level) {
  if (!IsOnline()) return false;
  if (world < 0 || world >= MAP_SIZE || level < 0 || level >= MAP_SIZE) return false;
  SStringArray& list = hiscores[world][level];
  list.DeleteAndRemoveAll();
  HiscoreTokens tokens;
  if (!tokens.Read(
          web.Get(Query("level_hiscores", nullptr, onlineDifficulty, world, level).GetText())))
    return false;
  SStringPool::Scope scope(&hiscoreStrings);
  while (tokens.HasMore()) {
    const char* name = tokens.Next();
    if (!AppendScore(list, name, tokens.NextInt())) break;
  }
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
