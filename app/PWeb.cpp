#include "core/Platform.h"
#include "app/PWeb.h"

#include "core/SFileMem.h"
#include "core/SStringParser.h"
#include "game/PGhost.h"

#include <stdint.h>
#include <string>

namespace {

const char kPath[] = "/app.php";
const char kHeaderEnd[] = "\r\n\r\n";

// Waits until the socket can be read (or written); false on time-out.
bool WaitFor(SOCKET s, bool write, int timeoutMs) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  int ready =
      write ? select(0, nullptr, &set, nullptr, &wait) : select(0, &set, nullptr, nullptr, &wait);
  return ready > 0;
}

// Connects without blocking longer than the time-out.
SOCKET Connect(const char* host, int port, int timeoutMs) {
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &list) != 0 || !list) return INVALID_SOCKET;
  sockaddr_in target = *reinterpret_cast<sockaddr_in*>(list->ai_addr);
  freeaddrinfo(list);
  target.sin_port = htons(u_short(port));

  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  int result = connect(s, reinterpret_cast<sockaddr*>(&target), sizeof(target));
  if (result != 0 && WSAGetLastError() == WSAEWOULDBLOCK && WaitFor(s, true, timeoutMs)) {
    int error = 0;
    int size = sizeof(error);
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    if (error == 0) result = 0;
  }
  if (result != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

}  // namespace

SString PWebLink::Exchange(const SString& request) {
  if (!HasServer()) return SString("");
  SOCKET s = Connect(host.GetText(), port, timeoutMs);
  if (s == INVALID_SOCKET) return SString("");
  const char* data = request.GetText();
  int left = request.GetLength();
  while (left > 0) {
    if (!WaitFor(s, true, timeoutMs)) break;
    int sent = send(s, data, left, 0);
    if (sent <= 0) break;
    data += sent;
    left -= sent;
  }
  std::string reply;
  bool complete = left == 0;
  char block[4096];
  while (complete) {
    if (!WaitFor(s, false, timeoutMs)) {
      complete = false;
      break;
    }
    int received = recv(s, block, sizeof(block), 0);
    if (received == 0) break;
    if (received < 0 || reply.size() + received > MAX_REPLY) {
      complete = false;
      break;
    }
    reply.append(block, received);
  }
  closesocket(s);
  if (!complete) return SString("");
  return SString(reply.c_str());  // a NUL in the reply ends the text
}

SString PWebLink::Get(const char* query) {
  SString request = SString("GET ") + kPath + "?" + (query ? query : "") +
                    " HTTP/1.0\r\nHost: " + host +
                    "\r\nUser-Agent: Vandro\r\nCache-Control: no-cache\r\n\r\n";
  SString reply = Exchange(request);
  int end = reply.Find(kHeaderEnd);
  if (end < 0) return SString("");
  return reply.Mid(end + 4);
}

SString PWebLink::Post(const char* body) {
  if (!body) body = "";
  SString request = SString("POST ") + kPath + " HTTP/1.0\r\nHost: " + host +
                    "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                    SString::FromInt(int(strlen(body))) + "\r\n\r\n" + body + "\r\n";
  SString reply = Exchange(request);
  int end = reply.Find(kHeaderEnd);
  if (end < 0) return SString("");
  return reply.Mid(end + 4);
}

namespace PWebText {

SString EncodeGhost(const PGhost& ghost) {
  if (ghost.GetCount() == 0) return SString("");
  SString text;
  int previous[3] = {0, 0, 0};
  for (int i = 0; i < ghost.GetCount(); ++i) {
    const D3DXVECTOR3& p = ghost.GetPoint(i);
    const int now[3] = {TruncateCoordinate(p.x), TruncateCoordinate(p.y), TruncateCoordinate(p.z)};
    for (int c = 0; c < 3; ++c) {
      text += SString::FromInt(int(int64_t(now[c]) - previous[c]));
      text += ",";
      previous[c] = now[c];
    }
  }
  text.TrimRight(1);
  SFileMem plain(text.GetText());
  SFileMem packed;
  packed.Allocate(0);
  if (SFile::Compress(&plain, &packed) <= 0) return SString("");
  packed.Rewind();
  return SFile::ToBase64(&packed, 0, true);
}

bool DecodeGhost(const char* text, PGhost* ghost) {
  ghost->Clear();
  if (!text || !*text) return false;
  SFileMem base64(text);
  SFileMem packed;
  packed.Allocate(0);
  if (!SFile::Base64Decode(&base64, &packed)) return false;
  // The announced sizes are summed before anything is inflated: a forged
  // block count or size is refused, whatever zlib would make of it.
  packed.Rewind();
  if (packed.GetRemaining() < 4) return false;
  uint32_t blocks = packed.ReadInt32();
  int64_t total = 0;
  for (uint32_t b = 0; b < blocks; ++b) {
    if (packed.GetRemaining() < 8) return false;
    uint32_t u = packed.ReadInt32();
    uint32_t c = packed.ReadInt32();
    total += u;
    if (total > MAX_GHOST_TEXT || c > uint32_t(packed.GetRemaining())) return false;
    packed.Seek(packed.Tell() + int(c));
  }
  if (!packed.IsEOF()) return false;
  packed.Rewind();
  SFileMem plain;
  plain.Allocate(0);
  if (SFile::Inflate(&packed, &plain) != total || total == 0) return false;
  plain.Rewind();
  SStringParser numbers(plain.ReadString(-1).GetText());
  int count = numbers.Parse(",", 0, '"');
  if (count <= 0 || count % 3 != 0 || count / 3 > PGhost::CAPACITY) return false;
  for (int i = 0; i < count; i += 3) {
    D3DXVECTOR3 delta(float(numbers.GetInt(i)), float(numbers.GetInt(i + 1)),
                      float(numbers.GetInt(i + 2)));
    if (!ghost->AddDelta(delta)) {
      ghost->Clear();
      return false;
    }
  }
  return true;
}

SString Sign(const char* signedText) {
  SString text(signedText ? signedText : "");
  for (int i = 0; i < text.GetLength(); i += 8) text.SetAt(i, char('A' + (i / 8) % 25));
  return text.GetMd5().MakeLower();
}

}  // namespace PWebText
