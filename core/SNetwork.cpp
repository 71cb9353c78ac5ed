#include "core/Platform.h"
#include "core/SNetwork.h"
#include "core/SStringArray.h"

#include <wininet.h>

#include <string>

namespace {

const char kAgent[] = "Vandro";
const DWORD kGetFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                        INTERNET_FLAG_NEED_FILE;  // 0x84080210
static_assert(kGetFlags == 0x84080210, "GET flags");

const char kHeaderEnd[] = "\r\n\r\n";

}  // namespace

SNetwork::SNetwork() { m_disk.SetTrailingSeparator(true); }

SNetwork::~SNetwork() {}

SString SNetwork::HttpGet(const char* url, const char* query) {
  std::string request = url ? url : "";
  if (query && *query) {
    request += "?";
    request += query;
  }
  HINTERNET internet = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!internet) return SString("");
  HINTERNET handle = InternetOpenUrlA(internet, request.c_str(), nullptr, 0, kGetFlags, 0);
  if (!handle) {
    InternetCloseHandle(internet);
    return SString("");
  }
  std::string reply;
  char block[GET_BLOCK + 1];
  int failures = 0;
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(handle, block, GET_BLOCK, &read)) {
      if (++failures >= GET_FAILURES) break;
      continue;
    }
    if (read == 0) break;
    block[read] = 0;
    reply += block;  // as a C string: a NUL cuts the block short
  }
  InternetCloseHandle(handle);
  InternetCloseHandle(internet);
  if (failures >= GET_FAILURES) return SString("");
  return SString(reply.c_str());
}

SString SNetwork::HttpPost(const char* host, int port, const char* path, const char* body) {
  if (!host) host = "";
  if (!path) path = "";
  if (!body) body = "";
  SString address = GetHostAddress(host);
  if (address.GetLength() == 0) return SString("");
  unsigned long ip = inet_addr(address.GetText());
  if (ip == INADDR_NONE) return SString("");

  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return SString("");
  sockaddr_in target;
  memset(&target, 0, sizeof(target));
  target.sin_family = AF_INET;
  target.sin_addr.s_addr = ip;
  target.sin_port = htons(static_cast<u_short>(port));
  if (connect(s, reinterpret_cast<sockaddr*>(&target), sizeof(target)) != 0) {
    closesocket(s);
    return SString("");
  }

  size_t bodyLength = strlen(body);
  std::string request = "POST ";
  request += path;
  request += " HTTP/1.0\r\nHost: ";
  request += host;
  request += "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: ";
  request += std::to_string(bodyLength);
  request += "\r\n\r\n";
  request.append(body, bodyLength);
  request += "\r\n";
  send(s, request.data(), static_cast<int>(request.size()), 0);

  std::string reply;
  char block[POST_BLOCK + 1];
  for (;;) {
    int received = recv(s, block, POST_BLOCK, 0);
    if (received <= 0) break;
    block[received] = 0;
    reply += block;
  }
  closesocket(s);

  size_t end = reply.find(kHeaderEnd);
  if (end == std::string::npos) return SString("");
  return SString(reply.c_str() + end + strlen(kHeaderEnd));
}

bool SNetwork::ResolveHost(const char* host, SStringArray* out) {
  if (!host || !*host || !out) return false;
  addrinfo hints;
  memset(&hints, 0, sizeof(hints));
  hints.ai_family = AF_INET;
  addrinfo* list = nullptr;
  int result = getaddrinfo(host, "", &hints, &list);
  WSASetLastError(result);
  if (result != 0) return false;
  for (addrinfo* entry = list; entry; entry = entry->ai_next) {
    if (!entry->ai_addr) continue;
    const char* text = inet_ntoa(reinterpret_cast<sockaddr_in*>(entry->ai_addr)->sin_addr);
    out->Add(text ? text : "");
  }
  freeaddrinfo(list);
  return true;
}

SString SNetwork::GetHostAddress(const char* host) {
  SStringArray addresses;
  if (!ResolveHost(host, &addresses)) return SString("");
  return addresses.GetFirst();
}

bool SNetwork::OpenUrl(const char* url) { return m_disk.ShellOpen(url); }

void SNetwork::OpenMailTo(const char* address) {
  SString file = SString("mailto:") + (address ? address : "");
  ShellExecuteA(nullptr, "open", file.GetText(), "", nullptr, SW_SHOW);
}
